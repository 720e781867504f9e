#include "shell/StartUp.h"

namespace corvane::shell {

std::string_view StartUpStepName(StartUpStep step) {
  switch (step) {
    case StartUpStep::CreateMutex: return "CreateMutex";
    case StartUpStep::EndIfPreviousInstance: return "EndIfPreviousInstance";
    case StartUpStep::ShowSplash: return "ShowSplash";
    case StartUpStep::SizeMainWindow: return "SizeMainWindow";
    case StartUpStep::PlaceMovie: return "PlaceMovie";
    case StartUpStep::FrameThenMovieToFront: return "FrameThenMovieToFront";
    case StartUpStep::LoadMovie: return "LoadMovie";
    case StartUpStep::LoadSkin: return "LoadSkin";
    case StartUpStep::DetectOsFamily: return "DetectOsFamily";
    case StartUpStep::FillPresetProfiles: return "FillPresetProfiles";
    case StartUpStep::ShowTrayIcon: return "ShowTrayIcon";
    case StartUpStep::LoadFeatureWindows: return "LoadFeatureWindows";
    case StartUpStep::StartInTray: return "StartInTray";
    case StartUpStep::RemoveSplash: return "RemoveSplash";
    case StartUpStep::HookMoviePlayer: return "HookMoviePlayer";
  }
  return {};
}

std::string DamagedMovieMessage(std::string_view moviePath) {
  return "The program's movie is damaged or missing:\n\n" + std::string(moviePath) +
         "\n\nWithout it Corvane has no window to show, so it ends now. Reinstalling Corvane mends this.";
}

StartUpResult RunStartUp(IStartUpSteps& steps) {
  bool inTray = false;
  for (StartUpStep step : kStartUpOrder) {
    switch (step) {
      case StartUpStep::CreateMutex: steps.CreateInstanceMutex(); break;
      case StartUpStep::EndIfPreviousInstance:
        if (steps.PreviousInstanceRuns()) {
          steps.ShowRunningCopy();
          return StartUpResult::PreviousInstance;
        }
        break;
      case StartUpStep::ShowSplash: steps.ShowSplash(); break;
      case StartUpStep::SizeMainWindow: steps.SizeMainWindow(); break;
      case StartUpStep::PlaceMovie: steps.PlaceMovie(); break;
      case StartUpStep::FrameThenMovieToFront: steps.FrameThenMovieToFront(); break;
      case StartUpStep::LoadMovie:
        if (!steps.LoadMovie()) {
          steps.RemoveSplash();
          steps.TellMovieDamaged();
          return StartUpResult::Ended;
        }
        break;
      case StartUpStep::LoadSkin: steps.LoadSkin(); break;
      case StartUpStep::DetectOsFamily: steps.DetectOsFamily(); break;
      case StartUpStep::FillPresetProfiles: steps.FillPresetProfiles(); break;
      case StartUpStep::ShowTrayIcon: steps.ShowTrayIcon(); break;
      case StartUpStep::LoadFeatureWindows: steps.LoadFeatureWindows(); break;
      case StartUpStep::StartInTray:
        if (steps.RunProgramInTray()) {
          steps.TrayStep();
          inTray = true;
        }
        break;
      case StartUpStep::RemoveSplash: steps.RemoveSplash(); break;
      case StartUpStep::HookMoviePlayer: steps.HookMoviePlayer(); break;
    }
  }
  return inTray ? StartUpResult::InTray : StartUpResult::Shown;
}

}  // namespace corvane::shell
