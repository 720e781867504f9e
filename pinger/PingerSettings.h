// frmNetPingerSettings: the net pinger's settings and its schedule. The
// timer tmrPinger ticks every 65535 ms while the stored "Enable Pinger" is
// set; every N ticks one echo goes to the current host. The echo runs away
// from the user-interface thread (IPingService) and its report comes back
// here, where the sound is played and the last ping is shown.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "pinger/PingFlights.h"
#include "pinger/PingService.h"
#include "platform/Registry.h"
#include "platform/ui/Layout.h"
#include "platform/ui/Sound.h"
#include "platform/ui/StoredSettings.h"
#include "platform/ui/View.h"
#include "platform/Clock.h"

namespace corvane {

enum NetPingerId : int {
  kChkDoPinging = 1,
  kFrameConfigurations = 2,
  kOptAuto = 3,
  kOptManual = 4,
  kLblPingHost = 5,
  kTxtPingHost = 6,
  kLblPingInterval = 7,
  kCmbPingInterval = 8,
  kChkSound = 9,
  kCmdPingNow = 10,
  kCmdSave = 11,
  kLblPingerDescription = 12,
  kLblLastPing = 13,
  kTmrPinger = 100,  // the timer's identifier
};

// The automatic mode's host, and the starting text manual mode puts in the
// box: public web hosts that have answered echo requests for many years.
inline constexpr char kAutomaticPingHost[] = "www.google.com";
inline constexpr char kManualStartPingHost[] = "www.wikipedia.org";

inline constexpr char kNetPingerSection[] = "NetPinger";
inline constexpr int kPingerTimerMs = 65535;
inline constexpr std::uint32_t kPingTimeoutMs = 10000;
inline constexpr char kPingSoundFile[] = "\\Ping.wav";
inline constexpr char kAutomaticText[] = "Automatic";

const ui::Layout& NetPingerLayout();
// The stored values, in the order they are read and written.
std::span<const ui::Stored> NetPingerStoredSettings();

// What the window lends its model besides its view and timers.
struct PingerContext {
  IRegistry& registry;
  IPingService& pings;
  ui::ISoundPlayer& sound;
  IWinsockMessageSink& messages;  // shows the Windows Sockets failures
  const IClock& clock;
  std::string programFolder;
  std::function<void()> yield;  // "yield to the window system"; may be empty
};

// The context with the view and timers, as the model keeps them.
struct PingerServices : PingerContext {
  ui::IView& view;
  ui::ITimers& timers;
};

class PingerSettings final : public ui::FormModel {
 public:
  // The feature windows' one constructor shape.
  PingerSettings(const PingerContext& context, ui::IView& view, ui::ITimers& timers);

  void OnLoad() override;
  void OnEvent(const ui::Event& event) override;
  void OnUnload() override;

  // The run-time state of the schedule.
  const std::string& currentHost() const { return currentHost_; }
  const std::string& currentIntervalIndex() const { return currentIntervalIndex_; }
  int ticksPerPing() const { return ticksPerPing_; }
  int tickCounter() const { return tickCounter_; }
  bool changed() const { return changed_.changed(); }
  // Pings still out.
  std::size_t pingsInFlight() const { return flights_.Count(); }

 private:
  void LoadSettings();
  void SaveSettings();
  void OnTick();
  void PingNow();
  void OnDoPingingClick();
  void SetModeControls(bool automatic);
  void ShowEnabledStates();
  void Send(PingCause cause);
  void Landed(const std::string& host, const PingReport& report, unsigned causes);
  std::string TimeText(const LocalDateTime& when) const;

  PingerServices s_;
  ui::ChangedFlag changed_;
  PingFlights flights_;
  std::string currentHost_;
  std::string currentIntervalIndex_ = "5";
  int ticksPerPing_ = 6;
  int tickCounter_ = 0;
  // When the ping in flight to each host went out (by PingFlights::HostKey).
  std::map<std::string, LocalDateTime> sentAt_;
  bool unloaded_ = false;
  bool frameEnabled_ = true;         // frameConfigurations: pinging is set
  bool hostControlsEnabled_ = true;  // txtPingHost, cmbPingInterval: manual mode
};

// The line about the last ping: "Last ping 14:03:07 to 127.0.0.1: answer in
// 2 ms" or "...: no answer"; while one is out "Ping to 127.0.0.1 sent
// 14:03:07, waiting for an answer".
std::string LastPingText(std::string_view time, std::string_view host, const PingReport* report);

}  // namespace corvane
