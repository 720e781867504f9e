// The Windows Sockets messages as the user sees them: a blocking message box
// titled with the program's title, the text whole, an OK button, and the
// warning icon only where the text calls for it. A watcher thread reads the
// box and presses OK, as the user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "pinger/mdlPing.h"
#include "pinger/win32/Win32PingServices.h"
#include "platform/AppInfo.h"
#include "tests/pinger/FakePingServices.h"

namespace corvane::testing {
namespace {

struct SeenBox {
  bool found = false;
  std::string text;
  bool hasOk = false;
  bool hasIcon = false;
};

DWORD WINAPI CloseBox(LPVOID parameter) {
  auto* seen = static_cast<SeenBox*>(parameter);
  for (int i = 0; i < 200 && !seen->found; ++i) {
    HWND box = ::FindWindowA("#32770", kAppTitle);
    if (box == nullptr) {
      ::Sleep(25);
      continue;
    }
    seen->found = true;
    char text[512] = {};
    ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message box's text control
    seen->text = text;
    seen->hasOk = ::GetDlgItem(box, IDOK) != nullptr;
    HWND icon = ::GetDlgItem(box, 0x0440);  // the icon control
    seen->hasIcon = icon != nullptr && ::IsWindowVisible(icon) &&
                    ::SendMessageA(icon, STM_GETICON, 0, 0) != 0;
    // (Wine tries the message beep first, without a sound device that takes
    // about two seconds before the box answers.)
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
  return 0;
}

SeenBox ShowAndRead(const std::string& text, MessageIcon icon) {
  SeenBox seen;
  HANDLE watcher = ::CreateThread(nullptr, 0, CloseBox, &seen, 0, nullptr);
  if (watcher == nullptr) return seen;
  win32::Win32MessageSink sink;
  sink.Show(text, icon);
  ::WaitForSingleObject(watcher, 10000);
  ::CloseHandle(watcher);
  return seen;
}

TEST(WinsockMessageBox, ShowsTheWholeTextUnderTheProgramsTitle) {
  SeenBox seen = ShowAndRead("This application requires a minimum of 1 supported sockets.",
                             MessageIcon::Warning);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.text, "This application requires a minimum of 1 supported sockets.");
  EXPECT_TRUE(seen.hasOk);
  EXPECT_TRUE(seen.hasIcon);
}

TEST(WinsockMessageBox, PlainMessageHasNoIcon) {
  SeenBox seen = ShowAndRead(
      "Windows Sockets for 32 bit Windows environments is not successfully responding.",
      MessageIcon::None);
  ASSERT_TRUE(seen.found);
  EXPECT_FALSE(seen.hasIcon);
}

// The real sink behind the echo client: a failed clean-up is reported once,
// and the ping's answer stands.
TEST(WinsockMessageBox, FailedCleanupReachesTheUser) {
  FakeSockets sockets;
  sockets.cleanupFailure = 10093;
  FakeIcmp icmp;
  win32::Win32MessageSink sink;
  mdlPing ping(sockets, icmp, sink);
  SeenBox seen;
  HANDLE watcher = ::CreateThread(nullptr, 0, CloseBox, &seen, 0, nullptr);
  ASSERT_NE(watcher, nullptr);
  EXPECT_TRUE(ping.PingHost("127.0.0.1", 100));
  ::WaitForSingleObject(watcher, 10000);
  ::CloseHandle(watcher);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.text, "Windows Sockets error 10093 occurred in Cleanup.");
}

}  // namespace
}  // namespace corvane::testing
