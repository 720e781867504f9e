// frmNormalMode's real window under Wine, driven by real mouse clicks and key
// presses: the pages, typing into the number boxes, and Finish writing the
// registry and a new snapshot. Screenshots of every page for review
// ("editor-step1" ... "editor-step8").
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

#include "platform/OsVersion.h"
#include "platform/win32/Win32OsVersion.h"
#include "tests/gui/GuiHarness.h"
#include "tests/support/FakeShellServices.h"
#include "tests/support/ProcessWindows.h"
#include "tests/tuning/gui/EditorOnThisThread.h"
#include "tuning/win32/frmNormalMode.h"

namespace corvane::testing {
namespace {

using gui::CountSnapshotFiles;
using gui::KeyEvent;
using gui::SelectLineByKeyboard;
using gui::MoveMouse;
using gui::ProgramFolder;
using gui::ReadRegistryNumber;
using gui::SaveScreenshot;

// Answers the message box that the window's own thread is about to show
// (the apply's note), from a second thread, and keeps its text.
struct MessageBoxAnswer {
  std::string text;
  HANDLE thread = nullptr;

  static DWORD WINAPI Watch(LPVOID data) {
    auto* self = static_cast<MessageBoxAnswer*>(data);
    for (int i = 0; i < 80; ++i) {
      if (HWND box = VisibleWindowOf(::GetCurrentProcessId(), "#32770")) {
        char shown[2048] = {};
        ::GetDlgItemTextA(box, 0xFFFF, shown, sizeof shown);
        self->text = shown;
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return 0;
      }
      ::Sleep(50);
    }
    return 0;
  }
  void Start() { thread = ::CreateThread(nullptr, 0, &Watch, this, 0, nullptr); }
  void Wait() {
    if (thread == nullptr) return;
    while (::MsgWaitForMultipleObjects(1, &thread, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
      win32::DispatchWaitingMessages();
    }
    ::CloseHandle(thread);
    thread = nullptr;
  }
};

class NormalModeWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ShowEditor(window, services, HWND_TOPMOST)); }
  void TearDown() override { window.Unload(); }

  HWND Control(int id) { return window.Control(id); }
  std::string Text(int id) { return window.Text(id); }

  void Click(int id) { ClickPumping(Control(id)); }
  // Clicks into the box and selects its text with the keyboard (End, then
  // Shift+Home), as a user does before typing over it.
  void SelectBox(int id) {
    Click(id);
    SelectLineByKeyboard();
    Pump(100);
  }
  void TypeChar(char c) {
    SHORT scan = ::VkKeyScanA(c);
    KeyEvent(static_cast<WORD>(scan & 0xFF), false);
    KeyEvent(static_cast<WORD>(scan & 0xFF), true);
    Pump(120);
  }
  void Shot(int step) { SaveScreenshot("editor-step" + std::to_string(step)); }
  bool PageShown(int page) { return ::IsWindowVisible(Control(kIdPage0 + page)) != FALSE; }

  FakeShellServices services;
  win32::frmNormalMode window;
};

