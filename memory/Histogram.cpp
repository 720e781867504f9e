#include "memory/Histogram.h"

#include <algorithm>
#include <cmath>

namespace corvane::memory {

namespace {

constexpr double kLargestSample = 1'000'000.0;

}  // namespace

void HistogramSamples::Add(double value) {
  if (!std::isfinite(value)) value = 0.0;
  value = std::clamp(value, -kLargestSample, kLargestSample);
  samples_.push_back(static_cast<int>(std::lround(value)));
  if (samples_.size() > static_cast<std::size_t>(kMaxZoom)) samples_.pop_front();
  ++total_;
}

void HistogramSamples::SetZoom(int zoom) { zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom); }

std::vector<int> HistogramSamples::Visible() const {
  std::size_t shown = std::min(samples_.size(), static_cast<std::size_t>(zoom_));
  return std::vector<int>(samples_.end() - static_cast<std::ptrdiff_t>(shown), samples_.end());
}

}  // namespace corvane::memory
