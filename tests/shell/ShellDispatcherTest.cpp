// What the main window does for each command, entry button and menu item,
// recorded through a fake window.
#include "shell/ShellDispatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane::shell {
namespace {

class RecordingActions : public IShellActions {
 public:
  std::vector<std::string> log;

  void MinimizeMainWindow() override { log.push_back("minimize"); }
  void HideMainWindow() override { log.push_back("hide-main"); }
  void ShowMainWindow() override { log.push_back("show-main"); }
  void BringMovieToFront() override { log.push_back("movie-front"); }
  void BringFrameToFront() override { log.push_back("frame-front"); }
  void SizeFrame(FrameSize size) override {
    log.push_back("frame " + std::to_string(size.width) + "x" + std::to_string(size.height));
  }
  void LoadFeature(Feature f) override { log.push_back("load " + Name(f)); }
  void UnloadFeature(Feature f) override { log.push_back("unload " + Name(f)); }
  void SetFeatureVisible(Feature f, bool visible) override {
    log.push_back((visible ? "show " : "hide ") + Name(f));
  }
  void MakeFeatureChildOfFrame(Feature f) override { log.push_back("into-frame " + Name(f)); }
  // What the two windows with a step before showing do in it.
  void BeforeShowFeature(Feature f) override {
    if (f == Feature::BackUp) log.push_back("intializeList");
    if (f == Feature::NormalMode) log.push_back("currWizardPage=0");
  }
  void ShowTrayIcon(bool show) override { log.push_back(show ? "tray-add" : "tray-remove"); }
  void ShowBalloonTip() override { log.push_back("balloon"); }
  void ShowTrayNotification(const TrayNotification& n) override {
    log.push_back("notification " + n.mPrompt);
    lastNotification = n;
  }
  TrayNotification TrayNotificationHere() const override {
    return TrayNotificationFor(1024 * 15, 768 * 15, 15, 15);
  }
  void OpenWithShell(const ShellOpenRequest& request) override {
    log.push_back("shell " + request.file);
    lastRequest = request;
  }
  std::string ApplicationFolder() const override { return "C:\\Corvane"; }
  void DragWindow() override { log.push_back("drag"); }
  void RunShortcut(SystemShortcut s) override {
    log.push_back("shortcut " + std::to_string(static_cast<int>(s)));
  }
  bool RestartWindows() override {
    log.push_back("restart-windows");
    return restartTaken;
  }
  void BeginEnding() override { log.push_back("ending"); }
  void EndProgram() override { log.push_back("end"); }
  void ShowPlainMessage(const std::string& text) override { log.push_back("message " + text); }

  static std::string Name(Feature f) { return std::string(FeatureName(f)); }

