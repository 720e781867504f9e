#include "pinger/PingerSettings.h"

#include "platform/AppInfo.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <tuple>
#include <cstdio>
#include <utility>
#include <vector>

namespace corvane {

namespace {

using ui::As;
using ui::Control;
using ui::ControlKind;

constexpr char kDescription[] =
    "The PING utility helps to keep you from getting your modem connection disconnected by your "
    "service provider. Most Internet Service Providers Disconnect users after a fixed period of "
    "modem activity";

// 440 x 244 pixels, the size of the frame the window is shown in.
constexpr Control kControls[] = {
    {kLblPingerDescription, ControlKind::Label, "lblPingerDescription", kDescription, 12, 6, 416, 44, 0},
    {kChkDoPinging, ControlKind::CheckBox, "chkDoPinging", "Enable Pinger", 12, 54, 160, 20, 0},
    {kFrameConfigurations, ControlKind::Frame, "frameConfigurations", "Configuration", 12, 78, 416, 114, 0},
    {kOptAuto, ControlKind::Option, "optAuto", "Automatic Mode", 12, 20, 140, 20, kFrameConfigurations,
     ui::kGroupStart},
    {kOptManual, ControlKind::Option, "optManual", "Manual Mode", 12, 44, 140, 20, kFrameConfigurations},
    {kLblPingHost, ControlKind::Label, "lblPingHost", "Ping Host", 164, 22, 80, 18, kFrameConfigurations},
    {kTxtPingHost, ControlKind::TextBox, "txtPingHost", "", 248, 18, 156, 22, kFrameConfigurations},
    {kLblPingInterval, ControlKind::Label, "lblPingInterval", "Ping Interval", 164, 50, 80, 18,
     kFrameConfigurations},
    {kCmbPingInterval, ControlKind::ComboBox, "cmbPingInterval", "", 248, 46, 100, 22, kFrameConfigurations},
    {kChkSound, ControlKind::CheckBox, "chkSound", "Play &Sound at Ping", 12, 80, 170, 20, kFrameConfigurations},
    {kCmdPingNow, ControlKind::Button, "cmdPingNow", "Ping &Now", 304, 78, 100, 26, kFrameConfigurations},
    {kLblLastPing, ControlKind::Label, "lblLastPing", "", 12, 200, 320, 36, 0},
    {kCmdSave, ControlKind::Button, "cmdSave", "Save", 340, 206, 88, 28, 0, ui::kDisabled},
};

constexpr ui::Layout kLayout{"frmNetPingerSettings", "CorvaneNetPingerSettings", "Net Pinger Settings", ui::Unit::Pixels, 440, 244,
                             kControls};

constexpr ui::Stored kStored[] = {
    {kChkDoPinging, As::Check, "0"},
    {kOptAuto, As::Option, "true"},
    {kOptManual, As::Option, "false"},
    {kTxtPingHost, As::Text, kAutomaticPingHost},
    {kCmbPingInterval, As::Index, "5"},
    {kChkSound, As::Check, "0"},
};

// "Ticks per ping := the index + 1", at least one tick, within 16 bits.
int TicksFor(long long index) { return static_cast<int>(std::clamp(index + 1, 1LL, 32767LL)); }

// The host pinged and the interval's index, as the controls choose them:
// automatic mode's own, else the host written in and the list's choice.
std::pair<std::string, std::string> ChosenHost(ui::IView& view) {
  if (view.Value(kOptAuto) == 1) return {kAutomaticPingHost, "5"};
  return {view.Text(kTxtPingHost), std::to_string(view.Value(kCmbPingInterval))};
}

int IndexValue(std::string_view text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

}  // namespace

const ui::Layout& NetPingerLayout() { return kLayout; }
std::span<const ui::Stored> NetPingerStoredSettings() { return kStored; }

std::string LastPingText(std::string_view time, std::string_view host, const PingReport* report) {
  std::string text;
  if (report == nullptr) {
    text = "Ping to ";
    text += host;
    text += " sent ";
    text += time;
    text += ", waiting for an answer";
    return text;
  }
  text = "Last ping ";
  text += time;
  text += " to ";
  text += host;
  text += report->succeeded ? ": answer in " + std::to_string(report->roundTripMs) + " ms" : ": no answer";
  return text;
}

PingerSettings::PingerSettings(const PingerContext& context, ui::IView& view, ui::ITimers& timers)
    : s_{context, view, timers},
      changed_(s_.view, kCmdSave),
      flights_(s_.pings, kPingTimeoutMs,
               [this](const std::string& host, const PingReport& report, unsigned causes) {
                 Landed(host, report, causes);
               }),
      currentHost_(kAutomaticPingHost) {}

void PingerSettings::OnLoad() {
  std::vector<std::string> items;
  for (int minutes = 1; minutes <= 60; ++minutes) items.push_back(std::to_string(minutes) + " min.");
  s_.view.SetItems(kCmbPingInterval, items);
  changed_.Set(false);
  LoadSettings();
  s_.timers.SetTimer(kTmrPinger, s_.view.Value(kChkDoPinging) == 1 ? kPingerTimerMs : 0);
}

void PingerSettings::SetModeControls(bool automatic) {
  hostControlsEnabled_ = !automatic;
  ShowEnabledStates();
}

// A disabled frame makes what it holds unusable ("Ping Now" among them);
// the controls are children of the form, not of the group box, so each is
// disabled in its own right while the frame is, and the host and interval
// also while automatic mode holds them.
void PingerSettings::ShowEnabledStates() {
  s_.view.SetEnabled(kFrameConfigurations, frameEnabled_);
  for (int id : {kOptAuto, kOptManual, kLblPingHost, kLblPingInterval, kChkSound, kCmdPingNow}) {
    s_.view.SetEnabled(id, frameEnabled_);
  }
  s_.view.SetEnabled(kTxtPingHost, frameEnabled_ && hostControlsEnabled_);
  s_.view.SetEnabled(kCmbPingInterval, frameEnabled_ && hostControlsEnabled_);
}

void PingerSettings::LoadSettings() {
  ui::LoadStoredSettings(s_.registry, kNetPingerSection, kLayout, kStored, s_.view);
  const bool automatic = s_.view.Value(kOptAuto) == 1;
  SetModeControls(automatic);
  if (automatic) {
    s_.view.SetText(kTxtPingHost, kAutomaticText);
    s_.view.SetValue(kCmbPingInterval, 0);
  }
  std::tie(currentHost_, currentIntervalIndex_) = ChosenHost(s_.view);
  OnDoPingingClick();
  changed_.Set(false);
  ticksPerPing_ = TicksFor(IndexValue(currentIntervalIndex_));
}

void PingerSettings::SaveSettings() {
  changed_.Set(false);
  ui::SaveResult saved = ui::SaveStoredSettings(s_.registry, kNetPingerSection, kLayout, kStored, s_.view);
  if (!saved.ok()) {
    // They act in this session all the same; "Save" stays enabled to try again.
    (void)s_.view.ShowMessage(ui::SaveFailureMessage(saved), kAppTitle, ui::kMessageOk | ui::kMessageError);
    changed_.Set(true);
  }
  std::tie(currentHost_, currentIntervalIndex_) = ChosenHost(s_.view);
  // The counter runs on; a save in automatic mode, whose list shows its
  // first item, pings at every tick until the next start.
  s_.timers.SetTimer(kTmrPinger, s_.view.Value(kChkDoPinging) == 1 ? kPingerTimerMs : 0);
  ticksPerPing_ = TicksFor(s_.view.Value(kCmbPingInterval));
}

void PingerSettings::OnDoPingingClick() {
  if (s_.view.Value(kChkDoPinging) == 1) {
    frameEnabled_ = true;
    s_.view.SetEnabled(kCmdSave, true);
  } else {
    frameEnabled_ = false;
  }
  ShowEnabledStates();
  changed_.Set(true);
}

void PingerSettings::OnTick() {
  if (tickCounter_ < ticksPerPing_ - 1) {
    ++tickCounter_;
    return;
  }
  tickCounter_ = 0;
  Send(kPingCauseTick);
}

void PingerSettings::PingNow() {
  for (int i = 0; i < 6 && !unloaded_; ++i) {
    if (s_.yield) s_.yield();
  }
  if (unloaded_) return;
  Send(kPingCausePingNow);
}

void PingerSettings::Send(PingCause cause) {
  LocalDateTime now = s_.clock.Now();
  if (!flights_.Send(currentHost_, cause)) return;  // joined the ping already out
  sentAt_[PingFlights::HostKey(currentHost_)] = now;
  s_.view.SetText(kLblLastPing, LastPingText(TimeText(now), currentHost_, nullptr));
}

void PingerSettings::Landed(const std::string& host, const PingReport& report, unsigned causes) {
  if (unloaded_) return;
  std::string key = PingFlights::HostKey(host);
  LocalDateTime sent = sentAt_.count(key) != 0 ? sentAt_[key] : s_.clock.Now();
  sentAt_.erase(key);
  // The Windows Sockets failures first, as the ping itself would have shown
  // them before it returned.
  for (const auto& [text, icon] : report.messages) s_.messages.Show(text, icon);
  if (unloaded_) return;
  s_.view.SetText(kLblLastPing, LastPingText(TimeText(sent), host, &report));
  // A scheduled ping sounds whatever its outcome; "Ping Now" only on an
  // answer. One sound per echo, however many asked for it.
  bool wanted = (causes & kPingCauseTick) != 0 || report.succeeded;
  if (wanted && s_.view.Value(kChkSound) == 1) s_.sound.Play(s_.programFolder + kPingSoundFile);
}

std::string PingerSettings::TimeText(const LocalDateTime& when) const {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", when.time.hour % 100, when.time.minute % 100,
                when.time.second % 100);
  return text;
}

void PingerSettings::OnEvent(const ui::Event& event) {
  if (unloaded_) return;
  switch (event.id) {
    case kTmrPinger:
      if (event.kind == ui::Event::Tick) OnTick();
      return;
    case kChkDoPinging:
      if (event.kind == ui::Event::Click) OnDoPingingClick();
      return;
    case kOptAuto:
      if (event.kind != ui::Event::Click) return;
      changed_.Set(true);
      SetModeControls(true);
      s_.view.SetText(kTxtPingHost, kAutomaticText);
      s_.view.SetValue(kCmbPingInterval, 0);
      return;
    case kOptManual:
      if (event.kind != ui::Event::Click) return;
      changed_.Set(true);
      s_.view.SetText(kTxtPingHost, kManualStartPingHost);
      SetModeControls(false);
      return;
    case kTxtPingHost:
    case kCmbPingInterval:
    case kChkSound:
      changed_.Set(true);
      return;
    case kCmdSave:
      if (event.kind == ui::Event::Click) SaveSettings();
      return;
    case kCmdPingNow:
      if (event.kind == ui::Event::Click) PingNow();
      return;
    default:
      return;
  }
}

void PingerSettings::OnUnload() {
  unloaded_ = true;
  s_.timers.SetTimer(kTmrPinger, 0);
  flights_.Abandon();
}

}  // namespace corvane
