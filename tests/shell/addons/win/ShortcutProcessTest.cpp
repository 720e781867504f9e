// A shortcut really starts its applet as a process of its own, with a
// window; the test ends that process (it started it) by its identifier.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "shell/addons/win32/Win32Addons.h"

namespace corvane::shell {
namespace {

struct FindContext {
  DWORD pid;
  bool visibleWindow = false;
  std::string caption;
};

BOOL CALLBACK FindVisibleWindow(HWND hwnd, LPARAM param) {
  auto* ctx = reinterpret_cast<FindContext*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid == ctx->pid && ::IsWindowVisible(hwnd)) {
    char text[256] = {};
    ::GetWindowTextA(hwnd, text, sizeof text);
    ctx->visibleWindow = true;
    ctx->caption = text;
    return FALSE;
  }
  return TRUE;
}

TEST(SystemShortcuts, InternetPropertiesStartsItsAppletProcess) {
  Win32ProcessStarter starter;
  Win32ShutdownApi shutdown;
  mdlAddons addons(starter, shutdown);
  DWORD pid = addons.OpenInternetProperties();
  ASSERT_NE(pid, 0u) << "rundll32.exe did not start";
  win32::UniqueHandleNull process(
      ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid));
  ASSERT_TRUE(process);

  FindContext ctx{pid, false, {}};
  for (int i = 0; i < 200 && !ctx.visibleWindow; ++i) {
    ::Sleep(100);
    if (::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0) break;
    ::EnumWindows(&FindVisibleWindow, reinterpret_cast<LPARAM>(&ctx));
  }
  EXPECT_TRUE(ctx.visibleWindow) << "the applet process showed no window";
  EXPECT_NE(ctx.caption.find("Internet"), std::string::npos) << ctx.caption;

  EXPECT_TRUE(::TerminateProcess(process.get(), 0));
  EXPECT_EQ(::WaitForSingleObject(process.get(), 10000), WAIT_OBJECT_0);
}

TEST(SystemShortcuts, AMissingProgramStartsNothing) {
  Win32ProcessStarter starter;
  EXPECT_EQ(starter.StartProcess("corvane-no-such-program.exe", 5), 0u);
}

}  // namespace
}  // namespace corvane::shell
