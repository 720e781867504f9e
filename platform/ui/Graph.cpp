#include "platform/ui/Graph.h"

#include <algorithm>

namespace corvane::ui {

namespace {

constexpr int kGridStepSamples = 10;

// The x of the sample `fromNewest` places left of the newest one.
int ColumnOf(int fromNewest, int zoom, int width) {
  const int right = width - 1;
  if (zoom <= 1) return right;
  return right - static_cast<int>((static_cast<long long>(fromNewest) * right + (zoom - 1) / 2) / (zoom - 1));
}

}  // namespace

int GraphRow(int value, int height) {
  if (height <= 1) return 0;
  const int bottom = height - 1;
  const int v = std::clamp(value, 0, 100);
  return bottom - (v * bottom + 50) / 100;
}

std::vector<GraphPoint> GraphLine(std::span<const int> visible, int zoom, int width, int height) {
  std::vector<GraphPoint> line;
  if (width <= 0 || height <= 0 || visible.empty()) return line;
  zoom = std::clamp(zoom, kGraphMinZoom, kGraphMaxZoom);
  // Only the newest `zoom` samples fit.
  std::size_t shown = std::min(visible.size(), static_cast<std::size_t>(zoom));
  std::span<const int> drawn = visible.subspan(visible.size() - shown);
  line.reserve(shown);
  for (std::size_t i = 0; i < shown; ++i) {
    int fromNewest = static_cast<int>(shown - 1 - i);
    line.push_back({ColumnOf(fromNewest, zoom, width), GraphRow(drawn[i], height)});
  }
  return line;
}

std::vector<int> GridRows(int height) {
  std::vector<int> rows;
  if (height <= 2) return rows;
  for (int percent = 20; percent < 100; percent += 20) rows.push_back(GraphRow(percent, height));
  return rows;
}

std::vector<int> GridColumns(int width, int zoom, std::size_t total) {
  std::vector<int> columns;
  if (width <= 2) return columns;
  zoom = std::clamp(zoom, kGraphMinZoom, kGraphMaxZoom);
  // The newest sample is number total - 1; columns stand at the samples
  // whose number is a multiple of the step, so they travel with the line.
  int offset = total == 0 ? 0 : static_cast<int>((total - 1) % kGridStepSamples);
  for (int fromNewest = offset; fromNewest < zoom; fromNewest += kGridStepSamples) {
    int x = ColumnOf(fromNewest, zoom, width);
    if (x > 0 && x < width - 1) columns.push_back(x);
  }
  return columns;
}

}  // namespace corvane::ui
