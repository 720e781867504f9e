#include "platform/ui/YieldPump.h"

#include <algorithm>

namespace corvane::ui {

void YieldPump::DoEvents() {
  ++yieldDepth_;
  try {
    if (dispatchWaiting_) dispatchWaiting_();
  } catch (...) {
    --yieldDepth_;
    throw;
  }
  --yieldDepth_;
}

bool YieldPump::Run(const void* owner, int id, const std::function<void()>& handler) {
  bool yieldingHandler = std::any_of(running_.begin(), running_.end(), [&](const Running& r) {
    return r.owner == owner && r.id == id && yieldDepth_ > r.yieldDepthAtStart;
  });
  if (yieldingHandler) return false;
  running_.push_back({owner, id, yieldDepth_});
  try {
    handler();
  } catch (...) {
    running_.pop_back();
    throw;
  }
  running_.pop_back();
  return true;
}

}  // namespace corvane::ui