TEST_F(NormalModeWindowTest, DslThroughEveryPageWithRealInputThenFinish) {
  EXPECT_TRUE(PageShown(0));
  EXPECT_EQ(::SendMessageA(Control(kIdOptConnType0), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(::IsWindowEnabled(Control(kIdCmdPrevPage)));
  Shot(1);

  Click(kIdOptConnType0 + 2);
  EXPECT_EQ(window.connectionType(), 2);
  Click(kIdCmdNextPage);
  ASSERT_TRUE(PageShown(1));
  EXPECT_FALSE(PageShown(0));
  EXPECT_EQ(Text(kIdTxtMtuValue), "1492");
  EXPECT_EQ(Text(kIdTxtMssValue), "1452");
  EXPECT_EQ(Text(kIdLblMssRecValue), "1452Byte");
  Shot(2);

  Click(kIdCmdNextPage);
  ASSERT_TRUE(PageShown(2));
  Shot(3);
  Click(kIdCmdNextPage);
  ASSERT_TRUE(PageShown(3));
  EXPECT_EQ(Text(kIdTxtMultiplier), "44");
  EXPECT_EQ(Text(kIdTxtRwin), "255552");
  EXPECT_EQ(Text(kIdLblRwinRecValue), "255552Bytes");
  Shot(4);

  Click(kIdCmdNextPage);
  ASSERT_TRUE(PageShown(4));
  // "1" lies below the minimum 4, but the entry is not complete yet.
  SelectBox(kIdTxtHttp10Value);
  TypeChar('1');
  EXPECT_EQ(Text(kIdTxtHttp10Value), "1");
  TypeChar('0');
  EXPECT_EQ(Text(kIdTxtHttp10Value), "10");
  // Above the maximum 256: back to 64 at the third key.
  SelectBox(kIdTxtTtlValue);
  TypeChar('2');
  TypeChar('5');
  EXPECT_EQ(Text(kIdTxtTtlValue), "25");
  TypeChar('7');
  EXPECT_EQ(Text(kIdTxtTtlValue), "64");
  // A complete entry below the minimum snaps back when the box is left.
  SelectBox(kIdTxtHttp11Value);
  TypeChar('1');
  EXPECT_EQ(Text(kIdTxtHttp11Value), "1");
  SelectBox(kIdTxtTtlValue);
  EXPECT_EQ(Text(kIdTxtHttp11Value), "20");
  EXPECT_EQ(Text(kIdTxtHttp10Value), "10");
  Shot(5);

  for (int page = 5; page <= 7; ++page) {
    Click(kIdCmdNextPage);
    ASSERT_TRUE(PageShown(page));
    Shot(page + 1);
  }
  EXPECT_EQ(Text(kIdCmdNextPage), "Finish");

  const int before = CountSnapshotFiles();
  // A complete apply may bring a note (values this Windows ignores), never
  // a failure.
  MessageBoxAnswer answer;
  answer.Start();
  Click(kIdCmdNextPage);
  answer.Wait();
  EXPECT_EQ(answer.text.find("could not"), std::string::npos) << answer.text;
  EXPECT_EQ(window.currWizardPage(), kFinishedPage);
  EXPECT_FALSE(::IsWindowEnabled(Control(kIdCmdNextPage)));
  EXPECT_TRUE(PageShown(7));
  EXPECT_EQ(services.calls.back(), "ReturnHome");
  EXPECT_EQ(CountSnapshotFiles(), before + 1) << "a new snapshot before the writes";

  const bool nt = currentOsFamily >= 5;
  const char* tcp = nt ? "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters"
                       : "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
  const char* internet = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  EXPECT_EQ(ReadRegistryNumber(HKEY_LOCAL_MACHINE, tcp, "DefaultTTL"), 64u);
  EXPECT_EQ(ReadRegistryNumber(HKEY_LOCAL_MACHINE, tcp, "GlobalMaxTcpWindowSize"), 255552u);
  EXPECT_EQ(ReadRegistryNumber(HKEY_LOCAL_MACHINE, tcp, "KeepAliveTime"), 7200000u);
  EXPECT_EQ(ReadRegistryNumber(HKEY_CURRENT_USER, internet, "MaxConnectionsPer1_0Server"), 10u);
  EXPECT_EQ(ReadRegistryNumber(HKEY_CURRENT_USER, internet, "MaxConnectionsPerServer"), 20u);
  EXPECT_EQ(ReadRegistryNumber(HKEY_LOCAL_MACHINE, tcp, nt ? "EnablePMTUDiscovery" : "PMTUDiscovery"), 1u);
  EXPECT_EQ(workingProfile.mtu, 1492);
  EXPECT_EQ(workingProfile.mss, 1452);

  // Back shows step 8 again with "Next>>" enabled; pressing it applies again.
  Click(kIdCmdPrevPage);
  EXPECT_TRUE(PageShown(7));
  EXPECT_EQ(Text(kIdCmdNextPage), "Next>>");
  EXPECT_TRUE(::IsWindowEnabled(Control(kIdCmdNextPage)));
  MessageBoxAnswer again;
  again.Start();
  Click(kIdCmdNextPage);
  again.Wait();
  EXPECT_EQ(CountSnapshotFiles(), before + 2);
}

TEST_F(NormalModeWindowTest, TheUpDownStepsTheSynBox) {
  for (int i = 0; i < 6; ++i) Click(kIdCmdNextPage);
  ASSERT_TRUE(PageShown(6));
  EXPECT_EQ(Text(kIdTxtSynValue), "2");
  RECT r{};
  ::GetWindowRect(Control(kIdUpdwnDescision), &r);
  // The lower arrow.
  MoveMouse((r.left + r.right) / 2, r.bottom - 3);
  gui::SendMouse(MOUSEEVENTF_LEFTDOWN);
  Pump(60);
  gui::SendMouse(MOUSEEVENTF_LEFTUP);
  Pump(150);
  EXPECT_EQ(Text(kIdTxtSynValue), "1");
  EXPECT_EQ(workingProfile.synAttackProtect, 1);
  ::SendMessageA(Control(kIdCmbNdi), CB_SHOWDROPDOWN, TRUE, 0);
  Pump(200);
  SaveScreenshot("editor-step7-ndi-list");
  ::SendMessageA(Control(kIdCmbNdi), CB_SHOWDROPDOWN, FALSE, 0);
}

}  // namespace
}  // namespace corvane::testing
