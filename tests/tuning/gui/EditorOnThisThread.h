// The advanced editor driven on the test's own thread, where its window
// lives: its messages run only while the test pumps them, so every wait
// here pumps, and a click pumps between the button going down and up.
#pragma once

#include <windows.h>

#include <chrono>

#include "platform/OsVersion.h"
#include "platform/win32/MessagePump.h"
#include "platform/win32/Win32OsVersion.h"
#include "tests/gui/GuiHarness.h"
#include "tuning/win32/frmNormalMode.h"

namespace corvane::testing {

// Pumps for up to `limitMs` until `done`; false when the time ran out.
template <typename Done>
bool PumpUntil(Done done, int limitMs) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    win32::DispatchWaitingMessages();
    ::Sleep(10);
  }
  return true;
}

inline void Pump(int milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

// A real left click in the middle of a window.
inline void ClickPumping(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  gui::MoveMouse((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  gui::SendMouse(MOUSEEVENTF_LEFTDOWN);
  Pump(60);
  gui::SendMouse(MOUSEEVENTF_LEFTUP);
  Pump(150);
}

// The editor loaded for this machine's Windows family and shown at 40,40,
// placed after `zOrder` (HWND_TOP, HWND_TOPMOST), with the focus; false
// when it would not load.
inline bool ShowEditor(win32::frmNormalMode& window, win32::IShellServices& services, HWND zOrder) {
  DetectOsFamily(win32::Win32OsVersion());
  window.BeforeShow();
  if (!window.Load(services, nullptr)) return false;
  ::SetWindowPos(window.hwnd(), zOrder, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  ::SetForegroundWindow(window.hwnd());
  Pump(300);
  return true;
}

}  // namespace corvane::testing
