// The main window's Win32 side against the real window system: the start-up
// with connected parts, feature windows in the child frame, the exit
// sequence, the single instance, the hook on the movie player, the splash
// and the shell-execute adapters.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/SkinLabel.h"
#include "shell/win32/Hook.h"
#include "shell/win32/MainWindow.h"
#include "shell/win32/ShellExecute.h"
#include "platform/win32/ProgramFile.h"
#include "shell/win32/Splash.h"
#include "tests/support/MessageBoxReader.h"
#include "tests/support/LoggingStandIn.h"
#include "tests/support/ProcessWindows.h"
#include "tests/support/WholeFile.h"

namespace corvane::shell {
namespace {

using Log = std::vector<std::string>;

void Pump(int rounds = 5) {
  MSG msg;
  for (int i = 0; i < rounds; ++i) {
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return;
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::Sleep(10);
  }
}

// Pumps until the thread's quit message arrives; false on time-out.
bool PumpUntilQuit(DWORD timeoutMs = 5000) {
  DWORD end = ::GetTickCount() + timeoutMs;
  MSG msg;
  while (::GetTickCount() < end) {
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return true;
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::Sleep(10);
  }
  return false;
}

// A feature window as the feature engineers make them: a hidden pop-up
// owned by the main window, skinned as a form at load, with a few controls.
class FakeFeature final : public FeatureWindow {
 public:
  FakeFeature(std::string name, Log& log) : name_(std::move(name)), log_(log) {}
  ~FakeFeature() override { Unload(); }

  bool Load(IShellServices& services, HWND owner) override {
    log_.push_back("load " + name_);
    ++loads;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &::DefWindowProcA;
    wc.hInstance = services.instance();
    wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "CorvaneFakeFeature";
    ::RegisterClassExA(&wc);
    hwnd_ = ::CreateWindowExA(WS_EX_TOOLWINDOW, "CorvaneFakeFeature", name_.c_str(), WS_POPUP, 300, 300, 440,
                              250, owner, nullptr, services.instance(), nullptr);
    button = ::CreateWindowExA(0, "Button", "&Save", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24, hwnd_,
                               nullptr, services.instance(), nullptr);
    check = ::CreateWindowExA(0, "Button", "Check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 40, 80, 20, hwnd_,
                              nullptr, services.instance(), nullptr);
    edit = ::CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 10, 70, 80, 20, hwnd_, nullptr,
                             services.instance(), nullptr);
    label.Create(hwnd_, 5, "label", 10, 100, 100, 20);
    services.ApplySkin(hwnd_, "controlForm");
    services.applyAllControls(hwnd_);
    return hwnd_ != nullptr;
  }
  void Unload() override {
    if (hwnd_ != nullptr) {
      log_.push_back("unload " + name_);
      ::DestroyWindow(hwnd_);
      hwnd_ = nullptr;
    }
  }
  bool IsLoaded() const override { return hwnd_ != nullptr; }
  HWND hwnd() const override { return hwnd_; }
  // What the two windows with a step before showing do in it.
  void BeforeShow() override {
    if (name_ == "frmBackUp") log_.push_back("intializeList");
    if (name_ == "frmNormalMode") log_.push_back("currWizardPage=0");
  }

  int loads = 0;
  HWND button = nullptr, check = nullptr, edit = nullptr;
  win32::SkinLabel label;

 private:
  std::string name_;
  Log& log_;
  HWND hwnd_ = nullptr;
};

class MainWindowWin32Test : public ::testing::Test {
 protected:
  void SetUp() override {
    main = std::make_unique<MainWindow>(::GetModuleHandleA(nullptr));
    auto& c = main->connections();
    c.fillPresetProfiles = [this] { log.push_back("presets"); };
    c.trayShow = [this](bool show) { log.push_back(show ? "tray add" : "tray remove"); };
    c.trayBalloon = [this] { log.push_back("balloon"); };
    c.trayNotification = [this](const TrayNotification& n) {
      log.push_back("notification");
      notification = n;
    };
    // Started in the tray, the window is never shown, so Wine (without a
    // window manager) destroys it at once.
    c.runProgramInTray = [this] {
      log.push_back("in tray?");
      return true;
    };
    c.restartWindows = [this] {
      log.push_back("restart");
      return restartTaken;
    };
    for (Feature f : kFeatureWindowSet) {
      auto fake = std::make_unique<FakeFeature>(std::string(FeatureName(f)), log);
      features[static_cast<int>(f)] = fake.get();
      main->ConnectFeatureWindow(f, std::move(fake));
    }
  }
  void TearDown() override { main.reset(); }

