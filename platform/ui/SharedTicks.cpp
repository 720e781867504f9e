#include "platform/ui/SharedTicks.h"

#include <algorithm>

namespace corvane::ui {

std::vector<SharedTicks::Change> SharedTicks::Set(Key key, int interval) {
  if (interval <= 0) {
    timers_.erase(key);
  } else {
    // Started or restarted: its place is chosen anew below.
    timers_[key] = Timer{interval, 0, 0};
  }
  return Replan();
}

std::vector<SharedTicks::Change> SharedTicks::Forget(const void* owner) {
  std::erase_if(timers_, [owner](const auto& entry) { return entry.first.first == owner; });
  return Replan();
}

std::vector<SharedTicks::Key> SharedTicks::Tick(int interval) {
  std::vector<Key> due;
  for (auto& [key, timer] : timers_) {
    if (timer.base != interval || --timer.countdown > 0) continue;
    timer.countdown = timer.interval / timer.base;
    due.push_back(key);
  }
  return due;
}

std::vector<SharedTicks::Change> SharedTicks::Replan() {
  std::vector<int> intervals;
  for (const auto& [key, timer] : timers_) intervals.push_back(timer.interval);
  std::sort(intervals.begin(), intervals.end());
  intervals.erase(std::unique(intervals.begin(), intervals.end()), intervals.end());
  // The bases: the intervals no smaller one divides (ascending).
  std::vector<int> bases;
  for (int interval : intervals) {
    if (std::none_of(bases.begin(), bases.end(), [interval](int b) { return interval % b == 0; })) {
      bases.push_back(interval);
    }
  }
  std::vector<Change> changes;
  for (int running : bases_) {
    if (!std::binary_search(bases.begin(), bases.end(), running)) changes.push_back({running, false});
  }
  std::vector<int> started;
  for (int base : bases) {
    if (!std::binary_search(bases_.begin(), bases_.end(), base)) {
      changes.push_back({base, true});
      started.push_back(base);
    }
  }
  bases_ = std::move(bases);
  for (auto& [key, timer] : timers_) {
    const int base = *std::find_if(bases_.begin(), bases_.end(), [&](int b) { return timer.interval % b == 0; });
    if (timer.base == base) continue;  // keeps its place and its count
    timer.base = base;
    // A system timer started now ticks first a whole period from now; one
    // that already runs may tick at once, so its first tick is not counted.
    const bool fresh = std::find(started.begin(), started.end(), base) != started.end();
    timer.countdown = timer.interval / base + (fresh ? 0 : 1);
  }
  return changes;
}

}  // namespace corvane::ui
