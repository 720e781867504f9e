// The parts connected to the real corvane.exe as a user meets them: the
// program's icon in the notification area, hiding to the tray with the
// balloon (NT family) or the notification window (95/98/ME), the icon's
// clicks and menu, the main settings inside the child frame, a control-panel
// shortcut, and the stored settings that take effect at start (start in the
// tray, the "Sorbek" start-up entry).
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "tests/gui/CorvaneApp.h"
#include "tests/gui/GuiHarness.h"
#include "tests/gui/components/ComponentTestSupport.h"
#include "tests/support/TestRegistry.h"

namespace corvane::gui {
namespace {

using corvane::testing::IsNtFamily;
using corvane::testing::StoreText;

constexpr char kSettingsClass[] = "CorvaneMainSettings";
constexpr char kNotificationClass[] = "CorvaneMsgFrm";
constexpr char kTrayControlClass[] = "CorvaneTrayControl";
constexpr char kMenuClass[] = "#32768";
constexpr char kSettingsKey[] = "SOFTWARE\\Tarvik\\Pellavon\\Settings\\MainSettings";
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// ---- the registry of the test's prefix --------------------------------------

void StoreSetting(const char* name, const char* value) {
  ASSERT_TRUE(StoreText(HKEY_LOCAL_MACHINE, kSettingsKey, name, value)) << name;
}

void RemoveStartupEntry() {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    ::RegDeleteValueA(key, "Sorbek");
    ::RegCloseKey(key);
  }
}

// ---- the notification area ----------------------------------------------------

// Wine's stand-alone notification area is an ordinary window at the top
// left of the screen, where the main window (at 0, 0) covers it; a taskbar
// would keep it in view. The user moves the main window aside first.
std::optional<POINT> IconInView(HWND main) {
  auto icon = ShownTrayIcon();
  if (!icon) return std::nullopt;
  RECT r{};
  if (::IsWindowVisible(main) && ::GetWindowRect(main, &r) && ::PtInRect(&r, *icon)) {
    ::SetWindowPos(main, nullptr, 300, 260, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Settle(std::chrono::milliseconds(400));
    icon = ShownTrayIcon();
  }
  return icon;
}

// A window of the process with that class, shown or not.
std::optional<HWND> AnyWindowOf(DWORD pid, const std::string& className) {
  for (const auto& w : TopLevelWindows(pid)) {
    if (w.className == className) return w.hwnd;
  }
  return std::nullopt;
}

std::optional<HWND> SettingsWindow(CorvaneApp& app) {
  for (const auto& w : Descendants(app.main())) {
    if (w.className == kSettingsClass) return w.hwnd;
  }
  return AnyWindowOf(app.program().pid(), kSettingsClass);
}

// What the tray step shows besides hiding the main window: the balloon over
// the icon on the NT family, the program's own notification at the lower
// right corner of the screen on 95/98/ME, which closes itself after 5 s.
void ExpectTheTrayStepsNote(DWORD pid, const std::string& screenshot) {
  if (IsNtFamily()) {
    auto balloon = WaitForBalloonTip(std::chrono::seconds(8));
    ASSERT_TRUE(balloon) << "no balloon tip on the NT family";
    auto icon = ShownTrayIcon();
    ASSERT_TRUE(icon);
    RECT r{};
    ::GetWindowRect(*balloon, &r);
    EXPECT_LE(std::abs(r.top - icon->y), 80) << "the balloon opens at the icon";
    EXPECT_FALSE(FindWindowOf(pid, kNotificationClass)) << "no notification window on the NT family";
    Settle();
    SaveScreenshot(screenshot);
    return;
  }
  std::optional<HWND> note;
  ASSERT_TRUE(WaitUntil([&] { return (note = FindWindowOf(pid, kNotificationClass)).has_value(); },
                        std::chrono::seconds(5)))
      << "no notification window on 95/98/ME";
  auto shown = std::chrono::steady_clock::now();
  RECT r{};
  ::GetWindowRect(*note, &r);
  // X = screen width - 40, Y = screen height: lower right, no pointer.
  EXPECT_EQ(r.right, ::GetSystemMetrics(SM_CXSCREEN) - 40 + 42);
  EXPECT_EQ(r.bottom, ::GetSystemMetrics(SM_CYSCREEN));
  EXPECT_NE(::GetWindowLongA(*note, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  char caption[64] = {};
  ::GetWindowTextA(*note, caption, sizeof caption);
  EXPECT_STREQ(caption, "Program notification");
  Settle();
  SaveScreenshot(screenshot);
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(*note) || !::IsWindowVisible(*note); },
                        std::chrono::seconds(10)))
      << "the notification did not close itself";
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - shown).count();
  // Its 5 seconds count from its own start, which a busy machine may show
  // late: the bound only tells "stays a while" from "closes at once".
  EXPECT_GE(seconds, 2.5) << "it stays about 5 seconds";
}