  FakeFeature& Fake(Feature f) { return *features[static_cast<int>(f)]; }
  bool ChildOfFrame(Feature f) { return ::GetParent(Fake(f).hwnd()) == main->frame(); }
  bool Visible(HWND w) { return (::GetWindowLongPtrA(w, GWL_STYLE) & WS_VISIBLE) != 0; }
  SIZE FrameSize() {
    RECT r{};
    ::GetWindowRect(main->frame(), &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
  }
  bool FrameInFront() {
    for (HWND w = ::GetWindow(main->hwnd(), GW_CHILD); w != nullptr; w = ::GetWindow(w, GW_HWNDNEXT)) {
      if (w == main->frame()) return true;
      if (w == main->movie().hwnd()) return false;
    }
    return false;
  }

  std::unique_ptr<MainWindow> main;
  FakeFeature* features[kFeatureCount] = {};
  Log log;
  TrayNotification notification;
  bool restartTaken = true;
};

TEST_F(MainWindowWin32Test, StartUpRunsTheConnectedPartsInTheirOrder) {
  ASSERT_EQ(main->StartUp(), StartUpResult::InTray);
  Log expected{"presets", "tray add",
               "load frmWizardMode", "load frmBackUp", "load frmNetPingerSettings",
               "load frmSystemStatus", "load frmRamConfiguration", "load frmMainSettings",
               "in tray?", IsNtFamily(currentOsFamily) ? "balloon" : "notification"};
  EXPECT_EQ(log, expected);
  EXPECT_NE(currentOsFamily, 0) << "DetectOsFamily ran";
  EXPECT_FALSE(Fake(Feature::NormalMode).IsLoaded()) << "the advanced editor waits for its command";
  for (Feature f : kStartUpLoadOrder) EXPECT_FALSE(Visible(Fake(f).hwnd())) << FeatureName(f);
  ASSERT_NE(main->hwnd(), nullptr);
  EXPECT_FALSE(Visible(main->hwnd())) << "started in the tray";
  if (!IsNtFamily(currentOsFamily)) {
    EXPECT_FLOAT_EQ(notification.X, static_cast<float>(::GetSystemMetrics(SM_CXSCREEN) - 40));
    EXPECT_FLOAT_EQ(notification.Y, static_cast<float>(::GetSystemMetrics(SM_CYSCREEN)));
  }
  // The design: 714 x 499 at 0, 0; the movie at 0, 0, 675 x 435; the frame
  // at 181, 104 behind it.
  RECT r{};
  ::GetWindowRect(main->hwnd(), &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right - r.left, 714);
  EXPECT_EQ(r.bottom - r.top, 499);
  ::GetWindowRect(main->frame(), &r);
  ::MapWindowPoints(nullptr, main->hwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 181);
  EXPECT_EQ(r.top, 104);
  EXPECT_FALSE(FrameInFront());
  // The hook is on the player's window.
  EXPECT_EQ(main->flashWindow(), main->movie().hwnd());
  EXPECT_EQ(::GetWindowLongPtrA(main->flashWindow(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&HookedWindowProc));
}

// A start that shows the main window paints it before the six windows load;
// they load right after, hidden and in the same order, and a command that
// comes first finds them loaded in that order too.
class ShownStartUpTest : public MainWindowWin32Test {
 protected:
  void SetUp() override {
    MainWindowWin32Test::SetUp();
    auto& c = main->connections();
    c.storedRunsInTray = [this] {
      log.push_back("stored in tray?");
      return false;
    };
    c.runProgramInTray = [this] {
      log.push_back("in tray?");
      return false;
    };
  }
  Log Loads() const {
    Log loads;
    for (const std::string& line : log) {
      if (line.starts_with("load ")) loads.push_back(line);
    }
    return loads;
  }
  static Log StartUpLoads() {
    Log loads;
    for (Feature f : kStartUpLoadOrder) loads.push_back("load " + std::string(FeatureName(f)));
    return loads;
  }
};

TEST_F(ShownStartUpTest, TheMainWindowIsShownFirstAndTheWindowsLoadRightAfterInTheirOrder) {
  ASSERT_EQ(main->StartUp(), StartUpResult::Shown);
  EXPECT_EQ(log, (Log{"presets", "tray add", "stored in tray?", "in tray?"}));
  EXPECT_TRUE(Visible(main->hwnd()));
  Pump();
  EXPECT_EQ(Loads(), StartUpLoads());
  for (Feature f : kStartUpLoadOrder) EXPECT_FALSE(Visible(Fake(f).hwnd())) << FeatureName(f);
  EXPECT_FALSE(Fake(Feature::NormalMode).IsLoaded()) << "the advanced editor waits for its command";
  Pump();
  for (Feature f : kStartUpLoadOrder) EXPECT_EQ(Fake(f).loads, 1) << FeatureName(f);
}

TEST_F(ShownStartUpTest, ACommandBeforeTheLoadFindsTheWindowsLoadedInTheirOrder) {
  ASSERT_EQ(main->StartUp(), StartUpResult::Shown);
  main->OnFsCommand("IDC_FS_settings", "");
  EXPECT_EQ(Loads(), StartUpLoads());
  EXPECT_TRUE(Visible(Fake(Feature::MainSettings).hwnd()));
  Pump();
  EXPECT_EQ(Loads(), StartUpLoads()) << "the posted load finds nothing left to do";
}

TEST_F(ShownStartUpTest, AStartIntoTheTrayLoadsTheWindowsBeforeItsTrayStep) {
  main->connections().storedRunsInTray = [this] {
    log.push_back("stored in tray?");
    return true;
  };
  main->connections().runProgramInTray = [this] {
    log.push_back("in tray?");
    return true;
  };
  ASSERT_EQ(main->StartUp(), StartUpResult::InTray);
  Log expected{"presets", "tray add", "stored in tray?"};
  for (const std::string& load : StartUpLoads()) expected.push_back(load);
  expected.push_back("in tray?");
  expected.push_back(IsNtFamily(currentOsFamily) ? "balloon" : "notification");
  EXPECT_EQ(log, expected);
}

// An exit asked for before the posted load: nothing loads after it.
TEST_F(ShownStartUpTest, AnExitBeforeTheLoadLoadsNothing) {
  ASSERT_EQ(main->StartUp(), StartUpResult::Shown);
  main->OnTrayMenu(TrayMenuItem::mnuExit);
  ASSERT_TRUE(PumpUntilQuit());
  EXPECT_EQ(Loads(), Log{});
}

TEST_F(MainWindowWin32Test, FeaturesAreShownInsideTheFrameWhichTakesTheirSize) {
  ASSERT_EQ(main->StartUp(), StartUpResult::InTray);
  EXPECT_FALSE(Visible(main->frame())) << "an empty frame shows nothing";

  main->OnFsCommand("IDC_FS_pingSetting", "");
  EXPECT_TRUE(ChildOfFrame(Feature::NetPingerSettings));
  EXPECT_NE(::GetWindowLongPtrA(Fake(Feature::NetPingerSettings).hwnd(), GWL_STYLE) & WS_CHILD, 0);
  EXPECT_TRUE(Visible(Fake(Feature::NetPingerSettings).hwnd()));
  EXPECT_TRUE(Visible(main->frame()));
  EXPECT_TRUE(FrameInFront());
  EXPECT_EQ(FrameSize().cx, 440);
  EXPECT_EQ(FrameSize().cy, 244);
  RECT r{};
  ::GetWindowRect(Fake(Feature::NetPingerSettings).hwnd(), &r);
  ::MapWindowPoints(nullptr, main->frame(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);

  main->OnFsCommand("IDC_FS_settings", "");
  EXPECT_FALSE(Visible(Fake(Feature::NetPingerSettings).hwnd()));
  EXPECT_TRUE(Visible(Fake(Feature::MainSettings).hwnd()));
  EXPECT_EQ(FrameSize().cx, 460);
  EXPECT_EQ(FrameSize().cy, 245);

  main->OnFsCommand("IDC_FS_about", "");
  for (Feature f : kStartUpLoadOrder) EXPECT_FALSE(Visible(Fake(f).hwnd())) << FeatureName(f);
  EXPECT_FALSE(FrameInFront());
  EXPECT_FALSE(Visible(main->frame()));

  // Back from the about screen the windows once shown in the frame show
  // again inside it (behind the movie); a window never shown there stays
  // hidden rather than appearing loose on the screen.
  main->OnFsCommand("IDC_FS_closeAbout", "");
  for (Feature f : kStartUpLoadOrder) {
    const bool shownInFrame = f == Feature::NetPingerSettings || f == Feature::MainSettings;
    EXPECT_EQ(Visible(Fake(f).hwnd()), shownInFrame) << FeatureName(f);
  }
  EXPECT_TRUE(ChildOfFrame(Feature::MainSettings));
  EXPECT_FALSE(ChildOfFrame(Feature::WizardMode));
  EXPECT_FALSE(FrameInFront());
  EXPECT_TRUE(Visible(main->frame()));

  main->OnFsCommand("IDC_FS_main", "");
  for (Feature f : kStartUpLoadOrder) EXPECT_FALSE(Visible(Fake(f).hwnd())) << FeatureName(f);
  EXPECT_FALSE(Visible(main->frame()));

  // The wizard keeps its window between showings; the skin stays on it.
  HWND wizard = Fake(Feature::WizardMode).hwnd();
  main->OnFsCommand("IDC_FS_wizardMode", "");
  EXPECT_EQ(Fake(Feature::WizardMode).hwnd(), wizard);
  EXPECT_EQ(Fake(Feature::WizardMode).loads, 1);
}

TEST_F(MainWindowWin32Test, TheAdvancedEditorIsMadeAfreshByEachCommand) {
  ASSERT_EQ(main->StartUp(), StartUpResult::InTray);
  log.clear();
  main->OnFsCommand("IDC_FS_normalMode", "");
  EXPECT_EQ(log, (Log{"currWizardPage=0", "load frmNormalMode"}));
  HWND first = Fake(Feature::NormalMode).hwnd();
  EXPECT_TRUE(ChildOfFrame(Feature::NormalMode));
  EXPECT_EQ(FrameSize().cy, 252);
  log.clear();
  main->OnFsCommand("IDC_FS_normalMode", "");
  EXPECT_EQ(log, (Log{"unload frmNormalMode", "currWizardPage=0", "load frmNormalMode"}));
  EXPECT_EQ(Fake(Feature::NormalMode).loads, 2);
  EXPECT_TRUE(ChildOfFrame(Feature::NormalMode));
  EXPECT_TRUE(Visible(main->frame()));
  (void)first;
  // The entry button shows it without making it again.
  log.clear();
  main->OnEntryButton(EntryButton::cmdSorbek, 2);
  EXPECT_EQ(Fake(Feature::NormalMode).loads, 2);
  log.clear();
  main->OnFsCommand("IDC_FS_backupManger", "");
  EXPECT_EQ(log.front(), "intializeList");
}

TEST_F(MainWindowWin32Test, FeatureFormsAreSkinnedControlByControl) {
  ASSERT_EQ(main->StartUp(), StartUpResult::InTray);
  if (!main->skin().IsLoaded()) GTEST_SKIP() << "no KeltMask.skn beside the test program";
  FakeFeature& f = Fake(Feature::WizardMode);
  EXPECT_EQ(main->skin().AppliedObject(f.hwnd()), "controlForm");
  EXPECT_EQ(main->skin().AppliedObject(f.button), "Button");
  EXPECT_EQ(main->skin().AppliedObject(f.check), "CheckBox");
  EXPECT_EQ(main->skin().AppliedObject(f.label.hwnd()), "Label");
  EXPECT_FALSE(main->skin().AppliedObject(f.edit)) << "an edit field keeps its plain look";
  EXPECT_EQ(main->skin().AppliedObject(main->hwnd()), "Main");
  EXPECT_EQ(main->skin().AppliedObject(main->frame()), "NoFrame");
}

TEST_F(MainWindowWin32Test, ExitUnloadsTheFeaturesRemovesTheTrayIconAndEnds) {
  ASSERT_EQ(main->StartUp(), StartUpResult::InTray);
  main->OnFsCommand("IDC_FS_normalMode", "");
  log.clear();
  ::PostMessageA(main->hwnd(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntilQuit());
  EXPECT_EQ(log, (Log{"unload frmWizardMode", "unload frmNormalMode", "unload frmBackUp",
                      "unload frmNetPingerSettings", "unload frmRamConfiguration", "unload frmMainSettings",
                      "unload frmSystemStatus", "tray remove"}));
  EXPECT_EQ(main->hwnd(), nullptr);
}

// Windows refuses the restart (no shutdown privilege, or the request
// fails): the user is told, and the icon and every window stay.
TEST_F(MainWindowWin32Test, ARefusedRestartSaysSoAndKeepsTheIconAndTheWindows) {
  ASSERT_EQ(main->StartUp(), StartUpResult::InTray);
  restartTaken = false;
  log.clear();
  testing::MessageBoxReader boxes;
  main->OnFsCommand("IDC_FS_restart", "");
  EXPECT_EQ(log, Log{"restart"});
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{kRestartRefusedMessage});
  for (Feature f : kStartUpLoadOrder) EXPECT_TRUE(Fake(f).IsLoaded()) << FeatureName(f);
  EXPECT_NE(main->hwnd(), nullptr);
}

// A restart Windows takes: nothing goes until the session really ends; a
// cancelled end keeps everything, the real end unloads and removes the icon.
TEST_F(MainWindowWin32Test, ARestartUnloadsOnlyWhenTheSessionReallyEnds) {
  ASSERT_EQ(main->StartUp(), StartUpResult::InTray);
  log.clear();
  main->OnFsCommand("IDC_FS_restart", "");
  EXPECT_EQ(log, Log{"restart"});
  EXPECT_EQ(::SendMessageA(main->hwnd(), WM_QUERYENDSESSION, 0, 0), TRUE);
  ::SendMessageA(main->hwnd(), WM_ENDSESSION, FALSE, 0);
  EXPECT_EQ(log, Log{"restart"}) << "another program cancelled the end";
  ::SendMessageA(main->hwnd(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(log, (Log{"restart", "unload frmWizardMode", "unload frmBackUp", "unload frmNetPingerSettings",
                      "unload frmRamConfiguration", "unload frmMainSettings", "unload frmSystemStatus",
                      "tray remove"}));
}

TEST_F(MainWindowWin32Test, ASecondInstanceStopsBeforeMakingAnyWindow) {
  win32::UniqueHandleNull first(::CreateMutexA(nullptr, FALSE, kInstanceMutexName));
  ASSERT_TRUE(first);
  main->SetExitingCopyWait(0);
  EXPECT_EQ(main->StartUp(), StartUpResult::PreviousInstance);
  EXPECT_EQ(main->hwnd(), nullptr);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(::FindWindowA(Splash::kClassName, nullptr), nullptr);
}

// The exiting copy's process ends half a second later, and its mutex with it.
DWORD WINAPI EndExitingCopy(LPVOID mutex) {
  ::Sleep(500);
  ::CloseHandle(static_cast<HANDLE>(mutex));
  return 0;
}

// A copy that is exiting: its window is gone, its mutex not yet (the
// process still ends). A start in that gap waits for it and then starts.
TEST_F(MainWindowWin32Test, AStartWhileTheFirstCopyIsExitingWaitsAndStarts) {
  HANDLE exiting = ::CreateMutexA(nullptr, FALSE, kInstanceMutexName);
  ASSERT_NE(exiting, nullptr);
  HANDLE ender = ::CreateThread(nullptr, 0, &EndExitingCopy, exiting, 0, nullptr);
  ASSERT_NE(ender, nullptr);
  EXPECT_EQ(main->StartUp(), StartUpResult::InTray);
  EXPECT_NE(main->hwnd(), nullptr);
  ::WaitForSingleObject(ender, 5000);
  ::CloseHandle(ender);
}

// A copy whose exit outlasts the wait (a slow machine) is still going: the
// new copy starts beside it rather than end unseen.
TEST_F(MainWindowWin32Test, ACopyStillExitingAfterTheWaitIsNotWaitedForLonger) {
  win32::UniqueHandleNull exiting(::CreateMutexA(nullptr, FALSE, kInstanceMutexName));
  win32::UniqueHandleNull ending(::CreateMutexA(nullptr, FALSE, kEndingMutexName));
  ASSERT_TRUE(exiting && ending);
  main->SetExitingCopyWait(0);
  EXPECT_EQ(main->StartUp(), StartUpResult::InTray);
  EXPECT_NE(main->hwnd(), nullptr);
}

// ---- the hook ---------------------------------------------------------------------

std::vector<UINT>* recorded = nullptr;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (recorded != nullptr && (message == WM_NULL || message == WM_RBUTTONDOWN || message == WM_LBUTTONDOWN ||
                              message == WM_KEYDOWN || message == WM_CONTEXTMENU)) {
    recorded->push_back(message);
    if (message == WM_NULL) recorded->push_back(static_cast<UINT>(wParam + lParam));
  }
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(MoviePlayerHookWin32, RightButtonAndContextMenuKeyReachThePlayerAsNull) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &RecordingProc;
  wc.hInstance = instance;
  wc.lpszClassName = "HookTestCorvaneMoviePlayer";
  ::RegisterClassExA(&wc);
  HWND parent = ::CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, instance, nullptr);
  HWND other = ::CreateWindowExA(0, "Static", "", WS_CHILD, 0, 0, 10, 10, parent, nullptr, instance, nullptr);
  HWND player = ::CreateWindowExA(0, "HookTestCorvaneMoviePlayer", "", WS_CHILD, 0, 0, 10, 10, parent, nullptr,
                                  instance, nullptr);
  ASSERT_NE(player, nullptr);
  (void)other;
  EXPECT_EQ(FindMoviePlayerWindow(parent), player);
  EXPECT_EQ(FindMoviePlayerWindow(other), nullptr);

  std::vector<UINT> seen;
  recorded = &seen;
  ASSERT_TRUE(HookWindow(player, true));
  ::SendMessageA(player, WM_RBUTTONDOWN, 2, 5);
  ::SendMessageA(player, WM_KEYDOWN, VK_APPS, 1);
  ::SendMessageA(player, WM_CONTEXTMENU, 0, 0);
  ::SendMessageA(player, WM_LBUTTONDOWN, 1, 0);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_NULL, 7, WM_NULL, VK_APPS + 1, WM_NULL, 0, WM_LBUTTONDOWN}));

