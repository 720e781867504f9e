// Where a scrolling graph's line and grid fall: a graph shows the latest
// `zoom` samples (percent, 0 to 100 on the scale) across its width, the
// newest at the right edge. The zoom is the number of lines across the
// graph, 30 to 100. The window class that paints it only asks these
// functions where to draw.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace corvane::ui {

inline constexpr int kGraphMinZoom = 30;
inline constexpr int kGraphMaxZoom = 100;

struct GraphPoint {
  int x, y;
  friend bool operator==(const GraphPoint&, const GraphPoint&) = default;
};

// The row of a value in a graph `height` pixels high: 100 at the top row,
// 0 at the bottom row, values beyond held at the edges.
int GraphRow(int value, int height);

// The line through the visible samples (oldest first) in a graph of width
// x height pixels: the newest at the right edge, zoom - 1 equal steps
// between the left and right edges, so that a lower zoom spreads fewer
// samples over the same width. Empty for an empty graph.
std::vector<GraphPoint> GraphLine(std::span<const int> visible, int zoom, int width, int height);

// The grid: rows at every 20 percent between the edges, and a column every
// 10 samples that moves left with the samples as they come in.
std::vector<int> GridRows(int height);
std::vector<int> GridColumns(int width, int zoom, std::size_t total);

}  // namespace corvane::ui
