// The timers of one window, as the system runs them: timers that run at
// the same interval share one system timer, so that the window wakes once a
// period rather than once for each (the status window's two graphs tick
// together). The shared timer carries the smallest id among them, and its
// tick is the tick of every timer in the group, in id order.
#pragma once

#include <map>
#include <vector>

namespace corvane::ui {

class TimerGroups {
 public:
  // A system timer to (re)start with an interval, or to stop (interval 0).
  struct Change {
    int systemId;
    int interval;
    friend bool operator==(const Change&, const Change&) = default;
  };

  // Starts, restarts (interval > 0) or stops (0) timer `id`; the system
  // timers to change for it. A timer alone at its interval restarts as a
  // system timer does; one that joins or leaves a group leaves the group's
  // running timer alone where its id still leads the group.
  std::vector<Change> Set(int id, int interval);
  // The timers that tick when system timer `systemId` fires, in id order;
  // none when no such system timer runs.
  std::vector<int> Members(int systemId) const;
  bool Running(int id) const { return intervals_.contains(id); }
  // Every timer forgotten (their window has gone, and its timers with it).
  void Clear() {
    intervals_.clear();
    running_.clear();
  }

 private:
  std::map<int, int> Leaders() const;  // interval -> smallest id

  std::map<int, int> intervals_;  // timer id -> interval
  std::map<int, int> running_;    // system timer id -> interval
};

}  // namespace corvane::ui
