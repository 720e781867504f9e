#include "memory/RamConfiguration.h"

#include "platform/AppInfo.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace corvane::memory {

namespace {

using ui::ControlKind;

// Design positions in pixels, each inside its frame.
constexpr ui::Control kControls[] = {
    {kIdFrameRamConfiguration, ControlKind::Frame, "frameRamConfiguration", "Ram Configuration", 4, 2, 432, 234, 0},
    {kIdFrameAutomatic, ControlKind::Frame, "frameAutomatic", "Automatic Optimization", 6, 16, 194, 150,
     kIdFrameRamConfiguration},
    {kIdLblTimeCheck, ControlKind::Label, "lblTimeCheck", "Do check every (in Milliseconds)", 6, 16, 184, 16,
     kIdFrameAutomatic},
    {kIdTxtTimeCheck, ControlKind::TextBox, "txtTimeCheck", "", 6, 32, 70, 20, kIdFrameAutomatic, ui::kNumber},
    {kIdUpdnTimeCheck, ControlKind::UpDown, "updnTimeCheck", "", 76, 32, 16, 20, kIdFrameAutomatic},
    {kIdLblAlarm, ControlKind::Label, "lblAlarm", "Alarm Level (in MB):", 6, 56, 184, 16, kIdFrameAutomatic},
    {kIdTxtAlarm, ControlKind::TextBox, "txtAlarm", "", 6, 72, 70, 20, kIdFrameAutomatic},
    {kIdLblFreeAlarm, ControlKind::Label, "lblFreeAlarm", "RAM to try and free when alarm level is reached:", 6, 96,
     184, 28, kIdFrameAutomatic},
    {kIdTxtFreeAlarm, ControlKind::TextBox, "txtFreeAlarm", "", 6, 124, 70, 20, kIdFrameAutomatic},
    {kIdFrameToolTip, ControlKind::Frame, "frameToolTip", "System Tray Icon Tool Tip Text", 204, 16, 224, 150,
     kIdFrameRamConfiguration},
    {kIdOptMB, ControlKind::Option, "optMB", "Free RAM in MB", 8, 16, 188, 18, kIdFrameToolTip, ui::kGroupStart},
    {kIdOptPer, ControlKind::Option, "optPer", "Percentage of Free RAM", 8, 34, 188, 18, kIdFrameToolTip},
    {kIdLblRetryOptimization, ControlKind::Label, "lblRetryOptimization", "Times to retry optimization", 8, 56, 188,
     16, kIdFrameToolTip},
    {kIdTxtRetryOptimization, ControlKind::TextBox, "txtRetryOptimization", "", 8, 72, 60, 20, kIdFrameToolTip,
     ui::kNumber},
    {kIdUpDownRetryOptimization, ControlKind::UpDown, "UpDownRetryOptimization", "", 68, 72, 16, 20,
     kIdFrameToolTip},
    {kIdLblRunOnly, ControlKind::Label, "lblRunOnly", "Run ONLY if CPU-Usage is below this (0=detectyion not in use)",
     8, 96, 188, 28, kIdFrameToolTip},
    {kIdTxtRunOnly, ControlKind::TextBox, "txtRunOnly", "", 8, 124, 60, 20, kIdFrameToolTip, ui::kNumber},
    {kIdUpDownRunOnly, ControlKind::UpDown, "UpDownRunOnly", "", 68, 124, 16, 20, kIdFrameToolTip},
    {kIdFrameOnOff, ControlKind::Frame, "frameOnOff", "On/Off settings", 6, 170, 338, 58, kIdFrameRamConfiguration},
    {kIdChkSoundon, ControlKind::CheckBox, "chkSoundon", "Sound on", 8, 16, 320, 18, kIdFrameOnOff},
    {kIdChkAutomatic, ControlKind::CheckBox, "chkAutomatic", "Optimize automatically when Alarm level is reached", 8,
     34, 320, 18, kIdFrameOnOff},
    {kIdCmdSave, ControlKind::Button, "cmdSave", "Save", 352, 196, 72, 28, kIdFrameRamConfiguration},
};

}  // namespace

const ui::Layout kRamConfigurationLayout{
    "frmRamConfiguration", "CorvaneRamConfiguration", "Ram Configuration", ui::Unit::Pixels, 440, 240, kControls};

