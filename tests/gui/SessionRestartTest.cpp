// "IDC_FS_restart" for real: the movie's restart button asks Windows to
// restart, which ends every program of the session — this test program
// too. It runs only in a prefix of its own (tools/suites.d/wine-gui-restart.sh
// sets CORVANE_RESTART_LOG), and writes what it sees to that log, because
// the session's end leaves it no chance to report otherwise. When the
// session tells it the end is coming, corvane.exe must still be running with
// its feature windows and its icon: it asks for the restart first and
// unloads only when the session really ends (WM_ENDSESSION), so that a
// restart that is refused or cancelled leaves it whole.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/gui/CorvaneApp.h"
#include "tests/gui/GuiHarness.h"

namespace corvane::gui {
namespace {

constexpr char kLogVariable[] = "CORVANE_RESTART_LOG";

std::string logPath;
CorvaneApp* watched = nullptr;
HWND watchedTray = nullptr;
HWND watchedSettings = nullptr;

void Log(const std::string& line) {
  if (FILE* out = std::fopen(logPath.c_str(), "a")) {
    std::fprintf(out, "%s\n", line.c_str());
    std::fclose(out);
  }
}

// Whether the notification area still holds corvane.exe's icon: modifying
// an icon that is not there fails.
bool IconShown() {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = watchedTray;
  data.uID = 1;
  data.uFlags = 0;
  return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

LRESULT CALLBACK WatcherProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_QUERYENDSESSION:
      Log("queryendsession");
      Log(watched->program().IsRunning() && ::IsWindow(watched->main()) ? "corvane running" : "corvane ended");
      Log(::IsWindow(watchedSettings) ? "settings loaded" : "settings unloaded");
      Log(IconShown() ? "icon shown" : "icon removed");
      return TRUE;
    case WM_ENDSESSION:
      Log(wParam != FALSE ? "endsession" : "endsession cancelled");
      return 0;
    default:
      return ::DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

HWND FindOf(DWORD pid, const char* className) {
  for (const auto& w : TopLevelWindows(pid)) {
    if (w.className == className) return w.hwnd;
  }
  return nullptr;
}

TEST(SessionRestart, RestartButtonAsksFirstAndLetsTheSessionEndTheProgram) {
  const char* log = std::getenv(kLogVariable);
  if (log == nullptr || *log == '\0') GTEST_SKIP() << "runs only in its own prefix: the restart ends the session";
  logPath = log;

  // A window of this program, so that the session's end tells it too.
  WNDCLASSA wc{};
  wc.lpfnWndProc = &WatcherProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = "CorvaneRestartWatcher";
  ::RegisterClassA(&wc);
  HWND watcher = ::CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "Restart watcher", WS_POPUP, 1010, 0, 4, 4,
                                   nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(watcher, nullptr);
  ::ShowWindow(watcher, SW_SHOWNOACTIVATE);

  std::string why;
  auto app = CorvaneApp::Start(CorvaneApp::Options{}, &why);
  ASSERT_TRUE(app) << why;
  watched = app.get();
  watchedTray = FindOf(app->program().pid(), "CorvaneTrayControl");
  watchedSettings = FindOf(app->program().pid(), "CorvaneMainSettings");
  ASSERT_NE(watchedTray, nullptr);
  ASSERT_NE(watchedSettings, nullptr) << "frmMainSettings is loaded at start";
  ASSERT_TRUE(WaitUntil([] { return IconShown(); }, std::chrono::seconds(10))) << "no icon before the restart";
  Log("icon shown before");

  ASSERT_TRUE(app->ClickButton("IDC_FS_sysSettingClicked"));
  Settle(std::chrono::milliseconds(500));
  ASSERT_TRUE(app->ClickButton("IDC_FS_restart", "system"));
  Log("restart pressed");

  // The session ends this program while it waits here.
  DWORD end = ::GetTickCount() + 30000;
  MSG msg;
  while (::GetTickCount() < end) {
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    ::Sleep(20);
  }
  Log("not ended");
  ADD_FAILURE() << "the session did not end within 30 s";
}

}  // namespace
}  // namespace corvane::gui
