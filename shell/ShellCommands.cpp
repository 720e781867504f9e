#include "shell/ShellCommands.h"

#include <algorithm>

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

std::string_view FeatureName(Feature feature) {
  switch (feature) {
    case Feature::WizardMode: return "frmWizardMode";
    case Feature::NormalMode: return "frmNormalMode";
    case Feature::BackUp: return "frmBackUp";
    case Feature::NetPingerSettings: return "frmNetPingerSettings";
    case Feature::SystemStatus: return "frmSystemStatus";
    case Feature::RamConfiguration: return "frmRamConfiguration";
    case Feature::MainSettings: return "frmMainSettings";
  }
  return {};
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
  switch (command) {
    case ShellCommand::WizardMode: return FrameSize{440, 250};
    case ShellCommand::NormalMode: return FrameSize{440, 252};
    case ShellCommand::BackupManager: return FrameSize{440, 246};
    case ShellCommand::PingSetting: return FrameSize{440, 244};
    case ShellCommand::SystemStatus: return FrameSize{440, 255};
    case ShellCommand::RamConfig: return FrameSize{440, 240};
    case ShellCommand::Settings: return FrameSize{460, 245};
    default: return std::nullopt;
  }
}

std::optional<Feature> FeatureShownBy(ShellCommand command) {
  switch (command) {
    case ShellCommand::WizardMode: return Feature::WizardMode;
    case ShellCommand::NormalMode: return Feature::NormalMode;
    case ShellCommand::BackupManager: return Feature::BackUp;
    case ShellCommand::PingSetting: return Feature::NetPingerSettings;
    case ShellCommand::SystemStatus: return Feature::SystemStatus;
    case ShellCommand::RamConfig: return Feature::RamConfiguration;
    case ShellCommand::Settings: return Feature::MainSettings;
    default: return std::nullopt;
  }
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
