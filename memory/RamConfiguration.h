// The RAM configuration (frmRamConfiguration) and its alarm monitor: the
// nine settings stored under RamSettings, the rules of its controls, and
// the check that tmrAlarm runs. Below the alarm level the check arms the
// warning sound (played by tmrSoundPlayer at most once per 65535 ms) and,
// with automatic optimisation on and the processor not too busy, frees
// memory a set number of times. The window (win32/) makes it over this
// model; it runs from start-up whether shown or not.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "memory/CpuUsage.h"
#include "memory/FreeRAM.h"
#include "memory/MemoryReleaser.h"
#include "platform/Registry.h"
#include "platform/ui/Layout.h"
#include "platform/ui/Sound.h"
#include "platform/ui/StoredSettings.h"
#include "platform/ui/View.h"

namespace corvane::memory {

inline constexpr char kRamSettingsSection[] = "RamSettings";
inline constexpr char kLowMemorySound[] = "\\low-memory.wav";
inline constexpr int kSoundPlayerInterval = 65535;
inline constexpr std::int32_t kBytesPerMegabyte = 1048576;
// Yields before and after each claim, and before the first.
inline constexpr int kCheckYields = 14;

enum RamConfigurationId : int {
  kIdFrameRamConfiguration = 300,
  kIdFrameAutomatic = 301,
  kIdLblTimeCheck = 302,
  kIdTxtTimeCheck = 303,
  kIdUpdnTimeCheck = 304,
  kIdLblAlarm = 305,
  kIdTxtAlarm = 306,
  kIdLblFreeAlarm = 307,
  kIdTxtFreeAlarm = 308,
  kIdFrameToolTip = 309,
  kIdOptMB = 310,
  kIdOptPer = 311,
  kIdLblRetryOptimization = 312,
  kIdTxtRetryOptimization = 313,
  kIdUpDownRetryOptimization = 314,
  kIdLblRunOnly = 315,
  kIdTxtRunOnly = 316,
  kIdUpDownRunOnly = 317,
  kIdFrameOnOff = 318,
  kIdChkSoundon = 319,
  kIdChkAutomatic = 320,
  kIdCmdSave = 321,
  // Timers (no controls).
  kIdTmrAlarm = 330,
  kIdTmrSoundPlayer = 331,
};

// 440 x 240 pixels, the size of its place in the child frame.
extern const ui::Layout kRamConfigurationLayout;
// The nine values in the order they are read and written.
extern const ui::Stored kRamSettingsStored[9];
std::span<const ui::Stored> RamSettingsStored();

// A number box with its limits: what a text holds, and the default.
struct NumberRule {
  int box;          // the text box
  int upDown;       // its arrows; 0 for none
  int minimum, maximum;
  int fallback;     // the stored default
  // Out of the limits: refused like junk (the box's own rule puts the last
  // loaded value back) rather than held at the nearer limit.
  bool refusesOutOfRange;
};
// txtTimeCheck 0..65535, txtAlarm 0..32767, txtFreeAlarm 0..1000,
// txtRunOnly 0..1000, txtRetryOptimization 0..20.
extern const NumberRule kRamNumberRules[5];
// The rule of a text box, or of the arrows beside it; nullptr for others.
const NumberRule* RuleOf(int box);

// A whole decimal number, with an optional minus sign and nothing else (no
// blanks, no fraction); nothing when the text is none. A number too long
// for an int reads as the nearer of INT_MIN and INT_MAX.
std::optional<int> ParseWholeNumber(std::string_view text);

// Free physical memory in bytes, read afresh each time; whole above 4 GiB.
std::uint64_t FreePhysicalBytes(FreeRAM& memory);

class RamConfigurationModel final : public ui::FormModel {
 public:
  struct Services {
    IRegistry& registry;
    IMemoryStatusSource& memoryStatus;
    IMemoryReleaser& releaser;
    ui::ISoundPlayer& sounds;
    // "Yield to the window system", once.
    std::function<void()> yield;
    // The folder of the program, without a trailing backslash.
    std::string applicationFolder;
  };

  RamConfigurationModel(Services services, ui::IView& view, ui::ITimers& timers)
      : services_(std::move(services)), view_(view), timers_(timers) {}

  // The status window's processor sampler (it loads first); none: the
  // processor gate acts as for a sampler that cannot measure (-1).
  void SetSampler(ICpuUsageSampler* sampler) {
    sampler_ = [sampler] { return sampler; };
  }
  // The same, asked afresh at each check: the status window's sampler while
  // it is loaded, none after.
  void SetSampler(std::function<ICpuUsageSampler*()> lookup) { sampler_ = std::move(lookup); }

  // Loads the settings and starts both timers.
  void OnLoad() override;
  void OnEvent(const ui::Event& event) override;
  void OnUnload() override;

  void LoadSettings();
  void SaveSettings();
  // One tick of tmrAlarm and of tmrSoundPlayer.
  void Check();
  void PlayArmedSound();

  // What the status window reads: the tooltip in percent.
  bool optPer() const { return view_.Value(kIdOptPer) == 1; }

  // The working values.
  int alarmLevel() const { return alarmLevel_; }
  int lastLoadedAmount() const { return lastLoadedAmount_; }
  int processorCeiling() const { return processorCeiling_; }
  int retryCount() const { return retryCount_; }
  int checkInterval() const { return checkInterval_; }
  bool soundArmed() const { return soundArmed_; }
  bool settingsChanged() const { return changed_.changed(); }

 private:
  void SetChanged(bool changed) { changed_.Set(changed); }
  void ApplyEnabledStates();
  void OnTextChange(int box);
  void StepUpDown(int upDown, int delta);
  // The value a number box holds in force: its text when valid, else the
  // rule's fallback, held within the rule's limits.
  int ValueInForce(const NumberRule& rule, int fallback) const;
  // Puts the value in force back into each number box, so that what is
  // shown, stored and used agree.
  void NormaliseNumberBoxes();
  void YieldTimes(int times);

  Services services_;
  ui::IView& view_;
  ui::ITimers& timers_;
  std::function<ICpuUsageSampler*()> sampler_;
  ui::ChangedFlag changed_{view_, kIdCmdSave};
  bool loading_ = false;

  int alarmLevel_ = 0;
  int lastLoadedAmount_ = 0;
  int processorCeiling_ = 0;
  int retryCount_ = 0;
  int checkInterval_ = 0;
  bool soundArmed_ = false;
};

}  // namespace corvane::memory