// The processes whose parent is the given one.
std::vector<PROCESSENTRY32> ChildProcesses(DWORD parent) {
  std::vector<PROCESSENTRY32> children;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return children;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
    if (entry.th32ParentProcessID == parent) children.push_back(entry);
  }
  ::CloseHandle(snapshot);
  return children;
}

// ---- one running program for the tests that leave it running ------------------

class ConnectedShellTest : public RunningCorvaneTest {};

TEST_F(ConnectedShellTest, TheIconIsInTheNotificationAreaWhileTheProgramRuns) {
  auto icon = WaitForTrayIcon(std::chrono::seconds(10));
  ASSERT_TRUE(icon) << "no icon in the notification area";
  auto control = AnyWindowOf(pid(), kTrayControlClass);
  ASSERT_TRUE(control) << "the tray control has no window";
  EXPECT_FALSE(::IsWindowVisible(*control)) << "the control's own window is never seen";
  EXPECT_TRUE(::IsWindowVisible(app().main())) << "the icon is there beside the shown window";
}

TEST_F(ConnectedShellTest, SettingsButtonShowsMainSettingsInsideTheFrameBesideTheMovie) {
  ASSERT_TRUE(app().ClickButton("IDC_FS_settings"));
  ASSERT_TRUE(WaitUntil([&] { return app().FrameInFront(); }, std::chrono::seconds(5)));
  auto settings = SettingsWindow(app());
  ASSERT_TRUE(settings) << DumpTree(app().main());
  WindowInfo info = Describe(*settings);
  EXPECT_EQ(info.parent, app().frame()) << "a child of the frame";
  EXPECT_TRUE(info.visible);
  EXPECT_TRUE(::IsWindowVisible(app().frame()));
  EXPECT_NE(::GetWindowLongA(*settings, GWL_STYLE) & WS_CHILD, 0);
  EXPECT_EQ(::GetWindowLongA(*settings, GWL_STYLE) & (WS_POPUP | WS_CAPTION), 0);
  RECT place = ClientRectInParent(*settings);
  EXPECT_EQ(place.left, 0);
  EXPECT_EQ(place.top, 0);
  EXPECT_EQ(place.right - place.left, 460);
  EXPECT_EQ(place.bottom - place.top, 245);
  SIZE frame = app().FrameSize();
  EXPECT_EQ(frame.cx, 460);
  EXPECT_EQ(frame.cy, 245);
  RECT framePlace = ClientRectInParent(app().frame());
  EXPECT_EQ(framePlace.left, 181);
  EXPECT_EQ(framePlace.top, 104);
  for (const char* caption : {"Main Settings", "Windows Startup", "Run Main Program when windows start up",
                              "Run Program In system tray", "&Save"}) {
    EXPECT_TRUE(ChildWithCaption(*settings, caption)) << caption;
  }
  auto save = ChildWithCaption(*settings, "&Save");
  ASSERT_TRUE(save);
  EXPECT_FALSE(::IsWindowEnabled(*save)) << "nothing to save after the load";
  MoveMouse(680, 600);
  Settle(std::chrono::milliseconds(600));
  SaveScreenshot("main-settings");

  // The movie's side bar and title stay reachable beside the frame.
  ASSERT_TRUE(app().ClickButton("IDC_FS_systemSatus"));
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(*settings); }, std::chrono::seconds(5)))
      << "another feature hides the settings";
  EXPECT_EQ(app().FrameSize().cx, 440);
  Settle(std::chrono::milliseconds(2500));
  SaveScreenshot("system-status");
  ASSERT_TRUE(app().ClickButton("IDC_FS_settings"));
  ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(*settings) != FALSE; }, std::chrono::seconds(5)));
  EXPECT_EQ(Describe(*settings).parent, app().frame()) << "it stays a child of the frame";
  ASSERT_TRUE(app().ClickButton("IDC_FS_main", "settings")) << "the settings screen has no way back";
  EXPECT_TRUE(WaitUntil([&] { return app().MovieInFront(); }, std::chrono::seconds(5)));
  EXPECT_FALSE(::IsWindowVisible(*settings));
  EXPECT_FALSE(::IsWindowVisible(app().frame()));

  // The entry button does the same, without sizing the frame.
  ASSERT_TRUE(app().PressEntryButton("cmdMainSettings"));
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(*settings) != FALSE && app().FrameInFront(); },
                        std::chrono::seconds(5)));
  EXPECT_EQ(Describe(*settings).parent, app().frame());
}

