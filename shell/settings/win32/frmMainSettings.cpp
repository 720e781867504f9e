#include "shell/settings/win32/frmMainSettings.h"

#include "platform/win32/ProgramFile.h"

namespace corvane::shell {

std::unique_ptr<ui::FormModel> frmMainSettings::MakeModel(win32::IShellServices& services) {
  return std::make_unique<MainSettingsModel>(
      MainSettingsContext{services.registry(), StartupEntryData(services.ApplicationFolder(), win32::ProgramFileName())},
      view(), timers());
}

}  // namespace corvane::shell
