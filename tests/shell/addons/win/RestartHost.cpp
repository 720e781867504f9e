// A program that asks Windows to restart, as "IDC_FS_restart" does, and logs
// what the session tells its window to the file named by CORVANE_RESTART_LOG.
// Run only in a throwaway prefix: the restart ends every program there.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "shell/addons/win32/Win32Addons.h"

namespace {

std::string logPath;

void Log(const char* line) {
  if (FILE* out = std::fopen(logPath.c_str(), "a")) {
    std::fprintf(out, "%s\n", line);
    std::fclose(out);
  }
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER: {
      ::KillTimer(hwnd, wParam);
      if (wParam == 2) {
        Log("still running");
        ::PostQuitMessage(3);
        return 0;
      }
      bool asked = corvane::shell::SystemAddons().RestartWindows();
      Log(asked ? "restart asked" : "restart refused");
      // Nothing ends the program by itself: a restart that does not come
      // leaves it running until the watchdog below.
      ::SetTimer(hwnd, 2, 30000, nullptr);
      return 0;
    }
    case WM_QUERYENDSESSION:
      Log("queryendsession");
      return TRUE;
    case WM_ENDSESSION:
      Log(wParam ? "endsession" : "endsession cancelled");
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const char* log = std::getenv("CORVANE_RESTART_LOG");
  logPath = log != nullptr ? log : "";
  Log("started");
  WNDCLASSA wc{};
  wc.lpfnWndProc = &HostProc;
  wc.hInstance = instance;
  wc.lpszClassName = "CorvaneRestartHost";
  ::RegisterClassA(&wc);
  HWND window = ::CreateWindowA("CorvaneRestartHost", "Restart host", WS_OVERLAPPEDWINDOW, 0, 0,
                                200, 100, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 2;
  ::ShowWindow(window, SW_SHOW);
  ::SetTimer(window, 1, 500, nullptr);
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
  Log("message loop ended");
  return static_cast<int>(message.wParam);
}
