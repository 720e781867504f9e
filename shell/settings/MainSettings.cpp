#include "shell/settings/MainSettings.h"

#include "platform/RegistryAccess.h"

namespace corvane::shell {

std::int16_t ParseCheckValue(std::string_view stored) { return stored == "1" ? 1 : 0; }

std::string StartupEntryData(std::string_view applicationFolder, std::string_view exeFileName) {
  std::string_view name = exeFileName;
  if (auto slash = name.find_last_of("\\/"); slash != std::string_view::npos) {
    name = name.substr(slash + 1);
  }
  if (auto dot = name.find_last_of('.'); dot != std::string_view::npos) name = name.substr(0, dot);
  std::string data(applicationFolder);
  data += '\\';
  data += name;
  data += ".exe";
  return data;
}

void MainSettingsModel::SetValue(MainSettingsBox box, std::int16_t value) {
  std::int16_t& slot = box == MainSettingsBox::RunMainProgram ? runMainProgram_ : runProgramMini_;
  if (slot == value) return;
  slot = value;
  if (onCheckValue) onCheckValue(box, value);
  // Setting a different value raises the box's click.
  SetSettingsChanged(true);
}

void MainSettingsModel::LoadMainSettings() {
  SetValue(MainSettingsBox::RunMainProgram,
           ParseCheckValue(GetAppSetting(registry_, kMainSettingsKey, kChkRunMainProgram, "0")));
  SetValue(MainSettingsBox::RunProgramMini,
           ParseCheckValue(GetAppSetting(registry_, kMainSettingsKey, kChkRunProgramMini, "0")));
  // The entry follows the executable when the program has been moved.
  if (runMainProgram_ == 1) WriteStartupEntry();
}

void MainSettingsModel::SaveMainSettings() {
  SaveAppSetting(registry_, kMainSettingsKey, kChkRunMainProgram, runMainProgram_);
  SaveAppSetting(registry_, kMainSettingsKey, kChkRunProgramMini, runProgramMini_);
  if (runMainProgram_ == 1) {
    WriteStartupEntry();
  } else {
    // Failures leave the previous state silently; a missing value is fine.
    (void)SetRegValue(registry_, RootKey::CurrentUser, kRunKey, kStartupValueName, reg::kTypeSz,
                      "", true);
  }
}

void MainSettingsModel::WriteStartupEntry() {
  (void)SetRegValue(registry_, RootKey::CurrentUser, kRunKey, kStartupValueName, reg::kTypeSz,
                    startupEntryData_, false);
}

void MainSettingsModel::SetSettingsChanged(bool changed) {
  settingsChanged_ = changed;
  if (onSaveEnabled) onSaveEnabled(changed);
}

void MainSettingsModel::Click(MainSettingsBox box, std::int16_t value) {
  std::int16_t& slot = box == MainSettingsBox::RunMainProgram ? runMainProgram_ : runProgramMini_;
  slot = value;
  SetSettingsChanged(true);
}

void MainSettingsModel::Save() {
  SaveMainSettings();
  SetSettingsChanged(false);
}

}  // namespace corvane::shell
