#include "platform/win32/Win32Clock.h"

#include <windows.h>

namespace corvane::win32 {

LocalDateTime Win32Clock::Now() const {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return LocalDateTime{{now.wYear, now.wMonth, now.wDay}, {now.wHour, now.wMinute, now.wSecond}};
}

}  // namespace corvane::win32
