#include "platform/ui/TimerGroups.h"

namespace corvane::ui {

std::map<int, int> TimerGroups::Leaders() const {
  std::map<int, int> leaders;
  for (const auto& [id, interval] : intervals_) leaders.try_emplace(interval, id);
  return leaders;
}

std::vector<TimerGroups::Change> TimerGroups::Set(int id, int interval) {
  if (interval > 0) {
    intervals_[id] = interval;
  } else {
    intervals_.erase(id);
  }
  std::map<int, int> wanted;  // system timer id -> interval
  for (const auto& [each, leader] : Leaders()) wanted[leader] = each;
  std::vector<Change> changes;
  for (auto it = running_.begin(); it != running_.end();) {
    auto w = wanted.find(it->first);
    if (w == wanted.end() || w->second != it->second) {
      if (w == wanted.end()) changes.push_back({it->first, 0});
      it = running_.erase(it);
    } else {
      ++it;
    }
  }
  for (const auto& [systemId, each] : wanted) {
    bool alone = systemId == id && Members(systemId).size() <= 1;
    if (!running_.contains(systemId) || alone) {
      changes.push_back({systemId, each});
      running_[systemId] = each;
    }
  }
  return changes;
}

std::vector<int> TimerGroups::Members(int systemId) const {
  std::vector<int> members;
  auto running = running_.find(systemId);
  if (running == running_.end()) return members;
  for (const auto& [id, interval] : intervals_) {
    if (interval == running->second) members.push_back(id);
  }
  return members;
}

}  // namespace corvane::ui