TEST_F(ConnectedShellTest, InternetPropertiesButtonStartsItsAppletProcess) {
  for (const auto& child : ChildProcesses(pid())) {
    ADD_FAILURE() << "an earlier child process still runs: " << child.szExeFile;
  }
  ASSERT_TRUE(app().ClickButton("IDC_FS_sysSettingClicked"));
  Settle(std::chrono::milliseconds(500));
  ASSERT_TRUE(app().ClickButton("IDC_FS_internetProperties", "system"));
  std::vector<PROCESSENTRY32> started;
  // A process just made is listed before its image is known (its name is
  // empty until it has started, which takes a while on a slow machine).
  ASSERT_TRUE(WaitUntil([&] {
    started = ChildProcesses(pid());
    return !started.empty() && started[0].szExeFile[0] != '\0';
  }, std::chrono::seconds(10))) << "no applet process was started";
  ASSERT_EQ(started.size(), 1u) << "one click, one process";
  EXPECT_STREQ(started[0].szExeFile, "rundll32.exe");
  DWORD appletPid = started[0].th32ProcessID;
  // Its window: the Internet Properties page.
  std::string caption;
  WaitUntil([&] {
    for (const auto& w : VisibleTopLevelWindows(appletPid)) caption = w.caption;
    return !caption.empty();
  }, std::chrono::seconds(15));
  EXPECT_NE(caption.find("Internet"), std::string::npos) << "caption: " << caption;
  EXPECT_TRUE(::IsWindowVisible(app().main())) << "the program goes on beside the applet";

  // Ours to end, by its identifier.
  HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, appletPid);
  ASSERT_NE(process, nullptr);
  EXPECT_TRUE(::TerminateProcess(process, 0));
  EXPECT_EQ(::WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
  ::CloseHandle(process);
  EXPECT_TRUE(app().program().IsRunning());
}

TEST_F(ConnectedShellTest, TrayButtonHidesToTheTrayAndALeftClickOnTheIconBringsTheWindowBack) {
  ASSERT_TRUE(app().ClickButton("IDC_FS_tray"));
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(app().main()); }, std::chrono::seconds(8)))
      << "the tray button did not hide the main window";
  ExpectTheTrayStepsNote(pid(), "tray-step");
  EXPECT_TRUE(app().program().IsRunning());
  auto icon = ShownTrayIcon();
  ASSERT_TRUE(icon) << "the icon stays while the window is hidden";
  ClickAt(icon->x, icon->y);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(app().main()) != FALSE; }, std::chrono::seconds(8)))
      << "a left click on the icon did not show the main window";
}

TEST_F(ConnectedShellTest, RightClickOnTheIconOpensTheTrayMenuAndMainWindowShowsTheWindow) {
  ASSERT_TRUE(WaitForTrayIcon(std::chrono::seconds(10)));
  auto icon = IconInView(app().main());
  ASSERT_TRUE(icon);
  ClickAt(icon->x, icon->y, /*rightButton=*/true);
  auto menu = app().program().WaitForWindow(kMenuClass, std::chrono::seconds(5));
  ASSERT_TRUE(menu) << "no popup menu after a right click on the icon";
  RECT r{};
  ::GetWindowRect(*menu, &r);
  EXPECT_GE(r.bottom - r.top, 50) << "three items and a separator";
  Settle();
  SaveScreenshot("tray-menu-program");
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !app().program().WaitForWindow(kMenuClass, std::chrono::milliseconds(0)); },
                        std::chrono::seconds(5)));

  // "Main Window" brings a hidden window back.
  app().SendCommand("IDC_FS_tray");
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(app().main()); }, std::chrono::seconds(8)));
  ClickAt(icon->x, icon->y, /*rightButton=*/true);
  ASSERT_TRUE(app().program().WaitForWindow(kMenuClass, std::chrono::seconds(5)));
  PressKey(VK_DOWN);  // the first item, "Main Window"
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(app().main()) != FALSE; }, std::chrono::seconds(8)));
  // The 95/98/ME note closes itself; it must not cover later screenshots.
  WaitUntil([&] { return !FindWindowOf(pid(), kNotificationClass); }, std::chrono::seconds(8));
}

