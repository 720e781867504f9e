// The main settings' rules: the two check boxes "chkRunMainProgram" and
// "chkRunProgramMini" stored under MainSettings, the changed flag that
// enables "&Save", and the Windows start-up entry "Sorbek" that follows the
// executable. frmMainSettings (win32/frmMainSettings.h) binds its controls
// to this model.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace corvane::shell {

inline constexpr char kMainSettingsKey[] = "SOFTWARE\\Tarvik\\Pellavon\\Settings\\MainSettings";
inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kStartupValueName[] = "Sorbek";
inline constexpr char kChkRunMainProgram[] = "chkRunMainProgram";
inline constexpr char kChkRunProgramMini[] = "chkRunProgramMini";

// A stored check box value: "1" is checked, "0" is not. Anything else (a
// text that is no number, the grayed state 2, a number with blanks) loads as
// not checked, so that a damaged value never starts the program with
// Windows nor hides it in the tray.
std::int16_t ParseCheckValue(std::string_view stored);

// The start-up entry's data: folder + "\" + the executable's name without
// its extension + ".exe".
std::string StartupEntryData(std::string_view applicationFolder, std::string_view exeFileName);

enum class MainSettingsBox { RunMainProgram, RunProgramMini };

class MainSettingsModel {
 public:
  // startupEntryData: what "Sorbek" is to hold for the running executable.
  MainSettingsModel(IRegistry& registry, std::string startupEntryData)
      : registry_(registry), startupEntryData_(std::move(startupEntryData)) {}

  // The window's bindings: a check box value set by the model, and the
  // enabled state of "&Save".
  std::function<void(MainSettingsBox box, std::int16_t value)> onCheckValue;
  std::function<void(bool enabled)> onSaveEnabled;

  // Reads both boxes (default "0"); a box whose value changes marks the
  // settings changed, as its click would. Rewrites the start-up entry when
  // "chkRunMainProgram" holds 1; otherwise leaves the entry alone.
  void LoadMainSettings();
  // Stores both boxes as "0"/"1" and writes or removes the start-up entry.
  void SaveMainSettings();
  void SetSettingsChanged(bool changed);

  // A click on a box, with the value the box now shows.
  void Click(MainSettingsBox box, std::int16_t value);
  // cmdSave's click.
  void Save();

  std::int16_t chkRunMainProgram() const { return runMainProgram_; }
  std::int16_t chkRunProgramMini() const { return runProgramMini_; }
  bool settingsChanged() const { return settingsChanged_; }
  // What the start-up sequence asks: start hidden in the tray.
  bool RunsInTray() const { return runProgramMini_ == 1; }

 private:
  void SetValue(MainSettingsBox box, std::int16_t value);
  void WriteStartupEntry();

  IRegistry& registry_;
  std::string startupEntryData_;
  std::int16_t runMainProgram_ = 0;
  std::int16_t runProgramMini_ = 0;
  bool settingsChanged_ = false;
};

}  // namespace corvane::shell
