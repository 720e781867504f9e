// The start-up's order and its three decisions.
#include "shell/StartUp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace corvane::shell {
namespace {

class RecordingSteps : public IStartUpSteps {
 public:
  bool previous = false;
  bool inTray = false;
  bool movieLoads = true;
  std::vector<std::string> log;

  void CreateInstanceMutex() override { log.push_back("CreateMutex"); }
  bool PreviousInstanceRuns() override {
    log.push_back("EndIfPreviousInstance");
    return previous;
  }
  void ShowRunningCopy() override { log.push_back("ShowRunningCopy"); }
  void ShowSplash() override { log.push_back("ShowSplash"); }
  void SizeMainWindow() override { log.push_back("SizeMainWindow"); }
  void PlaceMovie() override { log.push_back("PlaceMovie"); }
  void FrameThenMovieToFront() override { log.push_back("FrameThenMovieToFront"); }
  bool LoadMovie() override {
    log.push_back("LoadMovie");
    return movieLoads;
  }
  void TellMovieDamaged() override { log.push_back("TellMovieDamaged"); }
  void LoadSkin() override { log.push_back("LoadSkin"); }
  void DetectOsFamily() override { log.push_back("DetectOsFamily"); }
  void FillPresetProfiles() override { log.push_back("FillPresetProfiles"); }
  void ShowTrayIcon() override { log.push_back("ShowTrayIcon"); }
  void LoadFeatureWindows() override { log.push_back("LoadFeatureWindows"); }
  bool RunProgramInTray() override {
    log.push_back("StartInTray");
    return inTray;
  }
  void TrayStep() override { log.push_back("TrayStep"); }
  void RemoveSplash() override { log.push_back("RemoveSplash"); }
  void HookMoviePlayer() override { log.push_back("HookMoviePlayer"); }
};

std::vector<std::string> FullOrder() {
  std::vector<std::string> names;
  for (StartUpStep step : kStartUpOrder) names.emplace_back(StartUpStepName(step));
  return names;
}

TEST(StartUp, RunsEveryStepInItsOrder) {
  RecordingSteps steps;
  EXPECT_EQ(RunStartUp(steps), StartUpResult::Shown);
  EXPECT_EQ(steps.log, FullOrder());
  EXPECT_EQ(steps.log.front(), "CreateMutex");
  EXPECT_EQ(steps.log[2], "ShowSplash");
  EXPECT_EQ(steps.log.back(), "HookMoviePlayer");
}

TEST(StartUp, ASecondInstanceShowsTheRunningCopyAndEndsBeforeShowingAnythingOfItsOwn) {
  RecordingSteps steps;
  steps.previous = true;
  EXPECT_EQ(RunStartUp(steps), StartUpResult::PreviousInstance);
  EXPECT_EQ(steps.log, (std::vector<std::string>{"CreateMutex", "EndIfPreviousInstance", "ShowRunningCopy"}));
}

TEST(StartUp, TheTraySettingHidesTheWindowBeforeTheSplashGoes) {
  RecordingSteps steps;
  steps.inTray = true;
  EXPECT_EQ(RunStartUp(steps), StartUpResult::InTray);
  auto expected = FullOrder();
  auto at = std::find(expected.begin(), expected.end(), "StartInTray");
  expected.insert(at + 1, "TrayStep");
  EXPECT_EQ(steps.log, expected);
  // The tray icon exists before the window hides to it.
  auto pos = [&](const char* n) { return std::find(steps.log.begin(), steps.log.end(), n) - steps.log.begin(); };
  EXPECT_LT(pos("ShowTrayIcon"), pos("TrayStep"));
  EXPECT_LT(pos("LoadFeatureWindows"), pos("StartInTray"));
}

// A movie that does not load would leave a blank window without a caption
// or a close button: the user is told, over no splash, and nothing more is
// started (no icon, no feature windows).
TEST(StartUp, AMovieThatDoesNotLoadEndsTheStartUpWithAMessageAfterTheSplashGoes) {
  RecordingSteps steps;
  steps.movieLoads = false;
  EXPECT_EQ(RunStartUp(steps), StartUpResult::Ended);
  auto expected = FullOrder();
  expected.erase(std::find(expected.begin(), expected.end(), "LoadMovie") + 1, expected.end());
  expected.push_back("RemoveSplash");
  expected.push_back("TellMovieDamaged");
  EXPECT_EQ(steps.log, expected);
}

TEST(StartUp, TheDamagedMovieMessageNamesTheFileAndTheMend) {
  std::string text = DamagedMovieMessage("C:\\Corvane\\speed up.swf");
  EXPECT_NE(text.find("C:\\Corvane\\speed up.swf"), std::string::npos);
  EXPECT_NE(text.find("damaged or missing"), std::string::npos);
  EXPECT_NE(text.find("Reinstalling Corvane mends this."), std::string::npos);
}

}  // namespace
}  // namespace corvane::shell
