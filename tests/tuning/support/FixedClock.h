// A clock that always shows the same local date and time.
#pragma once

#include "platform/Clock.h"

namespace corvane::testing {

class FixedClock final : public IClock {
 public:
  explicit FixedClock(LocalDateTime now) : now_(now) {}
  LocalDateTime Now() const override { return now_; }
  void Set(LocalDateTime now) { now_ = now; }

 private:
  LocalDateTime now_;
};

}  // namespace corvane::testing
