// The samples and the geometry of the status window's graphs: a scrolling
// line graph that takes one value per sample (percent, 0 to 100 on the
// scale) and shows the latest `zoom` of them across its width, the newest
// at the right edge. The zoom is the number of lines across the graph, 30
// to 100, 30 at start. The window class that paints it (into a back
// buffer, so that a repaint never flickers) only asks these functions
// where to draw.
#pragma once

#include <cstddef>
#include <deque>
#include <span>
#include <vector>

namespace corvane::memory {

inline constexpr int kMinZoom = 30;
inline constexpr int kMaxZoom = 100;
inline constexpr int kStartZoom = 30;

class HistogramSamples {
 public:
  // The value property: takes a new sample, rounded to a whole number (half
  // away from zero). A value that is no number counts as 0; values beyond a
  // million either way are held at a million, so that no sample overflows.
  // Values outside 0..100 are kept as given (a sampler that cannot measure
  // reports -1, and the caption shows it); the line stops at the edges.
  void Add(double value);
  // The latest sample as given; 0 before the first.
  int latest() const { return samples_.empty() ? 0 : samples_.back(); }
  // Samples taken since the graph was made, so that the grid scrolls with
  // the line.
  std::size_t total() const { return total_; }

  // Held within kMinZoom..kMaxZoom.
  void SetZoom(int zoom);
  int zoom() const { return zoom_; }

  // The samples the graph shows, oldest first: the last `zoom` (fewer at
  // first).
  std::vector<int> Visible() const;

 private:
  std::deque<int> samples_;  // the last kMaxZoom
  std::size_t total_ = 0;
  int zoom_ = kStartZoom;
};

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

}  // namespace corvane::memory
