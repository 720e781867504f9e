// The advanced editor in the real corvane.exe, as a user meets it: opened
// from the movie's side bar, DSL chosen, the pages gone through with real
// clicks and keys, Finish writing the registry and a new snapshot and
// sending the movie home; a second opening starts again at step 1 keeping
// the connection type; the "Advanced Mode" entry button keeps the page.
// Screenshots of every page as the program shows them ("editor-app-step1"
// ... "editor-app-step8").
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

#include "tests/gui/CorvaneApp.h"
#include "tests/gui/GuiHarness.h"
#include "tests/support/TestRegistry.h"
#include "tuning/NormalModeLayout.h"

namespace corvane::gui {
namespace {

using corvane::testing::IsNtFamily;

constexpr char kEditorClass[] = "CorvaneNormalMode";

std::optional<HWND> MessageBoxOf(DWORD pid) {
  for (const auto& w : TopLevelWindows(pid)) {
    if (w.className == "#32770" && ::IsWindowVisible(w.hwnd)) return w.hwnd;
  }
  return std::nullopt;
}

class NormalModeAppTest : public RunningCorvaneTest {
 protected:
  std::optional<HWND> Editor() {
    for (const auto& w : Descendants(app().main())) {
      if (w.className == kEditorClass) return w.hwnd;
    }
    return std::nullopt;
  }
  // Opens the editor from the movie's side bar.
  HWND Open() {
    EXPECT_TRUE(app().ClickButton("IDC_FS_normalMode"));
    EXPECT_TRUE(WaitUntil([&] { return app().FrameInFront(); }, std::chrono::seconds(5)));
    std::optional<HWND> editor;
    EXPECT_TRUE(WaitUntil([&] { return (editor = Editor()) && ::IsWindowVisible(*editor); }, std::chrono::seconds(5)))
        << DumpTree(app().main());
    editor_ = editor.value_or(nullptr);
    return editor_;
  }
  HWND Control(int id) { return ::GetDlgItem(editor_, id); }
  std::string Text(int id) {
    char text[256] = {};
    ::SendMessageA(Control(id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
  }
  bool Shown(int page) { return ::IsWindowVisible(Control(kIdPage0 + page)) != FALSE; }
  bool Enabled(int id) { return ::IsWindowEnabled(Control(id)) != FALSE; }
  void Click(int id) {
    RECT r{};
    ::GetClientRect(Control(id), &r);
    ClickInWindow(Control(id), r.right / 2, r.bottom / 2);
    Settle(std::chrono::milliseconds(150));
  }
  void Next() { Click(kIdCmdNextPage); }
  void SelectBox(int id) {
    Click(id);
    SelectLineByKeyboard();
    Settle(std::chrono::milliseconds(150));
  }
  void Type(char c) { PressKey(static_cast<WORD>(::VkKeyScanA(c) & 0xFF)); }
  void Shot(int step) {
    MoveMouse(1000, 740);
    Settle(std::chrono::milliseconds(300));
    SaveScreenshot("editor-app-step" + std::to_string(step));
  }

  HWND editor_ = nullptr;
};

TEST_F(NormalModeAppTest, DslFromTheMovieThroughEveryPageToFinish) {
  HWND editor = Open();
  ASSERT_NE(editor, nullptr);
  RECT place = ClientRectInParent(editor);
  EXPECT_EQ(place.right - place.left, 440);
  EXPECT_EQ(place.bottom - place.top, 252);
  SIZE frame = app().FrameSize();
  EXPECT_EQ(frame.cx, 440);
  EXPECT_EQ(frame.cy, 252);
  EXPECT_TRUE(Shown(0));
  EXPECT_FALSE(Enabled(kIdCmdPrevPage));
  EXPECT_EQ(Text(kIdCmdNextPage), "Next>>");
  Shot(1);

  Click(kIdOptConnType0 + 2);
  Next();
  ASSERT_TRUE(Shown(1));
  EXPECT_EQ(Text(kIdTxtMtuValue), "1492");
  EXPECT_EQ(Text(kIdLblMssRecValue), "1452Byte");
  Shot(2);
  Next();
  ASSERT_TRUE(Shown(2));
  Shot(3);
  Next();
  ASSERT_TRUE(Shown(3));
  EXPECT_EQ(Text(kIdTxtRwin), "255552");
  EXPECT_EQ(Text(kIdLblRwinRecValue), "255552Bytes");
  Shot(4);
  Next();
  ASSERT_TRUE(Shown(4));
  SelectBox(kIdTxtHttp10Value);
  Type('1');
  EXPECT_EQ(Text(kIdTxtHttp10Value), "1") << "the entry is not complete yet";
  Type('0');
  EXPECT_EQ(Text(kIdTxtHttp10Value), "10");
  SelectBox(kIdTxtTtlValue);
  Type('2');
  Type('5');
  Type('7');
  EXPECT_EQ(Text(kIdTxtTtlValue), "64") << "257 lies above 256";
  EXPECT_EQ(Text(kIdTxtHttp10Value), "10") << "kept after leaving the box";
  Shot(5);
  for (int page = 5; page <= 7; ++page) {
    Next();
    ASSERT_TRUE(Shown(page));
    Shot(page + 1);
  }
  EXPECT_EQ(Text(kIdCmdNextPage), "Finish");

  const int before = CountSnapshotFiles();
  Next();
  // A complete apply may bring a note (values this Windows ignores), never
  // a failure.
  std::optional<HWND> box;
  if (WaitUntil([&] { return (box = MessageBoxOf(pid())).has_value(); }, std::chrono::seconds(3))) {
    char text[2048] = {};
    ::SendMessageA(::GetDlgItem(*box, 0xFFFF), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::string(text).find("could not"), std::string::npos) << text;
    SaveScreenshot("editor-app-finish-note");
    ::PostMessageA(*box, WM_COMMAND, IDOK, 0);
  }
  EXPECT_TRUE(WaitUntil([&] { return app().MovieInFront(); }, std::chrono::seconds(5))) << "the movie comes home";
  EXPECT_FALSE(Enabled(kIdCmdNextPage));
  EXPECT_EQ(CountSnapshotFiles(), before + 1) << "a new snapshot";
  const bool nt = IsNtFamily();
  const char* tcp = nt ? "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters"
                       : "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
  const char* internet = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  EXPECT_EQ(ReadRegistryNumber(HKEY_LOCAL_MACHINE, tcp, "DefaultTTL"), 64u);
  EXPECT_EQ(ReadRegistryNumber(HKEY_LOCAL_MACHINE, tcp, "GlobalMaxTcpWindowSize"), 255552u);
  EXPECT_EQ(ReadRegistryNumber(HKEY_LOCAL_MACHINE, tcp, "KeepAliveInterval"), 1000u);
  EXPECT_EQ(ReadRegistryNumber(HKEY_LOCAL_MACHINE, tcp, nt ? "SYNAttackProtect" : "DefaultRcvWindow"),
            nt ? 2u : 255552u);
  EXPECT_EQ(ReadRegistryNumber(HKEY_CURRENT_USER, internet, "MaxConnectionsPer1_0Server"), 10u);
  EXPECT_EQ(ReadRegistryNumber(HKEY_CURRENT_USER, internet, "MaxConnectionsPerServer"), 20u);
}

TEST_F(NormalModeAppTest, EachOpeningStartsAgainKeepingTheConnectionTypeAndTheEntryButtonKeepsThePage) {
  ASSERT_NE(Open(), nullptr);
  Click(kIdOptConnType0 + 2);
  // Two quick presses are two pages, even when the second comes as a
  // double click.
  Next();
  Next();
  ASSERT_TRUE(Shown(2));

  // The "Advanced Mode" entry button shows the window as it was.
  app().BackHome();
  ASSERT_TRUE(app().PressEntryButton("cmdSorbek 2"));
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(editor_) && Shown(2); }, std::chrono::seconds(5)))
      << ::IsWindowVisible(editor_) << Shown(2) << DumpTree(app().main());
  EXPECT_TRUE(Enabled(kIdCmdPrevPage));

  // The movie's command makes it afresh at step 1, dial-up marked, while
  // the connection type stays DSL.
  app().BackHome();
  ASSERT_NE(Open(), nullptr);
  EXPECT_TRUE(Shown(0));
  EXPECT_FALSE(Shown(2));
  EXPECT_FALSE(Enabled(kIdCmdPrevPage));
  EXPECT_EQ(::SendMessageA(Control(kIdOptConnType0), BM_GETCHECK, 0, 0), BST_CHECKED);
  Next();
  EXPECT_EQ(Text(kIdTxtMtuValue), "1492");
}

}  // namespace
}  // namespace corvane::gui
