// The form's timers for native model tests: what runs with which interval,
// and ticks raised by the test.
#pragma once

#include <functional>
#include <map>

#include "platform/ui/View.h"

namespace corvane::testing {

class FakeTimers final : public ui::ITimers {
 public:
  void SetTimer(int id, int intervalMs) override {
    int interval = ui::TimerInterval(intervalMs);
    if (interval == 0) {
      running_.erase(id);
    } else {
      running_[id] = interval;
    }
  }
  // The interval a timer runs with; 0 when stopped.
  int Interval(int id) const {
    auto found = running_.find(id);
    return found == running_.end() ? 0 : found->second;
  }
  // Raises one tick of a running timer through onEvent; false when stopped.
  bool Tick(int id) {
    if (Interval(id) == 0) return false;
    if (onEvent) onEvent(ui::Event{id, ui::Event::Tick, 0});
    return true;
  }
  std::function<void(const ui::Event&)> onEvent;

 private:
  std::map<int, int> running_;
};

}  // namespace corvane::testing
