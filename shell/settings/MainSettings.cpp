#include "shell/settings/MainSettings.h"

#include "platform/RegistryAccess.h"

namespace corvane::shell {

namespace {

using ui::ControlKind;

// Design positions in pixels, each inside its frame.
constexpr ui::Control kControls[] = {
    {kIdFrameMainSettings, ControlKind::Frame, "frameMainSettings", "Main Settings", 6, 4, 448, 236, 0},
    {kIdFrameStartup, ControlKind::Frame, "frameStartup", "Windows Startup", 14, 24, 420, 100, kIdFrameMainSettings},
    {kIdChkRunMainProgram, ControlKind::CheckBox, kChkRunMainProgram, "Run Main Program when windows start up", 16,
     26, 390, 22, kIdFrameStartup},
    {kIdChkRunProgramMini, ControlKind::CheckBox, kChkRunProgramMini, "Run Program In system tray", 16, 60, 390, 22,
     kIdFrameStartup},
    {kIdCmdSave, ControlKind::Button, "cmdSave", "&Save", 340, 194, 90, 28, kIdFrameMainSettings},
    // Below the start-up frame, in space no other control uses.
    {kIdChkDriftWatch, ControlKind::CheckBox, "chkDriftWatch",
     "Tell me when the applied network values have been changed", 30, 140, 404, 22,
     kIdFrameMainSettings},
};

}  // namespace

const ui::Layout kMainSettingsLayout{
    "frmMainSettings", "CorvaneMainSettings", "Main Settings", ui::Unit::Pixels, 460, 245, kControls};

const ui::Stored kMainSettingsStored[3] = {
    {kIdChkRunMainProgram, ui::As::Check, "0"},
    {kIdChkRunProgramMini, ui::As::Check, "0"},
    {kIdChkDriftWatch, ui::As::Check, "1"},
};

std::int16_t ParseCheckValue(std::string_view stored) {
  return static_cast<std::int16_t>(ui::ParseStored(ui::As::Check, stored).value_or(0));
}

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

void MainSettingsModel::OnLoad() {
  LoadMainSettings();
  SetSettingsChanged(false);
}

void MainSettingsModel::LoadMainSettings() {
  // Setting a box to a different value raises its click.
  if (ui::LoadStoredSettings(registry_, kMainSettingsSection, kMainSettingsLayout, kMainSettingsStored, view_)) {
    SetSettingsChanged(true);
  }
  // The entry follows the executable when the program has been moved.
  if (chkRunMainProgram() == 1) WriteStartupEntry();
}

void MainSettingsModel::SaveMainSettings() {
  ui::SaveStoredSettings(registry_, kMainSettingsSection, kMainSettingsLayout, kMainSettingsStored, view_);
  if (chkRunMainProgram() == 1) {
    WriteStartupEntry();
  } else {
    // Failures leave the previous state silently; a missing value is fine.
    (void)SetRegValue(registry_, RootKey::CurrentUser, kRunKey, kStartupValueName, reg::kTypeSz, "", true);
  }
}

void MainSettingsModel::WriteStartupEntry() {
  (void)SetRegValue(registry_, RootKey::CurrentUser, kRunKey, kStartupValueName, reg::kTypeSz, startupEntryData_,
                    false);
}

void MainSettingsModel::OnEvent(const ui::Event& event) {
  if (event.kind != ui::Event::Click) return;
  switch (event.id) {
    case kIdChkRunMainProgram:
    case kIdChkRunProgramMini:
    case kIdChkDriftWatch:
      SetSettingsChanged(true);
      return;
    case kIdCmdSave:
      SaveMainSettings();
      SetSettingsChanged(false);
      return;
    default:
      return;
  }
}

}  // namespace corvane::shell
