#include "pinger/PingerSettings.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/RegistryAccess.h"
#include "tests/pinger/FakePingServices.h"
#include "tests/support/FakePingService.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/MemoryView.h"
#include "tests/tuning/support/FixedClock.h"

namespace corvane::testing {
namespace {

constexpr char kFolder[] = "C:\\Corvane";
constexpr char kSound[] = "C:\\Corvane\\Ping.wav";

class RecordingSound final : public ui::ISoundPlayer {
 public:
  void Play(const std::string& file) override { played.push_back(file); }
  std::vector<std::string> played;
};

// One run of the program: the window's controls, timers and model over the
// registry, the ping service and the sound that outlive it.
struct PingerRun {
  PingerRun(IRegistry& registry, IPingService& pings, ui::ISoundPlayer& sound,
      IWinsockMessageSink& messages, const IClock& clock, std::function<void()> yield)
      : view(NetPingerLayout()),
        model(PingerContext{registry, pings, sound, messages, clock, kFolder, std::move(yield)}, view, timers) {
    view.onEvent = [this](const ui::Event& e) { model.OnEvent(e); };
    timers.onEvent = [this](const ui::Event& e) { model.OnEvent(e); };
    model.OnLoad();
  }
  MemoryView view;
  FakeTimers timers;
  PingerSettings model;
};

class PingerSettingsTest : public ::testing::Test {
 protected:
  std::string Stored(const char* name) {
    return GetAppSetting(registry, ui::SettingsKey("NetPinger"), name, "<missing>");
  }
  void Store(const char* name, const char* text) {
    EXPECT_EQ(SaveAppSetting(registry, ui::SettingsKey("NetPinger"), name, RegValue(std::string(text))), reg::kSuccess);
  }
  PingerRun& Start() {
    if (run) run->model.OnUnload();
    run = std::make_unique<PingerRun>(registry, pings, sound, messages, clock, [this] { ++yields; });
    return *run;
  }
  // Ticks the timer n times; true when it ran every time.
  bool Tick(int n = 1) {
    for (int i = 0; i < n; ++i) {
      if (!run->timers.Tick(kTmrPinger)) return false;
    }
    return true;
  }
  // Ticks until a ping goes out, landing it; the number of ticks it took.
  int TicksToNextPing(PingReport report, int limit = 100) {
    std::size_t before = pings.started.size();
    for (int i = 1; i <= limit; ++i) {
      if (!Tick()) return -1;
      if (pings.started.size() > before) {
        pings.LandNext(report);
        return i;
      }
    }
    return -1;
  }
  // What the form shows of pinging and its mode: "Enable Pinger" with the
  // configuration frame following it, the two options, and the host box.
  void ExpectShown(bool pinging, bool manual, const std::string& host, bool hostEnabled) {
    const MemoryView& v = run->view;
    EXPECT_EQ(v.Value(kChkDoPinging), pinging ? 1 : 0);
    EXPECT_EQ(v.Enabled(kFrameConfigurations), pinging);
    EXPECT_EQ(v.Value(kOptAuto), manual ? 0 : 1);
    EXPECT_EQ(v.Value(kOptManual), manual ? 1 : 0);
    EXPECT_EQ(v.Text(kTxtPingHost), host);
    EXPECT_EQ(v.Enabled(kTxtPingHost), hostEnabled);
  }
  // The user's way: enable, manual mode, host, interval index, sound, Save.
  void SaveManual(const std::string& host, int index, bool soundOn) {
    MemoryView& v = run->view;
    if (v.Value(kChkDoPinging) != 1) {
      ASSERT_TRUE(v.Click(kChkDoPinging));
    }
    ASSERT_TRUE(v.Click(kOptManual));
    ASSERT_TRUE(v.Type(kTxtPingHost, host));
    ASSERT_TRUE(v.Choose(kCmbPingInterval, index));
    if ((v.Value(kChkSound) == 1) != soundOn) {
      ASSERT_TRUE(v.Click(kChkSound));
    }
    ASSERT_TRUE(v.Click(kCmdSave));
  }