  ASSERT_TRUE(HookWindow(player, false));
  EXPECT_EQ(previousWindowProc, nullptr);
  seen.clear();
  ::SendMessageA(player, WM_RBUTTONDOWN, 0, 0);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_RBUTTONDOWN}));
  recorded = nullptr;
  ::DestroyWindow(parent);
}

// ---- the splash -------------------------------------------------------------------

TEST(SplashWin32, ShowsTheShippedPictureCentredOnTopWithoutTakingTheFocusAndFadesAway) {
  HWND before = ::GetForegroundWindow();
  Splash splash(::GetModuleHandleA(nullptr));
  std::string folder = MainWindow(::GetModuleHandleA(nullptr)).ApplicationFolder();
  ASSERT_TRUE(splash.ShowSplashFile(folder + "\\KeltSpl.spl")) << splash.error();
  splash.SetDisplayTime(0);
  ASSERT_TRUE(splash.IsShown());
  RECT r{};
  ::GetWindowRect(splash.hwnd(), &r);
  EXPECT_EQ(r.right - r.left, 460);
  EXPECT_EQ(r.bottom - r.top, 260);
  EXPECT_EQ(r.left, (::GetSystemMetrics(SM_CXSCREEN) - 460) / 2);
  EXPECT_EQ(r.top, (::GetSystemMetrics(SM_CYSCREEN) - 260) / 2);
  LONG_PTR ex = ::GetWindowLongPtrA(splash.hwnd(), GWL_EXSTYLE);
  EXPECT_NE(ex & WS_EX_TOPMOST, 0);
  EXPECT_NE(ex & WS_EX_TOOLWINDOW, 0);
  EXPECT_EQ(::GetForegroundWindow(), before);
  // Painted at once: the foot band's colour near the bottom left.
  HDC screen = ::GetDC(nullptr);
  COLORREF foot = ::GetPixel(screen, r.left + 230, r.bottom - 3);
  ::ReleaseDC(nullptr, screen);
  EXPECT_LT(GetRValue(foot) + GetGValue(foot) + GetBValue(foot), 3 * 0x30) << std::hex << foot;

  splash.Remove();
  DWORD end = ::GetTickCount() + 3000;
  while (splash.hwnd() != nullptr && ::GetTickCount() < end) Pump(1);
  EXPECT_EQ(splash.hwnd(), nullptr) << "the splash went away";
}