  TrayNotification lastNotification;
  ShellOpenRequest lastRequest;
  bool restartTaken = true;
};

using Log = std::vector<std::string>;

const Log kHideAll = {"hide frmWizardMode",        "hide frmNormalMode",     "hide frmBackUp",
                      "hide frmNetPingerSettings", "hide frmSystemStatus",   "hide frmRamConfiguration",
                      "hide frmMainSettings"};

Log Concat(std::initializer_list<Log> parts) {
  Log all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

Log ShowInFrame(const std::string& name) {
  return Concat({kHideAll, {"load " + name, "into-frame " + name, "show " + name, "frame-front"}});
}

class DispatcherTest : public ::testing::Test {
 protected:
  void SetUp() override { currentOsFamily = 6; }
  void TearDown() override { currentOsFamily = 0; }
  Log Run(std::string_view command) {
    actions.log.clear();
    dispatcher.OnFsCommand(command, "ignored argument");
    return actions.log;
  }
  RecordingActions actions;
  ShellDispatcher dispatcher{actions};
};

TEST_F(DispatcherTest, FeatureCommandsShowTheirWindowInTheFrameThenSizeIt) {
  EXPECT_EQ(Run("IDC_FS_wizardMode"), Concat({ShowInFrame("frmWizardMode"), {"frame 440x250"}}));
  EXPECT_EQ(Run("IDC_FS_pingSetting"), Concat({ShowInFrame("frmNetPingerSettings"), {"frame 440x244"}}));
  EXPECT_EQ(Run("IDC_FS_systemSatus"), Concat({ShowInFrame("frmSystemStatus"), {"frame 440x255"}}));
  EXPECT_EQ(Run("IDC_FS_ramConfig"), Concat({ShowInFrame("frmRamConfiguration"), {"frame 440x240"}}));
  EXPECT_EQ(Run("IDC_FS_settings"), Concat({ShowInFrame("frmMainSettings"), {"frame 460x245"}}));
  // Back from the settings' 460 to 440.
  EXPECT_EQ(Run("IDC_FS_wizardMode").back(), "frame 440x250");
}

TEST_F(DispatcherTest, BackupManagerRebuildsItsListFirst) {
  EXPECT_EQ(Run("IDC_FS_backupManger"),
            Concat({{"intializeList"}, ShowInFrame("frmBackUp"), {"frame 440x246"}}));
}

TEST_F(DispatcherTest, AdvancedEditorIsCreatedAfreshAtItsFirstPage) {
  EXPECT_EQ(Run("IDC_FS_normalMode"),
            Concat({{"unload frmNormalMode", "currWizardPage=0", "load frmNormalMode"},
                    ShowInFrame("frmNormalMode"),
                    {"frame 440x252"}}));
}

TEST_F(DispatcherTest, HomeStateCommands) {
  EXPECT_EQ(Run("IDC_FS_home"), Log{"movie-front"});
  EXPECT_EQ(Run("IDC_FS_hide"), Log{"movie-front"});
  EXPECT_EQ(Run("IDC_FS_main"), Concat({kHideAll, {"movie-front"}}));
  EXPECT_EQ(Run("IDC_FS_sysSettingClicked"), Concat({kHideAll, {"movie-front"}}));
}

TEST_F(DispatcherTest, AboutHidesTheSetBetweenTwoMovieRaises) {
  EXPECT_EQ(Run("IDC_FS_about"), Concat({{"movie-front"}, kHideAll, {"movie-front"}}));
}

TEST_F(DispatcherTest, CloseAboutOnAFreshStartShowsNothing) {
  // No window of the set has been in the frame: each is still a hidden
  // pop-up, and showing it would put it loose on the screen.
  Run("IDC_FS_about");
  EXPECT_EQ(Run("IDC_FS_closeAbout"), Log{});
}

TEST_F(DispatcherTest, CloseAboutShowsEachWindowOfTheSetThatHasBeenInTheFrame) {
  // Every window the set holds, now or later: once shown in the frame, it
  // is visible there again after the About screen; nothing else moves.
  for (Feature f : kFeatureWindowSet) {
    SCOPED_TRACE(RecordingActions::Name(f));
    RecordingActions fresh;
    ShellDispatcher d{fresh};
    d.showInChildFrame(f);
    d.OnFsCommand("IDC_FS_home");
    d.OnFsCommand("IDC_FS_about");
    fresh.log.clear();
    d.OnFsCommand("IDC_FS_closeAbout");
    EXPECT_EQ(fresh.log, Log{"show " + RecordingActions::Name(f)});
  }
}

TEST_F(DispatcherTest, CloseAboutShowsTheFramesWindowsInSetOrder) {
  Run("IDC_FS_settings");
  Run("IDC_FS_backupManger");
  dispatcher.OnEntryButton(EntryButton::cmdSorbek, 1);
  Run("IDC_FS_about");
  EXPECT_EQ(Run("IDC_FS_closeAbout"), (Log{"show frmWizardMode", "show frmBackUp", "show frmMainSettings"}));
}

TEST_F(DispatcherTest, AnUnloadedWindowCountsAsNeverShownUntilItIsInTheFrameAgain) {
  Run("IDC_FS_normalMode");
  Run("IDC_FS_settings");
  dispatcher.EndSession();
  Run("IDC_FS_about");
  EXPECT_EQ(Run("IDC_FS_closeAbout"), Log{});
  Run("IDC_FS_normalMode");
  Run("IDC_FS_about");
  EXPECT_EQ(Run("IDC_FS_closeAbout"), Log{"show frmNormalMode"});
}

TEST_F(DispatcherTest, WindowCommands) {
  EXPECT_EQ(Run("IDC_FS_minimize"), Log{"minimize"});
  EXPECT_EQ(Run("Drag"), Log{"drag"});
  EXPECT_EQ(Run("IDC_FS_help"), Log{"shell C:\\Corvane\\OrvHelp.chm"});
  EXPECT_EQ(actions.lastRequest.directory, "C:\\");
  EXPECT_TRUE(actions.lastRequest.defaultVerb);
  EXPECT_TRUE(actions.lastRequest.parameters.empty());
  EXPECT_EQ(actions.lastRequest.showCommand, 1);
}

TEST_F(DispatcherTest, ShortcutCommands) {
  EXPECT_EQ(Run("IDC_FS_internetProperties"), Log{"shortcut 0"});
  EXPECT_EQ(Run("IDC_FS_systemSetting"), Log{"shortcut 1"});
  EXPECT_EQ(Run("IDC_FS_modemSetting"), Log{"shortcut 2"});
  EXPECT_EQ(Run("IDC_FS_networkSetting"), Log{"shortcut 3"});
}

// Marked as ending before the first unload: a copy started during the
// unloads waits for this one instead of handing itself to it.
TEST_F(DispatcherTest, CloseUnloadsInSetOrderRemovesTheIconAndEnds) {
  EXPECT_EQ(Run("IDC_FS_close"),
            (Log{"ending", "unload frmWizardMode", "unload frmNormalMode", "unload frmBackUp",
                 "unload frmNetPingerSettings", "unload frmSystemStatus",
                 "unload frmRamConfiguration", "unload frmMainSettings", "tray-remove", "end"}));
}

// The windows and the icon go only when the session really ends
// (EndSession), so a refused or cancelled restart leaves them all.
TEST_F(DispatcherTest, RestartAsksFirstAndNeitherUnloadsNorEndsTheProgram) {
  EXPECT_EQ(Run("IDC_FS_restart"), Log{"restart-windows"});
}

TEST_F(DispatcherTest, ARefusedRestartSaysSoAndKeepsTheIconAndTheWindows) {
  actions.restartTaken = false;
  EXPECT_EQ(Run("IDC_FS_restart"),
            (Log{"restart-windows", std::string("message ") + kRestartRefusedMessage}));
}

TEST_F(DispatcherTest, ExitMenuRunsTheExitSequence) {
  actions.log.clear();
  dispatcher.OnTrayMenu(TrayMenuItem::mnuExit);
  EXPECT_EQ(actions.log,
            (Log{"ending", "unload frmWizardMode", "unload frmNormalMode", "unload frmBackUp",
                 "unload frmNetPingerSettings", "unload frmRamConfiguration",
                 "unload frmMainSettings", "unload frmSystemStatus", "tray-remove", "end"}));
  actions.log.clear();
  dispatcher.OnTrayMenu(TrayMenuItem::mnuMainWindow);
  dispatcher.OnTrayMenu(TrayMenuItem::mnuHelp);
  EXPECT_EQ(actions.log, (Log{"show-main", "shell C:\\Corvane\\OrvHelp.chm"}));
}

TEST_F(DispatcherTest, EndOfTheSessionUnloadsAndRemovesTheIconButLeavesTheEndToWindows) {
  actions.log.clear();
  dispatcher.EndSession();
  EXPECT_EQ(actions.log,
            (Log{"unload frmWizardMode", "unload frmNormalMode", "unload frmBackUp",
                 "unload frmNetPingerSettings", "unload frmRamConfiguration",
                 "unload frmMainSettings", "unload frmSystemStatus", "tray-remove"}));
}

TEST_F(DispatcherTest, OtherTextsAndArgumentsAreIgnored) {
  EXPECT_TRUE(Run("idc_fs_home").empty());
  EXPECT_TRUE(Run("").empty());
  EXPECT_TRUE(Run("IDC_FS_Home").empty());
  EXPECT_TRUE(Run("IDC_FS_home ").empty());
  EXPECT_FALSE(dispatcher.OnFsCommand("idc_fs_home"));
  EXPECT_TRUE(dispatcher.OnFsCommand("IDC_FS_home", "idc_fs_close"));
}

TEST_F(DispatcherTest, TrayStepShowsTheBalloonOnNtAndTheNotificationOn9x) {
  currentOsFamily = 5;
  EXPECT_EQ(Run("IDC_FS_tray"), (Log{"hide-main", "balloon"}));
  currentOsFamily = 3;
  EXPECT_EQ(Run("IDC_FS_tray"), (Log{"hide-main", "notification The Program Still Running Here"}));
  const TrayNotification& n = actions.lastNotification;
  EXPECT_EQ(n.mFlags, 64);
  EXPECT_EQ(n.mCaption, "Program notification");
  EXPECT_EQ(n.nTime, 5);
  EXPECT_TRUE(n.NoPointer);
  EXPECT_EQ(n.mColor, 0xC8F8F2u);
  EXPECT_FLOAT_EQ(n.X, 984.0f);
  EXPECT_FLOAT_EQ(n.Y, 768.0f);
  EXPECT_EQ(n.Intensity, 0);
}

TEST(TrayNotificationPlace, ScreenTwipsOverTwipsPerPixel) {
  auto n = TrayNotificationFor(1280 * 12, 1024 * 12, 12, 12);
  EXPECT_FLOAT_EQ(n.X, 1240.0f);
  EXPECT_FLOAT_EQ(n.Y, 1024.0f);
  // A zero twips-per-pixel (a broken display query) falls back to 15.
  auto fallback = TrayNotificationFor(15360, 11520, 0, 0);
  EXPECT_FLOAT_EQ(fallback.X, 984.0f);
}

TEST_F(DispatcherTest, EntryButtonsAndTheirMessages) {
  auto press = [&](EntryButton b, int i) {
    actions.log.clear();
    dispatcher.OnEntryButton(b, i);
    return actions.log;
  };
  EXPECT_EQ(press(EntryButton::cmdSorbek, 1), ShowInFrame("frmWizardMode"));
  EXPECT_EQ(press(EntryButton::cmdSorbek, 2), ShowInFrame("frmNormalMode"));
  EXPECT_EQ(press(EntryButton::cmdSorbek, 3), Concat({{"intializeList"}, ShowInFrame("frmBackUp")}));
  EXPECT_EQ(press(EntryButton::cmdSorbek, 0), Log{"message Nothandeled"});
  EXPECT_EQ(press(EntryButton::cmdSorbek, 7), Log{"message Nothandeled"});
  EXPECT_EQ(press(EntryButton::cmdNetPinger, 1), ShowInFrame("frmNetPingerSettings"));
  EXPECT_EQ(press(EntryButton::cmdNetPinger, 0), Log{"message Nothandeled"});
  EXPECT_EQ(press(EntryButton::cmdRamBooster, 1), ShowInFrame("frmSystemStatus"));
  EXPECT_EQ(press(EntryButton::cmdRamBooster, 2), ShowInFrame("frmRamConfiguration"));
  EXPECT_EQ(press(EntryButton::cmdRamBooster, 0), Log{"message Not handeled yet"});
  EXPECT_EQ(press(EntryButton::cmdSystemSettings, 1), Log{"shortcut 0"});
  EXPECT_EQ(press(EntryButton::cmdSystemSettings, 4), Log{"shortcut 3"});
  EXPECT_EQ(press(EntryButton::cmdSystemSettings, 0), Log{"message Not handeled"});
  EXPECT_EQ(press(EntryButton::cmdSystemSettings, 5), Log{"message Not handeled"});
  EXPECT_EQ(press(EntryButton::cmdMainSettings, 0), ShowInFrame("frmMainSettings"));
  EXPECT_TRUE(press(EntryButton::cmdHomePage, 0).empty());
  // The entry buttons never resize the frame.
  for (int i = 0; i < 5; ++i) {
    for (const auto& line : press(EntryButton::cmdRamBooster, i)) {
      EXPECT_NE(line.rfind("frame ", 0), 0u);
    }
  }
}

}  // namespace
}  // namespace corvane::shell
