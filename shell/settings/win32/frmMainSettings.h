// The main settings window frmMainSettings: two check boxes in the group
// "Windows Startup" and "&Save" (kMainSettingsLayout) over
// MainSettingsModel. The main window loads it hidden at start-up (which
// loads the settings and refreshes the start-up entry) and shows it in its
// child frame for "IDC_FS_settings".
#pragma once

#include <cstdint>

#include "platform/win32/FormWindow.h"
#include "shell/settings/MainSettings.h"

namespace corvane::shell {

class frmMainSettings final : public win32::FormWindow {
 public:
  // The control identifiers, for tests.
  static constexpr int kIdFrameMainSettings = shell::kIdFrameMainSettings;
  static constexpr int kIdFrameStartup = shell::kIdFrameStartup;
  static constexpr int kIdChkRunMainProgram = shell::kIdChkRunMainProgram;
  static constexpr int kIdChkRunProgramMini = shell::kIdChkRunProgramMini;
  static constexpr int kIdCmdSave = shell::kIdCmdSave;

  frmMainSettings() : FormWindow(kMainSettingsLayout) {}

  // Read by the start-up sequence: 1 = start hidden in the tray.
  std::int16_t chkRunProgramMini() const { return Settings() ? Settings()->chkRunProgramMini() : 0; }
  bool RunsInTray() const { return Settings() != nullptr && Settings()->RunsInTray(); }
  const MainSettingsModel* Settings() const { return static_cast<const MainSettingsModel*>(model()); }

 protected:
  std::unique_ptr<ui::FormModel> MakeModel(win32::IShellServices& services) override;
};

}  // namespace corvane::shell