TEST(SplashWin32, AMissingOrBadFileShowsNothing) {
  Splash splash(::GetModuleHandleA(nullptr));
  EXPECT_FALSE(splash.ShowSplashFile("C:\\no\\such\\KeltSpl.spl"));
  EXPECT_EQ(splash.hwnd(), nullptr);
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  std::string bad = std::string(temp) + "corvane-bad.spl";
  if (FILE* f = std::fopen(bad.c_str(), "wb")) {
    std::fputs("CorvaneSplash 1\nsize 10 10\n", f);
    std::fclose(f);
  }
  EXPECT_FALSE(splash.ShowSplashFile(bad));
  EXPECT_NE(splash.error().find("line 2"), std::string::npos) << splash.error();
  EXPECT_EQ(splash.hwnd(), nullptr);
  splash.Remove();  // harmless
}

// ---- shell execute ------------------------------------------------------------------

TEST(ShellExecuteWin32, TheLoggingAdapterRecordsTheRequestInsteadOfOpeningIt) {
  const std::string log = testing::FreshTempFile("corvane-shell-test.log");
  auto adapter = testing::MakeLoggingTo(kShellExecuteLogVariable, log, [] { return MakeShellExecute(); });
  ASSERT_NE(dynamic_cast<LoggingShellExecute*>(adapter.get()), nullptr);
  adapter->Open(::GetDesktopWindow(), HelpOpenRequest("C:\\Program Files\\Corvane"));
  adapter->Open(nullptr, HelpOpenRequest("D:"));
  EXPECT_EQ(testing::ReadWholeFile(log).value_or(""),
            "(default)|C:\\Program Files\\Corvane\\OrvHelp.chm||C:\\|1|main\r\n"
            "(default)|D:\\OrvHelp.chm||C:\\|1|none\r\n");
  EXPECT_NE(dynamic_cast<Win32ShellExecute*>(MakeShellExecute().get()), nullptr);
}

}  // namespace
}  // namespace corvane::shell

