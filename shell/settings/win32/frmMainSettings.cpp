#include "shell/settings/win32/frmMainSettings.h"

#include "platform/win32/ProgramFile.h"

namespace corvane::shell {

std::unique_ptr<ui::FormModel> frmMainSettings::MakeModel(win32::IShellServices& services) {
  return std::make_unique<MainSettingsModel>(
      services.registry(), view(), StartupEntryData(services.ApplicationFolder(), win32::ProgramFileName()));
}

}  // namespace corvane::shell
