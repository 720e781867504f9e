// The samples of the status window's graphs: a scrolling line graph that
// takes one value per sample (percent, 0 to 100 on the scale) and shows the
// latest `zoom` of them across its width, the newest at the right edge. The
// zoom is the number of lines across the graph, 30 to 100, 30 at start.
#pragma once

#include <cstddef>
#include <deque>
#include <span>
#include <vector>

#include "platform/ui/Graph.h"

namespace corvane::memory {

inline constexpr int kMinZoom = ui::kGraphMinZoom;
inline constexpr int kMaxZoom = ui::kGraphMaxZoom;
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

// The graph's geometry lives with the window kit.
using ui::GraphLine;
using ui::GraphPoint;
using ui::GraphRow;
using ui::GridColumns;
using ui::GridRows;

}  // namespace corvane::memory