  MemoryRegistry registry;
  FakePingService pings;
  RecordingSound sound;
  RecordingMessages messages;
  FixedClock clock{LocalDateTime{{2026, 12, 8}, {14, 3, 7}}};
  int yields = 0;
  std::unique_ptr<PingerRun> run;
};

// --- The window ---------------------------------------------------------------

TEST_F(PingerSettingsTest, LayoutHoldsTogetherInItsFrame) {
  EXPECT_EQ(ui::CheckLayout(NetPingerLayout(), 440, 244), std::vector<std::string>{});
  EXPECT_EQ(NetPingerLayout().caption, "Net Pinger Settings");
  EXPECT_EQ(NetPingerLayout().name, "frmNetPingerSettings");
  // Everything from the options to "Ping Now" sits in the configuration
  // frame; "Enable Pinger", "Save" and the description do not.
  for (int id : {kOptAuto, kOptManual, kLblPingHost, kTxtPingHost, kLblPingInterval,
                 kCmbPingInterval, kChkSound, kCmdPingNow}) {
    EXPECT_TRUE(ui::IsInside(NetPingerLayout(), id, kFrameConfigurations)) << id;
  }
  for (int id : {kChkDoPinging, kCmdSave, kLblPingerDescription, kLblLastPing}) {
    EXPECT_FALSE(ui::IsInside(NetPingerLayout(), id, kFrameConfigurations)) << id;
  }
}

TEST_F(PingerSettingsTest, FirstStartWithNothingStored) {
  PingerRun& r = Start();
  ExpectShown(false, false, "Automatic", false);
  EXPECT_FALSE(r.view.Enabled(kCmbPingInterval));
  ASSERT_EQ(r.view.ItemCount(kCmbPingInterval), 60);
  EXPECT_EQ(r.view.Items(kCmbPingInterval).front(), "1 min.");
  EXPECT_EQ(r.view.Items(kCmbPingInterval)[9], "10 min.");
  EXPECT_EQ(r.view.Items(kCmbPingInterval).back(), "60 min.");
  EXPECT_EQ(r.view.Value(kCmbPingInterval), 0);
  EXPECT_EQ(r.view.Value(kChkSound), 0);
  EXPECT_EQ(r.model.ticksPerPing(), 6);
  EXPECT_EQ(r.model.currentHost(), kAutomaticPingHost);
  EXPECT_EQ(r.model.currentIntervalIndex(), "5");
  EXPECT_EQ(r.timers.Interval(kTmrPinger), 0);
  EXPECT_FALSE(r.model.changed());
  EXPECT_FALSE(r.view.Enabled(kCmdSave));
  EXPECT_EQ(Stored("chkDoPinging"), "<missing>");  // loading writes nothing
}

// Every control event sets the changed flag, which enables "Save".
TEST_F(PingerSettingsTest, ControlEventsSetTheChangedFlag) {
  struct Row {
    const char* name;
    std::function<bool(MemoryView&)> act;
  };
  const Row rows[] = {
      {"chkDoPinging", [](MemoryView& v) { return v.Click(kChkDoPinging); }},
      {"optManual", [](MemoryView& v) { return v.Click(kOptManual); }},
      {"optAuto", [](MemoryView& v) { return v.Click(kOptAuto); }},
      {"txtPingHost", [](MemoryView& v) { return v.Click(kOptManual) && v.Type(kTxtPingHost, "h.example"); }},
      {"cmbPingInterval", [](MemoryView& v) { return v.Click(kOptManual) && v.Choose(kCmbPingInterval, 3); }},
      {"chkSound", [](MemoryView& v) { return v.Click(kChkSound); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Store("chkDoPinging", "1");  // the configuration group usable from the start
    PingerRun& r = Start();
    ASSERT_FALSE(r.view.Enabled(kCmdSave));
    ASSERT_TRUE(row.act(r.view));
    EXPECT_TRUE(r.model.changed());
    EXPECT_TRUE(r.view.Enabled(kCmdSave));
    ASSERT_TRUE(r.view.Click(kCmdSave));
    EXPECT_FALSE(r.model.changed());
    EXPECT_FALSE(r.view.Enabled(kCmdSave));
  }
}

TEST_F(PingerSettingsTest, ModesSwitchTheHostAndIntervalControls) {
  PingerRun& r = Start();
  ASSERT_TRUE(r.view.Click(kChkDoPinging));
  EXPECT_TRUE(r.view.Enabled(kFrameConfigurations));
  ASSERT_TRUE(r.view.Click(kOptManual));
  EXPECT_EQ(r.view.Text(kTxtPingHost), kManualStartPingHost);
  EXPECT_TRUE(r.view.Enabled(kTxtPingHost));
  EXPECT_TRUE(r.view.Enabled(kCmbPingInterval));
  ASSERT_TRUE(r.view.Choose(kCmbPingInterval, 7));
  ASSERT_TRUE(r.view.Click(kOptAuto));
  EXPECT_EQ(r.view.Text(kTxtPingHost), "Automatic");
  EXPECT_EQ(r.view.Value(kCmbPingInterval), 0);
  EXPECT_FALSE(r.view.Enabled(kTxtPingHost));
  EXPECT_FALSE(r.view.Enabled(kCmbPingInterval));
  // Unchecking disables the group, not the timer: that waits for "Save".
  ASSERT_TRUE(r.view.Click(kOptManual));
  ASSERT_TRUE(r.view.Click(kChkDoPinging));
  EXPECT_FALSE(r.view.Enabled(kFrameConfigurations));
  EXPECT_FALSE(r.view.Enabled(kTxtPingHost));
  EXPECT_EQ(r.timers.Interval(kTmrPinger), 0);
  // Checked again, manual mode's controls come back as they were.
  ASSERT_TRUE(r.view.Click(kChkDoPinging));
  EXPECT_TRUE(r.view.Enabled(kTxtPingHost));
  EXPECT_TRUE(r.view.Enabled(kCmbPingInterval));
}

// --- Stored values ----------------------------------------------------------

TEST_F(PingerSettingsTest, SaveWritesTheSixValuesAndLoadReadsThemBack) {
  Start();
  SaveManual("127.0.0.1", 9, true);
  EXPECT_EQ(Stored("chkDoPinging"), "1");
  EXPECT_EQ(Stored("optAuto"), "False");
  EXPECT_EQ(Stored("optManual"), "True");
  EXPECT_EQ(Stored("txtPingHost"), "127.0.0.1");
  EXPECT_EQ(Stored("cmbPingInterval"), "9");
  EXPECT_EQ(Stored("chkSound"), "1");

  PingerRun& r = Start();
  ExpectShown(true, true, "127.0.0.1", true);
  EXPECT_EQ(r.view.Value(kCmbPingInterval), 9);
  EXPECT_EQ(r.view.Value(kChkSound), 1);
  EXPECT_EQ(r.model.currentHost(), "127.0.0.1");
  EXPECT_EQ(r.model.currentIntervalIndex(), "9");
  EXPECT_EQ(r.model.ticksPerPing(), 10);
  EXPECT_EQ(r.timers.Interval(kTmrPinger), 65535);
  EXPECT_FALSE(r.view.Enabled(kCmdSave));

  // Automatic mode stores the box's text and the list's first item.
  ASSERT_TRUE(r.view.Click(kOptAuto));
  ASSERT_TRUE(r.view.Click(kCmdSave));
  EXPECT_EQ(Stored("optAuto"), "True");
  EXPECT_EQ(Stored("optManual"), "False");
  EXPECT_EQ(Stored("txtPingHost"), "Automatic");
  EXPECT_EQ(Stored("cmbPingInterval"), "0");
}

// Values that do not convert load their defaults; the window always loads.
TEST_F(PingerSettingsTest, JunkStoredValuesLoadTheirDefaults) {
  struct Row {
    const char* name;
    const char* value;
    int control;
    int expected;  // the control's value after loading
  };
  const Row rows[] = {
      {"chkDoPinging", "yes", kChkDoPinging, 0},
      {"chkDoPinging", "2", kChkDoPinging, 0},
      {"chkDoPinging", "", kChkDoPinging, 0},
      {"chkDoPinging", "1", kChkDoPinging, 1},
      {"chkSound", "-1", kChkSound, 0},
      {"chkSound", "1", kChkSound, 1},
      {"optAuto", "TRUE", kOptAuto, 1},
      {"optAuto", "maybe", kOptAuto, 1},
      {"cmbPingInterval", "abc", kCmbPingInterval, 5},
      {"cmbPingInterval", "60", kCmbPingInterval, 5},
      {"cmbPingInterval", "-1", kCmbPingInterval, 5},
      {"cmbPingInterval", " 3", kCmbPingInterval, 5},
      {"cmbPingInterval", "99999999999", kCmbPingInterval, 5},
      {"cmbPingInterval", "59", kCmbPingInterval, 59},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.name) + "=\"" + row.value + "\"");
    registry = MemoryRegistry();
    // The interval list is read in manual mode only.
    Store("optAuto", "False");
    Store("optManual", "True");
    if (std::string(row.name) == "optAuto") Store("optManual", "false");
    Store(row.name, row.value);
    PingerRun& r = Start();
    EXPECT_EQ(r.view.Value(row.control), row.expected);
    EXPECT_FALSE(r.view.Enabled(kCmdSave));
    EXPECT_GE(r.model.ticksPerPing(), 1);
  }
}

TEST_F(PingerSettingsTest, BooleanTextsAreReadWithoutRegardToCase) {
  for (const char* yes : {"true", "True", "TRUE", "tRuE"}) {
    SCOPED_TRACE(yes);
    registry = MemoryRegistry();
    Store("optAuto", "false");
    Store("optManual", yes);
    Store("txtPingHost", "127.0.0.1");
    PingerRun& r = Start();
    EXPECT_EQ(r.view.Value(kOptManual), 1);
    EXPECT_EQ(r.model.currentHost(), "127.0.0.1");
  }
}

// --- The schedule -------------------------------------------------------------

TEST_F(PingerSettingsTest, TimerRunsExactlyWhileTheStoredEnableIsSet) {
  PingerRun& r = Start();
  EXPECT_EQ(r.timers.Interval(kTmrPinger), 0);
  ASSERT_TRUE(r.view.Click(kChkDoPinging));
  EXPECT_EQ(r.timers.Interval(kTmrPinger), 0) << "only Save applies it";
  ASSERT_TRUE(r.view.Click(kCmdSave));
  EXPECT_EQ(r.timers.Interval(kTmrPinger), 65535);
  ASSERT_TRUE(r.view.Click(kChkDoPinging));
  ASSERT_TRUE(r.view.Click(kCmdSave));
  EXPECT_EQ(r.timers.Interval(kTmrPinger), 0);
  Store("chkDoPinging", "1");
  EXPECT_EQ(Start().timers.Interval(kTmrPinger), 65535);
}

// Saving in automatic mode leaves the list on its first item, so the
// schedule pings at every tick until the next start, which gives 6.
TEST_F(PingerSettingsTest, AutomaticSavePingsEveryTickUntilTheNextStart) {
  PingerRun& r = Start();
  ASSERT_TRUE(r.view.Click(kChkDoPinging));
  ASSERT_TRUE(r.view.Click(kCmdSave));
  EXPECT_EQ(r.model.ticksPerPing(), 1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(TicksToNextPing(FakePingService::Answer(5)), 1);
  for (const auto& started : pings.started) {
    EXPECT_EQ(started.host, kAutomaticPingHost);
    EXPECT_EQ(started.timeoutMs, 10000u);
  }
  PingerRun& again = Start();
  EXPECT_EQ(again.model.ticksPerPing(), 6);
  EXPECT_EQ(TicksToNextPing(FakePingService::Answer(5)), 6);
  EXPECT_EQ(TicksToNextPing(FakePingService::Answer(5)), 6);
}

TEST_F(PingerSettingsTest, ManualTenMinutesPingsTheTypedHostEveryTenTicks) {
  Start();
  SaveManual("10.9.8.7", 9, false);
  // The counter started at the load; it runs on through the save.
  EXPECT_EQ(TicksToNextPing(FakePingService::NoAnswer()), 10);
  EXPECT_EQ(TicksToNextPing(FakePingService::NoAnswer()), 10);
  EXPECT_EQ(pings.started.back().host, "10.9.8.7");
  Start();
  // After a start the first ping comes at the tenth tick (about 655 s).
  EXPECT_EQ(TicksToNextPing(FakePingService::NoAnswer()), 10);
  EXPECT_EQ(pings.started.back().host, "10.9.8.7");
}

TEST_F(PingerSettingsTest, ShorteningBelowTheCounterPingsAtTheNextTick) {
  Start();
  SaveManual("10.9.8.7", 9, false);
  ASSERT_TRUE(Tick(7));
  EXPECT_EQ(run->model.tickCounter(), 7);
  ASSERT_TRUE(run->view.Choose(kCmbPingInterval, 2));  // 3 min.
  ASSERT_TRUE(run->view.Click(kCmdSave));
  EXPECT_EQ(run->model.tickCounter(), 7) << "a save does not reset the counter";
  EXPECT_EQ(TicksToNextPing(FakePingService::NoAnswer()), 1);
  EXPECT_EQ(run->model.tickCounter(), 0);
  EXPECT_EQ(TicksToNextPing(FakePingService::NoAnswer()), 3);
}

TEST_F(PingerSettingsTest, UnsavedEditsLeaveTheScheduleAlone) {
  Start();
  SaveManual("10.9.8.7", 1, false);
  ASSERT_TRUE(run->view.Type(kTxtPingHost, "10.1.1.1"));
  ASSERT_TRUE(run->view.Choose(kCmbPingInterval, 0));
  EXPECT_EQ(TicksToNextPing(FakePingService::NoAnswer()), 2);
  EXPECT_EQ(pings.started.back().host, "10.9.8.7");
}

// --- Ping Now and the sound ----------------------------------------------------

TEST_F(PingerSettingsTest, PingNowPingsTheSavedHostNotTheUnsavedEdit) {
  Start();
  SaveManual("127.0.0.1", 4, false);
  ASSERT_TRUE(run->view.Type(kTxtPingHost, "10.1.1.1"));
  int before = yields;
  ASSERT_TRUE(run->view.Click(kCmdPingNow));
  EXPECT_EQ(yields - before, 6);
  ASSERT_EQ(pings.started.size(), 1u);
  EXPECT_EQ(pings.started[0].host, "127.0.0.1");
  EXPECT_EQ(pings.started[0].timeoutMs, 10000u);
}

// Which pings sound: a tick whatever the outcome, "Ping Now" only on an
// answer, nothing while the sound is off; one sound per echo.
TEST_F(PingerSettingsTest, SoundRules) {
  struct Row {
    const char* name;
    bool soundOn;
    bool byTick;
    bool byPingNow;
    bool answered;
    std::size_t sounds;
  };
  const Row rows[] = {
      {"tick, answered", true, true, false, true, 1},
      {"tick, unreachable", true, true, false, false, 1},
      {"Ping Now, answered", true, false, true, true, 1},
      {"Ping Now, unreachable", true, false, true, false, 0},
      {"tick and Ping Now joined, unreachable", true, true, true, false, 1},
      {"tick and Ping Now joined, answered", true, true, true, true, 1},
      {"sound off, tick", false, true, false, true, 0},
      {"sound off, Ping Now", false, false, true, true, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    registry = MemoryRegistry();
    pings.started.clear();
    sound.played.clear();
    Start();
    SaveManual("10.9.8.7", 0, row.soundOn);
    if (row.byTick) {
      ASSERT_TRUE(Tick());
    }
    if (row.byPingNow) {
      ASSERT_TRUE(run->view.Click(kCmdPingNow));
    }
    ASSERT_EQ(pings.started.size(), 1u);
    EXPECT_TRUE(sound.played.empty()) << "the sound waits for the outcome";
    pings.LandNext(row.answered ? FakePingService::Answer(3) : FakePingService::NoAnswer());
    EXPECT_EQ(sound.played.size(), row.sounds);
    if (!sound.played.empty()) {
      EXPECT_EQ(sound.played[0], kSound);
    }
    EXPECT_TRUE(run->view.messages.empty()) << "nothing is shown on failure";
  }
}

// The sound follows the box as it is when the answer comes, as it did when
// the ping ran on this thread.
TEST_F(PingerSettingsTest, SoundFollowsTheBoxWhenTheOutcomeArrives) {
  Start();
  SaveManual("10.9.8.7", 0, true);
  ASSERT_TRUE(Tick());
  ASSERT_TRUE(run->view.Click(kChkSound));  // off, unsaved
  pings.LandNext(FakePingService::NoAnswer());
  EXPECT_TRUE(sound.played.empty());
}

TEST_F(PingerSettingsTest, PingNowIsOnlyThereWhilePingingIsOn) {
  PingerRun& r = Start();
  EXPECT_FALSE(r.view.Enabled(kFrameConfigurations));
  // What the frame holds is unusable with it.
  for (int id : {kOptAuto, kOptManual, kTxtPingHost, kCmbPingInterval, kChkSound, kCmdPingNow}) {
    EXPECT_FALSE(r.view.Enabled(id)) << id;
  }
  EXPECT_FALSE(r.view.Click(kCmdPingNow));
  EXPECT_TRUE(pings.started.empty());
  ASSERT_TRUE(r.view.Click(kChkDoPinging));
  for (int id : {kOptAuto, kOptManual, kChkSound, kCmdPingNow}) EXPECT_TRUE(r.view.Enabled(id)) << id;
  // Automatic mode still holds the host and the interval.
  EXPECT_FALSE(r.view.Enabled(kTxtPingHost));
  EXPECT_FALSE(r.view.Enabled(kCmbPingInterval));
  EXPECT_TRUE(r.view.Enabled(kFrameConfigurations));
  // Unsaved: Ping Now uses the host of the last load, the built-in one.
  ASSERT_TRUE(r.view.Click(kCmdPingNow));
  EXPECT_EQ(pings.started.back().host, kAutomaticPingHost);
}

// --- Pings in flight ------------------------------------------------------------

TEST_F(PingerSettingsTest, AtMostOnePingPerHostInFlight) {
  Start();
  SaveManual("127.0.0.1", 0, true);
  ASSERT_TRUE(Tick());
  ASSERT_TRUE(run->view.Click(kCmdPingNow));
  ASSERT_TRUE(run->view.Click(kCmdPingNow));
  EXPECT_EQ(pings.started.size(), 1u);
  EXPECT_EQ(run->model.pingsInFlight(), 1u);
  // The next tick comes due while the ping is still out: it joins as well
  // and the counter goes on as usual.
  ASSERT_TRUE(Tick());
  EXPECT_EQ(pings.started.size(), 1u);
  EXPECT_EQ(run->model.tickCounter(), 0);
  pings.LandNext(FakePingService::Answer(2));
  EXPECT_EQ(sound.played.size(), 1u);
  EXPECT_EQ(run->model.pingsInFlight(), 0u);
  // Once landed, the host can be pinged again.
  ASSERT_TRUE(run->view.Click(kCmdPingNow));
  EXPECT_EQ(pings.started.size(), 2u);
}

// A save that changes the host while the old host's ping is out: the new
// host is pinged at once, the old report still lands and is shown.
TEST_F(PingerSettingsTest, PingsToDifferentHostsFlyTogether) {
  Start();
  SaveManual("127.0.0.1", 0, false);
  ASSERT_TRUE(run->view.Click(kCmdPingNow));
  ASSERT_TRUE(run->view.Type(kTxtPingHost, "127.0.0.2"));
  ASSERT_TRUE(run->view.Click(kCmdSave));
  ASSERT_TRUE(run->view.Click(kCmdPingNow));
  ASSERT_EQ(pings.started.size(), 2u);
  pings.Land(1, FakePingService::Answer(4));
  EXPECT_EQ(run->view.Text(kLblLastPing), "Last ping 14:03:07 to 127.0.0.2: answer in 4 ms");
  pings.Land(0, FakePingService::NoAnswer());
  EXPECT_EQ(run->view.Text(kLblLastPing), "Last ping 14:03:07 to 127.0.0.1: no answer");
}

TEST_F(PingerSettingsTest, NothingHappensAfterTheWindowIsGone) {
  Start();
  SaveManual("127.0.0.1", 0, true);
  ASSERT_TRUE(Tick());
  std::string line = run->view.Text(kLblLastPing);
  run->model.OnUnload();
  EXPECT_EQ(run->timers.Interval(kTmrPinger), 0);
  pings.LandNext(PingReport{false, 0, {{"Windows Sockets error 10093 occurred in Cleanup.",
                                        MessageIcon::Warning}}});
  EXPECT_TRUE(sound.played.empty());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(run->view.Text(kLblLastPing), line);
  EXPECT_EQ(run->model.pingsInFlight(), 0u);
  // A late event reaches nothing either.
  run->model.OnEvent(ui::Event{kCmdPingNow, ui::Event::Click, 0});
  EXPECT_EQ(pings.started.size(), 1u);
  run.reset();  // the model goes before the service
  EXPECT_EQ(pings.Outstanding(), 0u);
}

// The Windows Sockets messages of a ping are shown here, when its report
// comes back, before its sound.
TEST_F(PingerSettingsTest, SocketsMessagesAreShownWhenTheReportLands) {
  Start();
  SaveManual("127.0.0.1", 0, true);
  ASSERT_TRUE(Tick());
  pings.LandNext(PingReport{
      false, 0, {{"Windows Sockets for 32 bit Windows environments is not successfully responding.",
                  MessageIcon::None}}});
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
  EXPECT_EQ(sound.played.size(), 1u);
}

// --- The line about the last ping ------------------------------------------

TEST_F(PingerSettingsTest, LastPingLineTellsWhenWhereAndWhatCameBack) {
  PingerRun& r = Start();
  EXPECT_EQ(r.view.Text(kLblLastPing), "");
  SaveManual("127.0.0.1", 0, false);
  clock.Set(LocalDateTime{{2026, 12, 8}, {9, 5, 1}});
  ASSERT_TRUE(r.view.Click(kCmdPingNow));
  EXPECT_EQ(r.view.Text(kLblLastPing), "Ping to 127.0.0.1 sent 09:05:01, waiting for an answer");
  clock.Set(LocalDateTime{{2026, 12, 8}, {9, 5, 11}});
  pings.LandNext(FakePingService::NoAnswer());
  // The time the ping went out, not the time the answer stopped waiting.
  EXPECT_EQ(r.view.Text(kLblLastPing), "Last ping 09:05:01 to 127.0.0.1: no answer");
  ASSERT_TRUE(Tick());
  pings.LandNext(FakePingService::Answer(0));
  EXPECT_EQ(r.view.Text(kLblLastPing), "Last ping 09:05:11 to 127.0.0.1: answer in 0 ms");
  EXPECT_FALSE(r.view.Enabled(kCmdSave)) << "the line is no setting";
}

}  // namespace
}  // namespace corvane::testing
