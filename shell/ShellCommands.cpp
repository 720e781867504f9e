#include "shell/ShellCommands.h"

#include <algorithm>

// The layouts' own declarations, which must agree with those that the
// feature table names.
#include "memory/RamConfiguration.h"
#include "memory/SystemStatus.h"
#include "pinger/PingerSettings.h"
#include "shell/settings/MainSettings.h"
#include "tuning/BackupWindow.h"
#include "tuning/NormalModeLayout.h"
#include "tuning/WizardMode.h"

namespace corvane::shell {

const std::array<CommandEntry, 23> kCommandTable{{
    {"IDC_FS_minimize", ShellCommand::Minimize},
    {"IDC_FS_about", ShellCommand::About},
    {"IDC_FS_closeAbout", ShellCommand::CloseAbout},
    {"IDC_FS_main", ShellCommand::Main},
    {"IDC_FS_close", ShellCommand::Close},
    {"IDC_FS_tray", ShellCommand::Tray},
    {"IDC_FS_home", ShellCommand::Home},
    {"IDC_FS_settings", ShellCommand::Settings},
    {"IDC_FS_help", ShellCommand::Help},
    {"Drag", ShellCommand::Drag},
    {"IDC_FS_hide", ShellCommand::Hide},
    {"IDC_FS_wizardMode", ShellCommand::WizardMode},
    {"IDC_FS_normalMode", ShellCommand::NormalMode},
    {"IDC_FS_backupManger", ShellCommand::BackupManager},
    {"IDC_FS_pingSetting", ShellCommand::PingSetting},
    {"IDC_FS_systemSatus", ShellCommand::SystemStatus},
    {"IDC_FS_ramConfig", ShellCommand::RamConfig},
    {"IDC_FS_internetProperties", ShellCommand::InternetProperties},
    {"IDC_FS_systemSetting", ShellCommand::SystemSetting},
    {"IDC_FS_modemSetting", ShellCommand::ModemSetting},
    {"IDC_FS_networkSetting", ShellCommand::NetworkSetting},
    {"IDC_FS_restart", ShellCommand::Restart},
    {"IDC_FS_sysSettingClicked", ShellCommand::SysSettingClicked},
}};

std::string_view FeatureName(Feature feature) { return FeatureRowOf(feature).layout().name; }

FrameSize FrameSizeOf(Feature feature) {
  const ui::Layout& layout = FeatureRowOf(feature).layout();
  return {ui::ToPixels(layout.unit, layout.width, kDesignTwipsPerPixel),
          ui::ToPixels(layout.unit, layout.height, kDesignTwipsPerPixel)};
}

std::optional<ShellCommand> LookUpCommand(std::string_view text) {
  auto found = std::find_if(kCommandTable.begin(), kCommandTable.end(),
                            [&](const CommandEntry& entry) { return entry.text == text; });
  if (found == kCommandTable.end()) return std::nullopt;
  return found->command;
}

std::string_view CommandText(ShellCommand command) {
  for (const auto& entry : kCommandTable) {
    if (entry.command == command) return entry.text;
  }
  return {};
}

std::optional<FrameSize> FrameSizeFor(ShellCommand command) {
  if (auto feature = FeatureShownBy(command)) return FrameSizeOf(*feature);
  return std::nullopt;
}

std::optional<Feature> FeatureShownBy(ShellCommand command) {
  for (const FeatureRow& row : kFeatureTable) {
    if (row.command == command) return row.feature;
  }
  return std::nullopt;
}

std::optional<SystemShortcut> ShortcutRunBy(ShellCommand command) {
  switch (command) {
    case ShellCommand::InternetProperties: return SystemShortcut::InternetProperties;
    case ShellCommand::SystemSetting: return SystemShortcut::SystemProperties;
    case ShellCommand::ModemSetting: return SystemShortcut::ModemSettings;
    case ShellCommand::NetworkSetting: return SystemShortcut::NetworkSettings;
    default: return std::nullopt;
  }
}

}  // namespace corvane::shell