const ui::Stored kRamSettingsStored[9] = {
    {kIdChkSoundon, ui::As::Check, "0"},
    {kIdChkAutomatic, ui::As::Check, "0"},
    {kIdTxtAlarm, ui::As::Text, "250"},
    {kIdTxtFreeAlarm, ui::As::Text, "10"},
    {kIdTxtTimeCheck, ui::As::Text, "100"},
    {kIdOptPer, ui::As::Option, "false"},
    {kIdOptMB, ui::As::Option, "true"},
    {kIdTxtRunOnly, ui::As::Text, "2"},
    {kIdTxtRetryOptimization, ui::As::Text, "10"},
};
std::span<const ui::Stored> RamSettingsStored() { return kRamSettingsStored; }


const NumberRule kRamNumberRules[5] = {
    {kIdTxtTimeCheck, kIdUpdnTimeCheck, 0, 65535, 100, false},
    // The level is held in 16 bits, the amount at most 1000 MB.
    {kIdTxtAlarm, 0, 0, 32767, 250, true},
    {kIdTxtFreeAlarm, 0, 0, 1000, 10, true},
    // Any ceiling above 100 lets every check through.
    {kIdTxtRunOnly, kIdUpDownRunOnly, 0, 1000, 2, false},
    {kIdTxtRetryOptimization, kIdUpDownRetryOptimization, 0, 20, 10, false},
};

const NumberRule* RuleOf(int box) {
  for (const NumberRule& rule : kRamNumberRules) {
    if (rule.box == box || (rule.upDown != 0 && rule.upDown == box)) return &rule;
  }
  return nullptr;
}

std::optional<int> ParseWholeNumber(std::string_view text) {
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '-') digits.remove_prefix(1);
  if (digits.empty() || digits.front() < '0' || digits.front() > '9') return std::nullopt;
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (end != text.data() + text.size()) return std::nullopt;
  // A whole number too long for an int is still a number out of range: the
  // nearer end, which every box's limits then take as they take any other.
  if (error == std::errc::result_out_of_range) {
    return text.front() == '-' ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
  }
  if (error != std::errc()) return std::nullopt;
  return value;
}

std::uint64_t FreePhysicalBytes(FreeRAM& memory) { return memory.GetFreePhysical(); }

int RamConfigurationModel::ValueInForce(const NumberRule& rule, int fallback) const {
  std::optional<int> value = ParseWholeNumber(view_.Text(rule.box));
  if (!value) return fallback;
  if (rule.refusesOutOfRange && (*value < rule.minimum || *value > rule.maximum)) return fallback;
  return std::clamp(*value, rule.minimum, rule.maximum);
}

void RamConfigurationModel::NormaliseNumberBoxes() {
  for (const NumberRule& rule : kRamNumberRules) {
    view_.SetText(rule.box, std::to_string(ValueInForce(rule, rule.fallback)));
  }
}

void RamConfigurationModel::OnLoad() {
  LoadSettings();
  timers_.SetTimer(kIdTmrSoundPlayer, kSoundPlayerInterval);
}

void RamConfigurationModel::OnUnload() {
  timers_.SetTimer(kIdTmrAlarm, 0);
  timers_.SetTimer(kIdTmrSoundPlayer, 0);
}

void RamConfigurationModel::LoadSettings() {
  // The boxes' own change rules do not run while the stored texts come in:
  // a stored text they would refuse loads the default instead.
  loading_ = true;
  for (const NumberRule& rule : kRamNumberRules) {
    if (rule.upDown != 0) view_.SetRange(rule.upDown, rule.minimum, rule.maximum);
  }
  ui::LoadStoredSettings(services_.registry, kRamSettingsSection, kRamConfigurationLayout, kRamSettingsStored,
                         view_);
  NormaliseNumberBoxes();
  alarmLevel_ = ValueInForce(*RuleOf(kIdTxtAlarm), 250);
  lastLoadedAmount_ = ValueInForce(*RuleOf(kIdTxtFreeAlarm), 10);
  ApplyEnabledStates();
  checkInterval_ = ValueInForce(*RuleOf(kIdTxtTimeCheck), 100);
  timers_.SetTimer(kIdTmrAlarm, checkInterval_);
  processorCeiling_ = ValueInForce(*RuleOf(kIdTxtRunOnly), 2);
  retryCount_ = ValueInForce(*RuleOf(kIdTxtRetryOptimization), 10);
  loading_ = false;
  SetChanged(false);
}

void RamConfigurationModel::SaveSettings() {
  // The arrows' boxes are stored as the value they hold in force (a typed
  // 70000 checks every 65535 ms and is stored so); the two boxes with their
  // own rule never hold a refused text.
  loading_ = true;
  NormaliseNumberBoxes();
  loading_ = false;
  ui::SaveResult saved =
      ui::SaveStoredSettings(services_.registry, kRamSettingsSection, kRamConfigurationLayout, kRamSettingsStored, view_);
  if (!saved.ok()) {
    // The boxes keep what the user typed and "Save" stays enabled: a reload
    // now would put the old stored values back over them.
    (void)view_.ShowMessage(ui::SaveFailureMessage(saved), kAppTitle, ui::kMessageOk | ui::kMessageError);
    return;
  }
  SetChanged(false);
  LoadSettings();
}

