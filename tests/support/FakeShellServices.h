// IShellServices for the feature windows' tests under Wine: the real
// registry, this program's instance and folder, the real yield pump, a
// record of the skin calls in their order, and the sounds that would have
// played.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/FeatureWindow.h"
#include "platform/win32/MessagePump.h"
#include "platform/win32/ProgramFile.h"
#include "platform/win32/Win32Registry.h"

namespace corvane::testing {

class RecordingSoundPlayer final : public ui::ISoundPlayer {
 public:
  void Play(const std::string& file) override { played.push_back(file); }
  std::vector<std::string> played;
};

class FakeShellServices : public win32::IShellServices {
 public:
  IRegistry& registry() override { return registry_; }
  HINSTANCE instance() const override { return ::GetModuleHandleA(nullptr); }
  std::string ApplicationFolder() const override { return win32::ProgramFolder(); }
  HWND mainWindow() const override { return nullptr; }
  bool ApplySkin(HWND window, const char* objectName) override {
    calls.push_back(std::string("ApplySkin ") + objectName + (window != nullptr ? "" : " (no window)"));
    return false;
  }
  void applyAllControls(HWND form) override {
    calls.push_back(std::string("applyAllControls") + (form != nullptr ? "" : " (no window)"));
  }
  void ReturnHome() override { calls.push_back("ReturnHome"); }
  void SendMovieHome() override { calls.push_back("SendMovieHome"); }
  ui::YieldPump& pump() override { return pump_; }
  ui::ISoundPlayer& sounds() override { return sounds_; }

  std::vector<std::string> calls;
  RecordingSoundPlayer sounds_;

 private:
  win32::Win32Registry registry_;
  ui::YieldPump pump_{&win32::DispatchWaitingMessages};
};

}  // namespace corvane::testing
