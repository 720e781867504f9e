// IShellServices for the feature windows' tests under Wine: the real
// registry, this program's instance and folder, and a record of the skin
// calls in their order.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/Win32Registry.h"
#include "shell/win32/ShellServices.h"
#include "platform/win32/ProgramFile.h"

namespace corvane::shell::testing {

class FakeShellServices : public IShellServices {
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

  std::vector<std::string> calls;

 private:
  win32::Win32Registry registry_;
};

}  // namespace corvane::shell::testing
