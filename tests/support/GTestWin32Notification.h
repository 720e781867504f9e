// GoogleTest's Notification is built on std::mutex, which mingw's win32
// thread model lacks. This one, on a Win32 event, takes its place; it is
// force-included into GoogleTest and the Windows test programs only.
#pragma once

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  Notification() : event_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  ~Notification() { ::CloseHandle(event_); }
  void Notify() { ::SetEvent(event_); }
  void WaitForNotification() { ::WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace testing::internal