void RamConfigurationModel::ApplyEnabledStates() {
  view_.SetEnabled(kIdTxtAlarm, view_.Value(kIdChkSoundon) == 1);
  bool automatic = view_.Value(kIdChkAutomatic) == 1;
  view_.SetEnabled(kIdTxtFreeAlarm, automatic);
  view_.SetEnabled(kIdTxtTimeCheck, automatic);
  view_.SetEnabled(kIdUpdnTimeCheck, automatic);
}

void RamConfigurationModel::OnTextChange(int box) {
  if (loading_) return;
  const NumberRule* rule = RuleOf(box);
  if (rule == nullptr) return;
  if (box == kIdTxtAlarm || box == kIdTxtFreeAlarm) {
    std::optional<int> value = ParseWholeNumber(view_.Text(box));
    bool refused = !value || *value < rule->minimum || *value > rule->maximum;
    // Putting the last loaded value back raises this change once more,
    // with a valid text.
    if (refused) view_.SetText(box, std::to_string(box == kIdTxtAlarm ? alarmLevel_ : lastLoadedAmount_));
  }
  SetChanged(true);
}

void RamConfigurationModel::StepUpDown(int upDown, int delta) {
  const NumberRule* rule = RuleOf(upDown);
  if (rule == nullptr) return;
  int value = ValueInForce(*rule, rule->fallback);
  view_.SetText(rule->box, std::to_string(std::clamp(value + delta, rule->minimum, rule->maximum)));
  SetChanged(true);
}

void RamConfigurationModel::OnEvent(const ui::Event& event) {
  switch (event.kind) {
    case ui::Event::Tick:
      if (event.id == kIdTmrAlarm) Check();
      if (event.id == kIdTmrSoundPlayer) PlayArmedSound();
      return;
    case ui::Event::Change:
      OnTextChange(event.id);
      return;
    case ui::Event::Scroll:
      StepUpDown(event.id, event.value);
      return;
    case ui::Event::Click:
      switch (event.id) {
        case kIdChkSoundon:
        case kIdChkAutomatic:
          SetChanged(true);
          ApplyEnabledStates();
          return;
        case kIdOptMB:
        case kIdOptPer:
          SetChanged(true);
          return;
        case kIdCmdSave:
          SaveSettings();
          return;
        default:
          return;
      }
    default:
      return;
  }
}

void RamConfigurationModel::YieldTimes(int times) {
  if (!services_.yield) return;
  for (int i = 0; i < times; ++i) services_.yield();
}

void RamConfigurationModel::Check() {
  HeapBlockAllocator unused;  // this FreeRAM only reads the status
  FreeRAM memory(services_.memoryStatus, unused);
  soundArmed_ = false;
  auto freeMegabytes = [&] { return static_cast<double>(FreePhysicalBytes(memory)) / kBytesPerMegabyte; };
  // Memory above the level, the usual case ten times a second: no control
  // is asked anything.
  if (!(freeMegabytes() < alarmLevel_)) return;
  if (view_.Value(kIdChkSoundon) == 1) soundArmed_ = true;
  if (view_.Value(kIdChkAutomatic) != 1 || !(freeMegabytes() < alarmLevel_)) return;
  YieldTimes(kCheckYields);
  // The amount is read from the box at each check, saved or not; its rule
  // keeps it within 0..1000, so the bytes fit.
  std::int32_t amount = ValueInForce(*RuleOf(kIdTxtFreeAlarm), lastLoadedAmount_) * kBytesPerMegabyte;
  ICpuUsageSampler* sampler = sampler_ ? sampler_() : nullptr;
  bool gateOpen = processorCeiling_ == 0 || (sampler != nullptr ? sampler->Query() : -1) < processorCeiling_;
  if (!gateOpen) return;
  if (retryCount_ == 0) retryCount_ = 1;
  // Claims still running from an earlier check or "Optimize Now": this
  // check frees nothing, rather than pile more claims behind them.
  if (services_.releaser.Busy()) return;
  for (int attempt = 0; attempt < retryCount_; ++attempt) {
    YieldTimes(kCheckYields);
    services_.releaser.FreeUpMemory(amount, {});
    YieldTimes(kCheckYields);
  }
}

void RamConfigurationModel::PlayArmedSound() {
  if (soundArmed_) services_.sounds.Play(services_.applicationFolder + kLowMemorySound);
}

}  // namespace corvane::memory
