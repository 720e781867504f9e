// The main settings window frmMainSettings: two check boxes in the group
// "Windows Startup" and "&Save". A feature window: the main window loads it
// hidden at start-up (which loads the settings and refreshes the start-up
// entry) and shows it in its child frame for "IDC_FS_settings".
#pragma once

#include <windows.h>

#include <memory>

#include "platform/win32/Window.h"
#include "shell/settings/MainSettings.h"
#include "shell/win32/ShellServices.h"

namespace corvane::shell {

class frmMainSettings final : public FeatureWindow, public win32::Window<frmMainSettings> {
 public:
  // The window's own size: that of its place in the child frame.
  static constexpr int kWidth = 460;
  static constexpr int kHeight = 245;

  // Control identifiers, for the main window's skinning walk and for tests.
  enum : int {
    kIdFrameMainSettings = 100,
    kIdFrameStartup = 101,
    kIdChkRunMainProgram = 102,
    kIdChkRunProgramMini = 103,
    kIdCmdSave = 104,
  };

  bool Load(IShellServices& services, HWND owner) override;
  void Unload() override;
  bool IsLoaded() const override { return hwnd() != nullptr; }
  HWND hwnd() const override { return Window::hwnd(); }

  // The routines of the window, on its model.
  void LoadMainSettings() { model_->LoadMainSettings(); }
  void SaveMainSettings() { model_->SaveMainSettings(); }
  void SetSettingsChanged(bool changed) { model_->SetSettingsChanged(changed); }
  // Read by the start-up sequence: 1 = start hidden in the tray.
  std::int16_t chkRunProgramMini() const { return model_ ? model_->chkRunProgramMini() : 0; }
  bool RunsInTray() const { return model_ && model_->RunsInTray(); }
  const MainSettingsModel* model() const { return model_.get(); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND Control(int id) const { return ::GetDlgItem(Window::hwnd(), id); }
  void CreateControls(HINSTANCE instance);

  std::unique_ptr<MainSettingsModel> model_;
};

}  // namespace corvane::shell
