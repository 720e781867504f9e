// The main window's start-up, step by step in its fixed order. The window
// carries out each step (IStartUpSteps); RunStartUp keeps the order and the
// three decisions: a second instance asks the running copy to show its main
// window and ends at once, a movie that does not load ends the start-up
// with a message once the splash is gone, and the tray setting hides the
// window before the splash goes.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace corvane::shell {

enum class StartUpStep {
  CreateMutex,            // 1  "QuenbyCorvane", held for the life of the process
  EndIfPreviousInstance,  // 2  the running copy shows itself; nothing of this one is shown
  ShowSplash,             // 3  "\KeltSpl.spl"
  SizeMainWindow,         // 4  10710 x 7485 twips at 0, 0
  PlaceMovie,             // 5  0, 0, 675 x 435 pixels
  FrameThenMovieToFront,  // 6  the movie ends on top of the frame
  LoadMovie,              // 7  "\speed up.swf"
  LoadSkin,               // 8  "\KeltMask.skn", "Main", "NoFrame"
  DetectOsFamily,         // 9
  FillPresetProfiles,     // 10 presets 1 to 8
  ShowTrayIcon,           // 11 Tray1.Show true
  LoadFeatureWindows,     // 12 six windows, hidden
  StartInTray,            // 13 when "Run Program In system tray" is checked
  RemoveSplash,           // 14
  HookMoviePlayer,        // 15 right-button presses never reach the player
};

inline constexpr std::array<StartUpStep, 15> kStartUpOrder{
    StartUpStep::CreateMutex,       StartUpStep::EndIfPreviousInstance,
    StartUpStep::ShowSplash,        StartUpStep::SizeMainWindow,
    StartUpStep::PlaceMovie,        StartUpStep::FrameThenMovieToFront,
    StartUpStep::LoadMovie,         StartUpStep::LoadSkin,
    StartUpStep::DetectOsFamily,    StartUpStep::FillPresetProfiles,
    StartUpStep::ShowTrayIcon,      StartUpStep::LoadFeatureWindows,
    StartUpStep::StartInTray,       StartUpStep::RemoveSplash,
    StartUpStep::HookMoviePlayer};

std::string_view StartUpStepName(StartUpStep step);

class IStartUpSteps {
 public:
  virtual ~IStartUpSteps() = default;
  virtual void CreateInstanceMutex() = 0;
  // Whether another copy of the program already runs.
  virtual bool PreviousInstanceRuns() = 0;
  // Asks the copy that runs to show its main window, restored and in front,
  // as its tray menu's "Main Window" does; nothing when it has no window yet.
  virtual void ShowRunningCopy() = 0;
  virtual void ShowSplash() = 0;
  virtual void SizeMainWindow() = 0;
  virtual void PlaceMovie() = 0;
  virtual void FrameThenMovieToFront() = 0;
  // False when the movie is missing or damaged: the window would be a
  // blank rectangle without a caption or a close button.
  virtual bool LoadMovie() = 0;
  // Tells the user which file is damaged and that reinstalling mends it.
  virtual void TellMovieDamaged() = 0;
  virtual void LoadSkin() = 0;
  virtual void DetectOsFamily() = 0;
  virtual void FillPresetProfiles() = 0;
  virtual void ShowTrayIcon() = 0;
  virtual void LoadFeatureWindows() = 0;
  // chkRunProgramMini of frmMainSettings, as its load read it.
  virtual bool RunProgramInTray() = 0;
  virtual void TrayStep() = 0;
  virtual void RemoveSplash() = 0;
  virtual void HookMoviePlayer() = 0;
};

enum class StartUpResult {
  Shown,             // the main window is visible
  InTray,            // the tray step hid it
  PreviousInstance,  // another copy runs and was asked to show itself; this one
                     // ends without showing anything
  Ended,             // the program cannot run (its movie is damaged or missing);
                     // the user was told why and the program ends
};

StartUpResult RunStartUp(IStartUpSteps& steps);

// What the user is told when the movie does not load: which file, and that
// reinstalling mends it.
std::string DamagedMovieMessage(std::string_view moviePath);

}  // namespace corvane::shell