namespace corvane::shell {
namespace {

// corvane.exe copied into a folder of its own with a movie that is missing
// or cut short: it says which file is damaged and that reinstalling mends
// it, and ends once the message is answered, instead of leaving a blank
// window without a caption or a close button.
struct MovieDamage {
  const char* what;
  std::size_t keptBytes;  // of the real movie; SIZE_MAX: no movie at all
};

class DamagedMovie : public ::testing::TestWithParam<MovieDamage> {};

TEST_P(DamagedMovie, SaysWhichFileAndThatReinstallingMendsItThenEnds) {
  const MovieDamage& c = GetParam();
  std::string from = win32::ProgramFolder();
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "corvane-movie-" + std::to_string(::GetCurrentProcessId()) + "-" +
                       std::to_string(c.keptBytes == SIZE_MAX ? 0 : c.keptBytes);
  ::CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_TRUE(::CopyFileA((from + "\\corvane.exe").c_str(), (folder + "\\corvane.exe").c_str(), FALSE));
  std::string movie = folder + "\\speed up.swf";
  ::DeleteFileA(movie.c_str());
  if (c.keptBytes != SIZE_MAX) {
    FILE* in = std::fopen((from + "\\speed up.swf").c_str(), "rb");
    ASSERT_NE(in, nullptr);
    std::vector<char> bytes(c.keptBytes);
    std::size_t got = std::fread(bytes.data(), 1, bytes.size(), in);
    std::fclose(in);
    FILE* out = std::fopen(movie.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(bytes.data(), 1, got, out);
    std::fclose(out);
  }
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string command = "\"" + folder + "\\corvane.exe\"";
  ASSERT_TRUE(::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi));
  HWND box = nullptr;
  for (int i = 0; i < 400 && box == nullptr; ++i) {
    box = corvane::testing::VisibleWindowOf(pi.dwProcessId, "#32770");
    if (box == nullptr) ::Sleep(50);
  }
  std::string text;
  if (box != nullptr) {
    char buffer[1024] = {};
    ::GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
    text = buffer;
    // No blank main window stands behind the message.
    HWND main = ::FindWindowA(kMainWindowClass, nullptr);
    EXPECT_TRUE(main == nullptr || !::IsWindowVisible(main)) << c.what;
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
  EXPECT_NE(text.find(movie), std::string::npos) << c.what << ": " << text;
  EXPECT_NE(text.find("Reinstalling Corvane mends this."), std::string::npos) << text;
  EXPECT_EQ(::WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0) << c.what << ": it did not end";
  if (::WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 9);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
}

INSTANTIATE_TEST_SUITE_P(Movies, DamagedMovie,
                         ::testing::Values(MovieDamage{"missing", SIZE_MAX}, MovieDamage{"cut short", 300}),
                         [](const ::testing::TestParamInfo<MovieDamage>& param) {
                           return std::string(param.index == 0 ? "Missing" : "CutShort");
                         });

}  // namespace
}  // namespace corvane::shell
