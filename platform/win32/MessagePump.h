// Runs the messages waiting for this thread and returns: the window
// system's half of the yield pump (platform/ui/YieldPump.h). A quit message
// met on the way is posted again for the message loop to see.
#pragma once

#include <windows.h>

namespace corvane::win32 {

inline void DispatchWaitingMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

}  // namespace corvane::win32
