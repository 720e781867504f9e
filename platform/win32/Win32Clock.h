// The local date and time from GetLocalTime.
#pragma once

#include "platform/Clock.h"

namespace corvane::win32 {

class Win32Clock final : public IClock {
 public:
  LocalDateTime Now() const override;
};

}  // namespace corvane::win32
