#include "shell/settings/MainSettings.h"

#include <algorithm>

#include "platform/AppInfo.h"
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
std::span<const ui::Stored> MainSettingsStored() { return kMainSettingsStored; }


std::int16_t ParseCheckValue(std::string_view stored) {
  return static_cast<std::int16_t>(ui::ParseStored(ui::As::Check, stored).value_or(0));
}

std::string StartupEntryData(std::string_view applicationFolder, std::string_view exeFileName) {
  // A program whose folder cannot be named gets no entry at all.
  if (applicationFolder.empty() || exeFileName.empty()) return {};
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

bool StoredRunsInTray(IRegistry& registry) {
  return ParseCheckValue(GetAppSetting(registry, kMainSettingsKey, kChkRunProgramMini,
                                       std::string(kMainSettingsStored[1].fallback))) == 1;
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
  // The entry follows the executable when the program has been moved. A
  // refresh that cannot be written leaves the entry of the last save, which
  // still agrees with the setting; nothing is asked of the user at start.
  if (chkRunMainProgram() == 1) (void)WriteStartupEntry();
}

bool MainSettingsModel::SaveMainSettings() {
  // The stored boxes as they are now, to put back if a later write fails:
  // the setting and the start-up entry must never disagree.
  std::string before[2];
  for (std::size_t i = 0; i < 2; ++i) {
    before[i] = GetAppSetting(registry_, kMainSettingsKey, i == 0 ? kChkRunMainProgram : kChkRunProgramMini,
                              std::string(kMainSettingsStored[i].fallback));
  }
  ui::SaveResult result =
      ui::SaveStoredSettings(registry_, kMainSettingsSection, kMainSettingsLayout, kMainSettingsStored, view_);
  if (result.ok()) {
    const bool write = chkRunMainProgram() == 1;
    RegStatus code = write ? WriteStartupEntry()
                           : SetRegValue(registry_, RootKey::CurrentUser, kRunKey, kStartupValueName, reg::kTypeSz,
                                         "", true);
    ++result.attempted;
    // Removing an entry that is already gone is no failure.
    if (code == reg::kSuccess || (!write && code == reg::kFileNotFound)) return true;
    result.failures.push_back({std::string(kStartupEntryName), code});
  }
  // Undone: the boxes as they were stored, which agree with the entry that
  // was not touched or not changed.
  bool undone = true;
  for (std::size_t i = 0; i < 2; ++i) {
    const char* name = i == 0 ? kChkRunMainProgram : kChkRunProgramMini;
    bool failed = std::any_of(result.failures.begin(), result.failures.end(),
                              [&](const ui::FailedSetting& f) { return f.name == name; });
    if (failed) continue;  // not written, so nothing to put back
    undone = SaveAppSetting(registry_, kMainSettingsKey, name, before[i]) == reg::kSuccess && undone;
  }
  std::string message = ui::SaveFailureMessage(result);
  message += undone ? "\nNothing was changed; the settings and the start with Windows are as they were."
                    : "\nThe stored settings could not be put back either.";
  (void)view_.ShowMessage(message, kAppTitle, ui::kMessageOk | ui::kMessageError);
  return false;
}

RegStatus MainSettingsModel::WriteStartupEntry() {
  // No entry for a program whose folder cannot be named: it would not start.
  if (startupEntryData_.empty()) return reg::kBadPathname;
  return SetRegValue(registry_, RootKey::CurrentUser, kRunKey, kStartupValueName, reg::kTypeSz, startupEntryData_,
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
      // A save that failed stays to be done: "Save" remains enabled.
      if (SaveMainSettings()) SetSettingsChanged(false);
      return;
    default:
      return;
  }
}

}  // namespace corvane::shell
