// The timers of all the forms of the user-interface thread, as the system
// runs them: a timer whose interval a faster one divides rides that one's
// system timer and ticks on every n-th of its ticks, so that the thread
// wakes once for both (the alarm check every 100 ms and the status graphs
// every 300 ms). Each timer keeps its own interval: its ticks come that far
// apart, and the first never comes sooner than the interval after it
// started. A system timer runs for each interval that no other running
// interval divides; its id is its interval.
#pragma once

#include <map>
#include <utility>
#include <vector>

namespace corvane::ui {

class SharedTicks {
 public:
  // A timer: its owner (a form) and the owner's own number for it.
  using Key = std::pair<const void*, int>;
  // A system timer to start with an interval (its id), or to stop (0).
  struct Change {
    int interval;
    bool start;
    friend bool operator==(const Change&, const Change&) = default;
  };

  // Starts, restarts (interval > 0) or stops (0) a timer; the system
  // timers to start or stop for it.
  std::vector<Change> Set(Key key, int interval);
  // Every timer of an owner stopped (the form has gone).
  std::vector<Change> Forget(const void* owner);
  // The timers that tick on this tick of system timer `interval`, in key
  // order.
  std::vector<Key> Tick(int interval);
  bool Running(const Key& key) const { return timers_.contains(key); }
  // The intervals of the system timers that run.
  std::vector<int> SystemTimers() const { return {bases_.begin(), bases_.end()}; }

 private:
  struct Timer {
    int interval = 0;
    int base = 0;       // the system timer it rides
    int countdown = 0;  // that timer's ticks until its own
  };
  std::vector<Change> Replan();

  std::map<Key, Timer> timers_;
  std::vector<int> bases_;  // ascending
};

}  // namespace corvane::ui
