// The main settings' rules: the two check boxes "chkRunMainProgram" and
// "chkRunProgramMini" stored under MainSettings, the changed flag that
// enables "&Save", and the Windows start-up entry "Sorbek" that follows the
// executable. The form is the layout kMainSettingsLayout; frmMainSettings
// (win32/frmMainSettings.h) makes it over this model.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Registry.h"
#include "platform/ui/Layout.h"
#include "platform/ui/StoredSettings.h"
#include "platform/ui/View.h"

namespace corvane::shell {

inline constexpr char kMainSettingsSection[] = "MainSettings";
inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kStartupValueName[] = "Sorbek";
inline constexpr char kChkRunMainProgram[] = "chkRunMainProgram";
// How a failed write of the start-up entry is named to the user.
inline constexpr char kStartupEntryName[] = "the start with Windows (Run entry \"Sorbek\")";
inline constexpr char kChkRunProgramMini[] = "chkRunProgramMini";

// "SOFTWARE\Tarvik\Pellavon\Settings\MainSettings"
inline const std::string kMainSettingsKey = ui::SettingsKey(kMainSettingsSection);

// The controls of frmMainSettings.
enum MainSettingsId : int {
  kIdFrameMainSettings = 100,
  kIdFrameStartup = 101,
  kIdChkRunMainProgram = 102,
  kIdChkRunProgramMini = 103,
  kIdCmdSave = 104,
  kIdChkDriftWatch = 105,
};

// In pixels; its size is the child frame's for the main settings.
extern const ui::Layout kMainSettingsLayout;
// The two start-up boxes, stored as "0"/"1", default "0"; the drift watch's
// switch "chkDriftWatch" (tuning/DriftWatch.h), default "1".
extern const ui::Stored kMainSettingsStored[3];
std::span<const ui::Stored> MainSettingsStored();

// A stored check box value: "1" is checked, "0" is not. Anything else (a
// text that is no number, the grayed state 2, a number with blanks) loads as
// not checked, so that a damaged value never starts the program with
// Windows nor hides it in the tray.
std::int16_t ParseCheckValue(std::string_view stored);

// "chkRunProgramMini" as the form's load would read it, read without the
// form: whether the program starts hidden in the tray.
bool StoredRunsInTray(IRegistry& registry);

// The start-up entry's data: folder + "\" + the executable's name without
// its extension + ".exe"; empty when either is unknown.
std::string StartupEntryData(std::string_view applicationFolder, std::string_view exeFileName);

// What the main settings use: the registry, and what "Sorbek" is to hold
// for the running executable.
struct MainSettingsContext {
  IRegistry& registry;
  std::string startupEntryData;
};

class MainSettingsModel final : public ui::FormModel {
 public:
  // The feature windows' one constructor shape; this form runs no timers.
  MainSettingsModel(const MainSettingsContext& context, ui::IView& view, ui::ITimers& /*timers*/)
      : registry_(context.registry), view_(view), startupEntryData_(context.startupEntryData) {}

  // The load event: the stored settings, then nothing left to save.
  void OnLoad() override;
  // A click on a box marks the settings changed; "&Save" saves them.
  void OnEvent(const ui::Event& event) override;

  // Reads both boxes (default "0"); a box whose value changes marks the
  // settings changed, as its click would. Rewrites the start-up entry when
  // "chkRunMainProgram" holds 1; otherwise leaves the entry alone.
  void LoadMainSettings();
  // Stores both boxes as "0"/"1", then writes or removes the start-up
  // entry. When a write fails the boxes' stored values are put back, so that
  // the setting and the entry still agree, the user is told what failed,
  // and the result is false.
  bool SaveMainSettings();
  void SetSettingsChanged(bool changed) { changed_.Set(changed); }

  std::int16_t chkRunMainProgram() const { return BoxValue(kIdChkRunMainProgram); }
  std::int16_t chkRunProgramMini() const { return BoxValue(kIdChkRunProgramMini); }
  bool settingsChanged() const { return changed_.changed(); }
  // What the start-up sequence asks: start hidden in the tray.
  bool RunsInTray() const { return chkRunProgramMini() == 1; }

 private:
  std::int16_t BoxValue(int id) const { return view_.Value(id) == 1 ? 1 : 0; }
  RegStatus WriteStartupEntry();

  IRegistry& registry_;
  ui::IView& view_;
  std::string startupEntryData_;
  ui::ChangedFlag changed_{view_, kIdCmdSave};
};

}  // namespace corvane::shell