TEST_F(ConnectedShellTest, SystemScreenHasTheOtherShortcutsAndTheRestart) {
  // Pressed for real elsewhere: the restart ends the session (its own suite),
  // and the other applets start the same way as Internet Properties.
  for (const char* command :
       {"IDC_FS_systemSetting", "IDC_FS_modemSetting", "IDC_FS_networkSetting", "IDC_FS_restart"}) {
    EXPECT_TRUE(app().ButtonRect(command, "system")) << "the system screen has no button for " << command;
  }
}

TEST_F(ConnectedShellTest, ExitInTheIconsMenuEndsTheProgramWithTheIconGone) {
  ASSERT_TRUE(WaitForTrayIcon(std::chrono::seconds(10)));
  auto icon = IconInView(app().main());
  ASSERT_TRUE(icon);
  ClickAt(icon->x, icon->y, /*rightButton=*/true);
  ASSERT_TRUE(app().program().WaitForWindow(kMenuClass, std::chrono::seconds(5)));
  PressKey('E');  // "&Exit"
  auto code = app().program().WaitForExit(std::chrono::seconds(15));
  ASSERT_TRUE(code) << "\"&Exit\" did not end the program";
  EXPECT_EQ(*code, 0u);
  EXPECT_TRUE(WaitForNoTrayIcon(std::chrono::seconds(5)))
      << "the icon stayed in the notification area";
}

// ---- settings stored before the start ------------------------------------------

TEST(StoredMainSettings, StartInTheTrayAndRewriteTheStartupEntryWithThisPath) {
  RemoveStartupEntry();
  StoreSetting("chkRunMainProgram", "1");
  StoreSetting("chkRunProgramMini", "1");
  StartOptions options;
  options.environment.emplace_back("CORVANE_TEST_COMMANDS", "1");
  auto program = Program::Start(options);
  ASSERT_TRUE(program);

  auto icon = WaitForTrayIcon(std::chrono::seconds(10));
  ASSERT_TRUE(icon) << "no icon in the notification area";
  std::optional<HWND> main;
  ASSERT_TRUE(WaitUntil([&] { return (main = AnyWindowOf(program->pid(), kMainWindowClass)).has_value(); }));
  ExpectTheTrayStepsNote(program->pid(), "start-in-tray");
  EXPECT_FALSE(::IsWindowVisible(*main)) << "started in the tray: no main window";
  for (const auto& w : VisibleTopLevelWindows(program->pid())) {
    EXPECT_NE(w.className, kMainWindowClass);
    EXPECT_NE(w.className, "CorvaneSplash") << "the splash went at the end of the start";
  }
  EXPECT_EQ(corvane::testing::ReadStoredText(HKEY_CURRENT_USER, kRunKey, "Sorbek"), ProgramFolder() + "\\corvane.exe")
      << "the start-up entry holds this executable's path";

  ClickAt(icon->x, icon->y);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(*main) != FALSE; }, std::chrono::seconds(8)))
      << "the icon's left click shows the main window";

  // Back to a first run for the tests after this one.
  StoreSetting("chkRunMainProgram", "0");
  StoreSetting("chkRunProgramMini", "0");
  RemoveStartupEntry();
  ASSERT_TRUE(SendText(*main, kTestTrayMenu, "mnuExit"));
  auto code = program->WaitForExit(std::chrono::seconds(15));
  ASSERT_TRUE(code);
  EXPECT_EQ(*code, 0u);
  EXPECT_TRUE(WaitForNoTrayIcon(std::chrono::seconds(5)));
}

}  // namespace
}  // namespace corvane::gui
