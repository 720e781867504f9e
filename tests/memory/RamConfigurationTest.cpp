// The RAM configuration: its form, its nine stored values, the rules of its
// boxes and buttons, and the alarm check with its sound, against the
// in-memory view, fake timers and fakes of the memory status, the
// processor sampler, the releaser and the sound player.
#include "memory/RamConfiguration.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/RegistryAccess.h"
#include "platform/ui/YieldPump.h"
#include "tests/memory/FakeMemoryServices.h"
#include "tests/support/ControlsInFrames.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/MemoryView.h"

namespace corvane::memory {
namespace {

constexpr std::uint32_t kMB = 1048576;
constexpr char kFolder[] = "C:\\Program Files\\Corvane";

const std::string kKey = ui::SettingsKey(kRamSettingsSection);

// The window's model over the fakes, with the user's hands on the view.
struct Form {
  Form() : model(Services(), view, timers) {
    view.onEvent = [this](const ui::Event& e) { model.OnEvent(e); };
    timers.onEvent = [this](const ui::Event& e) { model.OnEvent(e); };
    model.SetSampler(&sampler);
  }
  RamConfigurationModel::Services Services() {
    return {registry, status, releaser, sounds, [this] { ++yields; }, kFolder};
  }
  void Store(std::string_view name, std::string_view text) { EXPECT_EQ(SaveAppSetting(registry, kKey, name, text), reg::kSuccess); }
  std::string Stored(std::string_view name) { return GetAppSetting(registry, kKey, name, "<missing>"); }
  void SetFreeMegabytes(std::uint32_t megabytes) { status.status.availablePhysical = megabytes * kMB; }
  void Load() { model.OnLoad(); }
  // The stored settings a test starts from (and the free memory, when it
  // says), then the form loaded.
  void Load(std::initializer_list<std::pair<std::string_view, std::string_view>> settings,
            std::optional<std::uint32_t> freeMegabytes = std::nullopt) {
    for (const auto& [name, text] : settings) Store(name, text);
    if (freeMegabytes) SetFreeMegabytes(*freeMegabytes);
    Load();
  }
  void Check() { ASSERT_TRUE(timers.Tick(kIdTmrAlarm)); }
  // Sets a box the way a user would reach that state (a click when it
  // differs), then saves.
  void SetBox(int id, int value) {
    if (view.Value(id) != value) view.Click(id);
  }

  testing::MemoryRegistry registry;
  testing::FixedMemoryStatus status;
  testing::RecordingReleaser releaser;
  testing::RecordingSounds sounds;
  testing::FakeSampler sampler;
  testing::MemoryView view{kRamConfigurationLayout};
  testing::FakeTimers timers;
  int yields = 0;
  RamConfigurationModel model;
};

// ---- the form ---------------------------------------------------------------

TEST(RamConfigurationLayout, IsSoundAndFitsItsFourHundredFortyByTwoHundredFortyFrame) {
  EXPECT_EQ(kRamConfigurationLayout.name, "frmRamConfiguration");
  EXPECT_EQ(kRamConfigurationLayout.width, 440);
  EXPECT_EQ(kRamConfigurationLayout.height, 240);
  EXPECT_EQ(ui::CheckLayout(kRamConfigurationLayout, 440, 240), std::vector<std::string>{});
}

TEST(RamConfigurationLayout, EveryControlWithItsCaptionInItsFrame) {
  using K = ui::ControlKind;
  const testing::ControlInFrame rows[] = {
      {"frameRamConfiguration", K::Frame, "Ram Configuration", ""},
      {"frameAutomatic", K::Frame, "Automatic Optimization", "frameRamConfiguration"},
      {"frameToolTip", K::Frame, "System Tray Icon Tool Tip Text", "frameRamConfiguration"},
      {"frameOnOff", K::Frame, "On/Off settings", "frameRamConfiguration"},
      {"chkSoundon", K::CheckBox, "Sound on", "frameOnOff"},
      {"chkAutomatic", K::CheckBox, "Optimize automatically when Alarm level is reached", "frameOnOff"},
      {"lblAlarm", K::Label, "Alarm Level (in MB):", "frameAutomatic"},
      {"txtAlarm", K::TextBox, "", "frameAutomatic"},
      {"lblFreeAlarm", K::Label, "RAM to try and free when alarm level is reached:", "frameAutomatic"},
      {"txtFreeAlarm", K::TextBox, "", "frameAutomatic"},
      {"lblTimeCheck", K::Label, "Do check every (in Milliseconds)", "frameAutomatic"},
      {"txtTimeCheck", K::TextBox, "", "frameAutomatic"},
      {"updnTimeCheck", K::UpDown, "", "frameAutomatic"},
      {"lblRetryOptimization", K::Label, "Times to retry optimization", "frameToolTip"},
      {"txtRetryOptimization", K::TextBox, "", "frameToolTip"},
      {"UpDownRetryOptimization", K::UpDown, "", "frameToolTip"},
      {"lblRunOnly", K::Label, "Run ONLY if CPU-Usage is below this (0=detectyion not in use)", "frameToolTip"},
      {"txtRunOnly", K::TextBox, "", "frameToolTip"},
      {"UpDownRunOnly", K::UpDown, "", "frameToolTip"},
      {"optMB", K::Option, "Free RAM in MB", "frameToolTip"},
      {"optPer", K::Option, "Percentage of Free RAM", "frameToolTip"},
      {"cmdSave", K::Button, "Save", "frameRamConfiguration"},
  };
  testing::ExpectControlsInFrames(kRamConfigurationLayout, rows);
  // The two tooltip options are one group.
  EXPECT_EQ(ui::OptionGroup(kRamConfigurationLayout, kIdOptPer), (std::vector<int>{kIdOptMB, kIdOptPer}));
}

TEST(RamConfigurationLayout, UpDownRangesAndTheLimitsOfEveryNumberBox) {
  Form form;
  form.Load();
  EXPECT_EQ(form.view.Range(kIdUpdnTimeCheck), (std::pair{0, 65535}));
  EXPECT_EQ(form.view.Range(kIdUpDownRetryOptimization), (std::pair{0, 20}));
  EXPECT_EQ(form.view.Range(kIdUpDownRunOnly), (std::pair{0, 1000}));
  const struct {
    int box, minimum, maximum, fallback;
  } limits[] = {{kIdTxtTimeCheck, 0, 65535, 100}, {kIdTxtAlarm, 0, 32767, 250}, {kIdTxtFreeAlarm, 0, 1000, 10},
                {kIdTxtRunOnly, 0, 1000, 2},       {kIdTxtRetryOptimization, 0, 20, 10}};
  for (const auto& l : limits) {
    const NumberRule* rule = RuleOf(l.box);
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->minimum, l.minimum);
    EXPECT_EQ(rule->maximum, l.maximum);
    EXPECT_EQ(rule->fallback, l.fallback);
  }
}

TEST(RamConfigurationLayout, ANumberIsAWholeDecimalAndNothingElse) {
  const std::pair<std::string_view, std::optional<int>> cases[] = {
      {"0", 0},          {"250", 250},       {"-5", -5},           {"007", 7},
      {"", std::nullopt}, {"-", std::nullopt}, {" 5", std::nullopt}, {"5 ", std::nullopt},
      {"+5", std::nullopt}, {"1.5", std::nullopt}, {"1e3", std::nullopt}, {"&H10", std::nullopt},
      {"2147483647", 2147483647}, {"--1", std::nullopt},
      // Past what an int holds: the nearer end, so that the boxes' limits
      // treat it as any other number out of range.
      {"2147483648", 2147483647}, {"99999999999", 2147483647}, {"-2147483649", -2147483647 - 1},
      {"-99999999999999999999", -2147483647 - 1}, {"99999999999x", std::nullopt}};
  for (auto [text, value] : cases) EXPECT_EQ(ParseWholeNumber(text), value) << text;
}

// ---- stored values ----------------------------------------------------------

TEST(RamSettings, NineValuesInTheirOrderWithTheirDefaults) {
  const std::pair<std::string_view, std::string_view> expected[] = {
      {"chkSoundon", "0"}, {"chkAutomatic", "0"}, {"txtAlarm", "250"}, {"txtFreeAlarm", "10"},
      {"txtTimeCheck", "100"}, {"optPer", "false"}, {"optMB", "true"}, {"txtRunOnly", "2"},
      {"txtRetryOptimization", "10"}};
  ASSERT_EQ(std::size(kRamSettingsStored), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(ui::FindControl(kRamConfigurationLayout, kRamSettingsStored[i].control)->name, expected[i].first);
    EXPECT_EQ(kRamSettingsStored[i].fallback, expected[i].second) << expected[i].first;
  }
  EXPECT_EQ(kKey, "SOFTWARE\\Tarvik\\Pellavon\\Settings\\RamSettings");
}

TEST(RamSettings, FirstStartLoadsTheDefaultsAndTheChecksDoNothing) {
  Form form;
  form.SetFreeMegabytes(1);  // far below the level: still nothing, both are off
  form.Load();
  const std::pair<int, std::string_view> texts[] = {{kIdTxtAlarm, "250"}, {kIdTxtFreeAlarm, "10"},
                                                     {kIdTxtTimeCheck, "100"}, {kIdTxtRunOnly, "2"},
                                                     {kIdTxtRetryOptimization, "10"}};
  for (auto [id, text] : texts) EXPECT_EQ(form.view.Text(id), text) << id;
  EXPECT_EQ(form.view.Value(kIdChkSoundon), 0);
  EXPECT_EQ(form.view.Value(kIdChkAutomatic), 0);
  EXPECT_EQ(form.view.Value(kIdOptMB), 1);
  EXPECT_EQ(form.view.Value(kIdOptPer), 0);
  EXPECT_FALSE(form.model.optPer());
  EXPECT_EQ(form.model.alarmLevel(), 250);
  EXPECT_EQ(form.model.lastLoadedAmount(), 10);
  EXPECT_EQ(form.model.processorCeiling(), 2);
  EXPECT_EQ(form.model.retryCount(), 10);
  EXPECT_EQ(form.timers.Interval(kIdTmrAlarm), 100);
  EXPECT_EQ(form.timers.Interval(kIdTmrSoundPlayer), 65535);
  EXPECT_FALSE(form.model.settingsChanged());
  EXPECT_FALSE(form.view.Enabled(kIdCmdSave));
  for (int i = 0; i < 5; ++i) form.Check();
  EXPECT_FALSE(form.model.soundArmed());
  EXPECT_TRUE(form.releaser.claims.empty());
  EXPECT_EQ(form.sampler.queries, 0);
  EXPECT_TRUE(form.timers.Tick(kIdTmrSoundPlayer));
  EXPECT_TRUE(form.sounds.played.empty());
  // Loading wrote nothing.
  EXPECT_EQ(form.Stored("txtAlarm"), "<missing>");
}

TEST(RamSettings, SaveWritesTheNineValuesAndRunsOnWhatWasStored) {
  Form form;
  form.Load();
  form.SetBox(kIdChkSoundon, 1);
  form.SetBox(kIdChkAutomatic, 1);
  form.view.Type(kIdTxtAlarm, "300");
  form.view.Type(kIdTxtFreeAlarm, "25");
  form.view.Type(kIdTxtTimeCheck, "500");
  form.view.Click(kIdOptPer);
  form.view.Type(kIdTxtRunOnly, "50");
  form.view.Arrow(kIdUpDownRetryOptimization, -1);
  EXPECT_TRUE(form.view.Enabled(kIdCmdSave));
  // Unsaved edits change nothing in force.
  EXPECT_EQ(form.model.alarmLevel(), 250);
  EXPECT_EQ(form.timers.Interval(kIdTmrAlarm), 100);
  ASSERT_TRUE(form.view.Click(kIdCmdSave));
  const std::pair<std::string_view, std::string_view> stored[] = {
      {"chkSoundon", "1"}, {"chkAutomatic", "1"}, {"txtAlarm", "300"}, {"txtFreeAlarm", "25"},
      {"txtTimeCheck", "500"}, {"optPer", "True"}, {"optMB", "False"}, {"txtRunOnly", "50"},
      {"txtRetryOptimization", "9"}};
  for (auto [name, text] : stored) EXPECT_EQ(form.Stored(name), text) << name;
  EXPECT_EQ(form.model.alarmLevel(), 300);
  EXPECT_EQ(form.model.lastLoadedAmount(), 25);
  EXPECT_EQ(form.model.processorCeiling(), 50);
  EXPECT_EQ(form.model.retryCount(), 9);
  EXPECT_EQ(form.timers.Interval(kIdTmrAlarm), 500);
  EXPECT_TRUE(form.model.optPer());
  EXPECT_FALSE(form.view.Enabled(kIdCmdSave));
  // Another start reads the same.
  Form again;
  again.registry = form.registry;
  again.Load();
  EXPECT_EQ(again.model.alarmLevel(), 300);
  EXPECT_TRUE(again.model.optPer());
  EXPECT_EQ(again.timers.Interval(kIdTmrAlarm), 500);
}

TEST(RamSettings, JunkAndOutOfLimitStoredValuesLoadWhatTheBoxCanHold) {
  // Text boxes whose rule refuses a value load the default; the arrows'
  // boxes hold the nearer limit; the box shows the value in force.
  const struct {
    std::string_view name;
    std::string_view stored;
    int box;
    std::string_view shown;
  } cases[] = {
      {"txtAlarm", "abc", kIdTxtAlarm, "250"},          {"txtAlarm", "-5", kIdTxtAlarm, "250"},
      {"txtAlarm", "40000", kIdTxtAlarm, "250"},        {"txtAlarm", "32767", kIdTxtAlarm, "32767"},
      {"txtAlarm", "", kIdTxtAlarm, "250"},             {"txtAlarm", " 12", kIdTxtAlarm, "250"},
      {"txtFreeAlarm", "1001", kIdTxtFreeAlarm, "10"},  {"txtFreeAlarm", "2048", kIdTxtFreeAlarm, "10"},
      {"txtFreeAlarm", "0", kIdTxtFreeAlarm, "0"},      {"txtFreeAlarm", "1.5", kIdTxtFreeAlarm, "10"},
      {"txtTimeCheck", "70000", kIdTxtTimeCheck, "65535"}, {"txtTimeCheck", "-1", kIdTxtTimeCheck, "0"},
      {"txtTimeCheck", "x", kIdTxtTimeCheck, "100"},
      {"txtTimeCheck", "99999999999", kIdTxtTimeCheck, "65535"},
      {"txtTimeCheck", "-99999999999", kIdTxtTimeCheck, "0"},
      {"txtAlarm", "99999999999", kIdTxtAlarm, "250"},
      {"txtRunOnly", "99999999999", kIdTxtRunOnly, "1000"},
      {"txtRunOnly", "300", kIdTxtRunOnly, "300"},      {"txtRunOnly", "5000", kIdTxtRunOnly, "1000"},
      {"txtRetryOptimization", "255", kIdTxtRetryOptimization, "20"},
      {"txtRetryOptimization", "0", kIdTxtRetryOptimization, "0"},
  };
  for (const auto& c : cases) {
    Form form;
    form.Store(c.name, c.stored);
    form.Load();
    EXPECT_EQ(form.view.Text(c.box), c.shown) << c.name << "=" << c.stored;
    EXPECT_FALSE(form.model.settingsChanged()) << c.name << "=" << c.stored;
  }
  // Check boxes and options that do not convert load their defaults.
  Form form;
  form.Load({{"chkSoundon", "2"}, {"chkAutomatic", "yes"}, {"optPer", "TRUE"}, {"optMB", "maybe"}});
  EXPECT_EQ(form.view.Value(kIdChkSoundon), 0);
  EXPECT_EQ(form.view.Value(kIdChkAutomatic), 0);
  // optMB's default "true" is read after optPer and wins the group.
  EXPECT_EQ(form.view.Value(kIdOptMB), 1);
  EXPECT_EQ(form.view.Value(kIdOptPer), 0);
}

TEST(RamSettings, WhatIsStoredIsWhatRuns) {
  Form form;
  form.Load();
  form.SetBox(kIdChkAutomatic, 1);
  form.view.Type(kIdTxtTimeCheck, "70000");
  form.view.Type(kIdTxtRunOnly, "9999");
  form.view.Type(kIdTxtRetryOptimization, "99");
  form.view.Click(kIdCmdSave);
  EXPECT_EQ(form.Stored("txtTimeCheck"), "65535");
  EXPECT_EQ(form.timers.Interval(kIdTmrAlarm), 65535);
  EXPECT_EQ(form.Stored("txtRunOnly"), "1000");
  EXPECT_EQ(form.model.processorCeiling(), 1000);
  EXPECT_EQ(form.Stored("txtRetryOptimization"), "20");
  EXPECT_EQ(form.model.retryCount(), 20);
  EXPECT_EQ(form.view.Text(kIdTxtRetryOptimization), "20");
}

TEST(RamSettings, IntervalZeroStopsTheChecks) {
  Form form;
  form.Load({{"txtTimeCheck", "0"}, {"chkSoundon", "1"}}, 10);
  EXPECT_EQ(form.timers.Interval(kIdTmrAlarm), 0);
  EXPECT_FALSE(form.timers.Tick(kIdTmrAlarm));
  EXPECT_EQ(form.timers.Interval(kIdTmrSoundPlayer), 65535);  // always runs
  // Saving a new interval starts them again.
  form.SetBox(kIdChkAutomatic, 1);
  form.view.Arrow(kIdUpdnTimeCheck, +1);
  form.view.Click(kIdCmdSave);
  EXPECT_EQ(form.timers.Interval(kIdTmrAlarm), 1);
  form.model.OnUnload();
  EXPECT_EQ(form.timers.Interval(kIdTmrAlarm), 0);
  EXPECT_EQ(form.timers.Interval(kIdTmrSoundPlayer), 0);
}

// ---- control rules ----------------------------------------------------------

TEST(RamConfigurationRules, EachCheckBoxEnablesItsBoxes) {
  const struct {
    int soundon, automatic;
    bool alarm, freeAlarm;
  } cases[] = {{0, 0, false, false}, {1, 0, true, false}, {0, 1, false, true}, {1, 1, true, true}};
  for (const auto& c : cases) {
    // Loaded so, and clicked so.
    Form loaded;
    loaded.Store("chkSoundon", std::to_string(c.soundon));
    loaded.Store("chkAutomatic", std::to_string(c.automatic));
    loaded.Load();
    Form clicked;
    clicked.Load();
    clicked.SetBox(kIdChkSoundon, c.soundon);
    clicked.SetBox(kIdChkAutomatic, c.automatic);
    for (Form* form : {&loaded, &clicked}) {
      EXPECT_EQ(form->view.Enabled(kIdTxtAlarm), c.alarm) << c.soundon << c.automatic;
      EXPECT_EQ(form->view.Enabled(kIdTxtFreeAlarm), c.freeAlarm);
      EXPECT_EQ(form->view.Enabled(kIdTxtTimeCheck), c.freeAlarm);
      EXPECT_EQ(form->view.Enabled(kIdUpdnTimeCheck), c.freeAlarm);
      // The rest stays usable.
      EXPECT_TRUE(form->view.Enabled(kIdTxtRunOnly));
      EXPECT_TRUE(form->view.Enabled(kIdUpDownRetryOptimization));
    }
  }
}

TEST(RamConfigurationRules, RefusedEntriesSnapBackToTheLastLoadedValue) {
  const struct {
    int box;
    std::string_view typed;
    std::string_view shown;
  } cases[] = {
      {kIdTxtAlarm, "abc", "250"},      {kIdTxtAlarm, "-1", "250"},    {kIdTxtAlarm, "", "250"},
      {kIdTxtAlarm, "40000", "250"},    {kIdTxtAlarm, "12.5", "250"},  {kIdTxtAlarm, "0", "0"},
      {kIdTxtAlarm, "32767", "32767"},  {kIdTxtAlarm, "1500", "1500"},
      {kIdTxtFreeAlarm, "1500", "10"},  {kIdTxtFreeAlarm, "1001", "10"}, {kIdTxtFreeAlarm, "x1", "10"},
      {kIdTxtFreeAlarm, "-3", "10"},    {kIdTxtFreeAlarm, "1000", "1000"}, {kIdTxtFreeAlarm, "0", "0"},
  };
  for (const auto& c : cases) {
    Form form;
    form.Load({{"chkSoundon", "1"}, {"chkAutomatic", "1"}});
    ASSERT_TRUE(form.view.Type(c.box, c.typed));
    EXPECT_EQ(form.view.Text(c.box), c.shown) << c.typed;
    EXPECT_TRUE(form.model.settingsChanged()) << c.typed;
    EXPECT_TRUE(form.view.Enabled(kIdCmdSave)) << c.typed;
  }
  // The value put back is the last loaded one, not the last typed one.
  Form form;
  form.Load({{"chkSoundon", "1"}, {"chkAutomatic", "1"}, {"txtAlarm", "180"}, {"txtFreeAlarm", "40"}});
  form.view.Type(kIdTxtAlarm, "300");
  form.view.Type(kIdTxtAlarm, "letters");
  EXPECT_EQ(form.view.Text(kIdTxtAlarm), "180");
  form.view.Type(kIdTxtFreeAlarm, "90");
  form.view.Type(kIdTxtFreeAlarm, "1500");
  EXPECT_EQ(form.view.Text(kIdTxtFreeAlarm), "40");
}

TEST(RamConfigurationRules, EveryEditSetsTheChangedFlagAndSaveClearsIt) {
  using Act = void (*)(Form&);
  const std::pair<const char*, Act> acts[] = {
      {"chkSoundon", [](Form& f) { f.view.Click(kIdChkSoundon); }},
      {"chkAutomatic", [](Form& f) { f.view.Click(kIdChkAutomatic); }},
      {"optPer", [](Form& f) { f.view.Click(kIdOptPer); }},
      {"optMB", [](Form& f) { f.view.Click(kIdOptMB); }},
      {"updnTimeCheck", [](Form& f) { f.view.Arrow(kIdUpdnTimeCheck, -1); }},
      {"UpDownRetryOptimization", [](Form& f) { f.view.Arrow(kIdUpDownRetryOptimization, +1); }},
      {"UpDownRunOnly", [](Form& f) { f.view.Arrow(kIdUpDownRunOnly, +1); }},
      {"txtRunOnly", [](Form& f) { f.view.Type(kIdTxtRunOnly, "7"); }},
      {"txtAlarm", [](Form& f) { f.view.Type(kIdTxtAlarm, "7"); }},
      {"txtFreeAlarm", [](Form& f) { f.view.Type(kIdTxtFreeAlarm, "7"); }},
  };
  for (auto [name, act] : acts) {
    Form form;
    form.Load({{"chkSoundon", "1"}, {"chkAutomatic", "1"}});
    ASSERT_FALSE(form.view.Enabled(kIdCmdSave));
    act(form);
    EXPECT_TRUE(form.model.settingsChanged()) << name;
    EXPECT_TRUE(form.view.Enabled(kIdCmdSave)) << name;
    form.view.Click(kIdCmdSave);
    EXPECT_FALSE(form.model.settingsChanged()) << name;
    EXPECT_FALSE(form.view.Enabled(kIdCmdSave)) << name;
  }
}

TEST(RamConfigurationRules, ArrowsStepTheirBoxWithinTheirRange) {
  const struct {
    std::string_view name;
    std::string_view stored;
    int upDown, delta, box;
    std::string_view shown;
  } cases[] = {
      {"txtTimeCheck", "100", kIdUpdnTimeCheck, +1, kIdTxtTimeCheck, "101"},
      {"txtTimeCheck", "0", kIdUpdnTimeCheck, -1, kIdTxtTimeCheck, "0"},
      {"txtTimeCheck", "65535", kIdUpdnTimeCheck, +1, kIdTxtTimeCheck, "65535"},
      {"txtRetryOptimization", "20", kIdUpDownRetryOptimization, +1, kIdTxtRetryOptimization, "20"},
      {"txtRetryOptimization", "0", kIdUpDownRetryOptimization, -1, kIdTxtRetryOptimization, "0"},
      {"txtRunOnly", "1000", kIdUpDownRunOnly, +1, kIdTxtRunOnly, "1000"},
      {"txtRunOnly", "2", kIdUpDownRunOnly, -1, kIdTxtRunOnly, "1"},
  };
  for (const auto& c : cases) {
    Form form;
    form.Store("chkAutomatic", "1");
    form.Store(c.name, c.stored);
    form.Load();
    ASSERT_TRUE(form.view.Arrow(c.upDown, c.delta));
    EXPECT_EQ(form.view.Text(c.box), c.shown) << c.name << " " << c.stored;
  }
}

// ---- the check --------------------------------------------------------------

struct CheckCase {
  const char* what;
  int soundon, automatic;
  std::uint32_t freeMegabytes;
  int level, amount, ceiling, retries;
  std::int32_t usage;
  bool armed;
  std::size_t claims;
  int queries;
};

TEST(AlarmCheck, ArmsTheSoundAndFreesMemoryAsTheSettingsSay) {
  const CheckCase cases[] = {
      {"defaults: both off", 0, 0, 10, 250, 10, 2, 10, 0, false, 0, 0},
      {"three claims of the amount", 0, 1, 200, 250, 10, 0, 3, 0, false, 3, 0},
      {"sound only", 1, 0, 200, 250, 10, 0, 3, 0, true, 0, 0},
      {"sound and claims", 1, 1, 200, 250, 10, 0, 3, 0, true, 3, 0},
      {"processor too busy", 0, 1, 200, 250, 10, 50, 3, 80, false, 0, 1},
      {"processor at the ceiling", 0, 1, 200, 250, 10, 50, 3, 50, false, 0, 1},
      {"processor below the ceiling", 0, 1, 200, 250, 10, 50, 3, 49, false, 3, 1},
      {"sampler that cannot measure", 0, 1, 200, 250, 10, 50, 3, -1, false, 3, 1},
      {"ceiling above 100", 0, 1, 200, 250, 10, 300, 2, 100, false, 2, 1},
      {"retries 0 make one", 0, 1, 200, 250, 10, 0, 0, 0, false, 1, 0},
      {"free exactly at the level", 1, 1, 200, 200, 10, 0, 3, 0, false, 0, 0},
      {"free above the level", 1, 1, 201, 200, 10, 0, 3, 0, false, 0, 0},
      {"level 0", 1, 1, 0, 0, 10, 0, 3, 0, false, 0, 0},
      {"amount 0 still claims", 0, 1, 200, 250, 0, 0, 2, 0, false, 2, 0},
      {"retries 20", 0, 1, 200, 250, 1000, 0, 20, 0, false, 20, 0},
  };
  for (const CheckCase& c : cases) {
    Form form;
    form.Store("chkSoundon", std::to_string(c.soundon));
    form.Store("chkAutomatic", std::to_string(c.automatic));
    form.Store("txtAlarm", std::to_string(c.level));
    form.Store("txtFreeAlarm", std::to_string(c.amount));
    form.Store("txtRunOnly", std::to_string(c.ceiling));
    form.Store("txtRetryOptimization", std::to_string(c.retries));
    form.SetFreeMegabytes(c.freeMegabytes);
    form.sampler.usage = c.usage;
    form.Load();
    form.Check();
    EXPECT_EQ(form.model.soundArmed(), c.armed) << c.what;
    EXPECT_EQ(form.releaser.claims,
              std::vector<std::int32_t>(c.claims, static_cast<std::int32_t>(c.amount) * 1048576))
        << c.what;
    EXPECT_EQ(form.sampler.queries, c.queries) << c.what;
  }
}

TEST(AlarmCheck, YieldsFourteenTimesBeforeAndAroundEachClaim) {
  Form form;
  form.Load({{"chkAutomatic", "1"}, {"txtRunOnly", "0"}, {"txtRetryOptimization", "3"}}, 100);
  form.Check();
  EXPECT_EQ(form.yields, 14 + 3 * 28);
  // Above the level: no yield at all.
  form.yields = 0;
  form.SetFreeMegabytes(300);
  form.Check();
  EXPECT_EQ(form.yields, 0);
}

TEST(AlarmCheck, RetriesZeroBecomeOneForGood) {
  Form form;
  form.Load({{"chkAutomatic", "1"}, {"txtRunOnly", "0"}, {"txtRetryOptimization", "0"}}, 100);
  EXPECT_EQ(form.model.retryCount(), 0);
  form.Check();
  form.Check();
  EXPECT_EQ(form.model.retryCount(), 1);
  EXPECT_EQ(form.releaser.claims.size(), 2u);
  EXPECT_EQ(form.view.Text(kIdTxtRetryOptimization), "0");  // the stored text is left alone
}

TEST(AlarmCheck, TheAmountIsReadFromTheBoxAtEachCheckSavedOrNot) {
  Form form;
  form.Load({{"chkAutomatic", "1"}, {"txtRunOnly", "0"}, {"txtRetryOptimization", "1"}}, 100);
  form.Check();
  form.view.Type(kIdTxtFreeAlarm, "512");
  form.Check();
  form.view.Type(kIdTxtFreeAlarm, "1500");  // refused: 10 again
  form.Check();
  EXPECT_EQ(form.releaser.claims, (std::vector<std::int32_t>{10 * 1048576, 512 * 1048576, 10 * 1048576}));
  // The level, by contrast, waits for "Save".
  form.SetBox(kIdChkSoundon, 1);
  form.view.Type(kIdTxtAlarm, "50");
  form.Check();
  EXPECT_EQ(form.releaser.claims.size(), 4u);
}

TEST(AlarmCheck, AClaimStillRunningElsewhereSkipsTheFreeing) {
  Form form;
  form.Load({{"chkSoundon", "1"}, {"chkAutomatic", "1"}, {"txtRunOnly", "0"}}, 100);
  form.releaser.busy = true;
  form.Check();
  EXPECT_TRUE(form.releaser.claims.empty());
  EXPECT_TRUE(form.model.soundArmed());
}

TEST(AlarmCheck, ItsRetriesQueueTogetherAndTheNextCheckSkipsWhileTheyRun) {
  Form form;
  form.Load({{"chkAutomatic", "1"}, {"txtRunOnly", "0"}, {"txtRetryOptimization", "3"}}, 100);
  form.releaser.hold = true;
  form.Check();
  EXPECT_EQ(form.releaser.claims.size(), 3u) << "the check's own claims all go in";
  form.Check();
  EXPECT_EQ(form.releaser.claims.size(), 3u) << "still running: the next check frees nothing";
  while (form.releaser.Finish()) {
  }
  form.Check();
  EXPECT_EQ(form.releaser.claims.size(), 6u);
}

TEST(AlarmCheck, FreeMemoryOfAnyMachineIsReadWhole) {
  // Free above 2 GiB must not read as negative, nor above 4 GiB wrap to a
  // few megabytes; more free than the total counts as the total.
  const struct {
    std::uint64_t totalMiB, freeMiB;
    bool armed;
  } cases[] = {
      {4096, 2048, false}, {4096, 3072, false}, {4096, 4095, false},
      {16384, 4096 + 100, false},  // 100 MB when wrapped: below the level
      {16384, 8192, false},         // 0 MB when wrapped
      {65536, 65535, false},
      {65536, 200, true},
      {16384, 20480, false},        // more free than there is
  };
  for (const auto& c : cases) {
    Form form;
    form.Load({{"chkSoundon", "1"}, {"chkAutomatic", "1"}, {"txtRunOnly", "0"}});
    form.status.Machine(c.totalMiB, c.freeMiB);
    form.Check();
    EXPECT_EQ(form.model.soundArmed(), c.armed) << c.totalMiB << " " << c.freeMiB;
    EXPECT_EQ(form.releaser.claims.empty(), !c.armed) << c.totalMiB << " " << c.freeMiB;
  }
}

TEST(AlarmCheck, NoSamplerActsAsOneThatCannotMeasure) {
  Form form;
  form.model.SetSampler(nullptr);
  form.Load({{"chkAutomatic", "1"}, {"txtRunOnly", "50"}, {"txtRetryOptimization", "1"}}, 100);
  form.Check();
  EXPECT_EQ(form.releaser.claims.size(), 1u);
}

TEST(AlarmCheck, TheImmediateReleaserClaimsThroughFreeRam) {
  testing::FixedMemoryStatus status;
  testing::CheckingAllocator allocator;
  FreeRAM memory(status, allocator);
  FreeRamReleaser releaser(memory);
  bool done = false;
  releaser.FreeUpMemory(3 * 1048576, [&] { done = true; });
  EXPECT_TRUE(done);
  EXPECT_FALSE(releaser.Busy());
  EXPECT_EQ(allocator.requests, (std::vector<std::size_t>{6u * 1048576}));
  EXPECT_EQ(allocator.unwrittenBlocks, 0);
  EXPECT_TRUE(allocator.outstanding.empty());
}

TEST(AlarmCheck, WhileItYieldsOtherEventsRunButNotASecondCheck) {
  // The window delivers every event through the program's yield pump; the
  // messages waiting during a yield are another alarm tick and the user
  // typing a new amount.
  Form form;
  form.Store("chkAutomatic", "1");
  form.Store("txtRunOnly", "0");
  form.Store("txtRetryOptimization", "2");
  form.SetFreeMegabytes(100);
  int waiting = 0;
  ui::YieldPump pump([&] {
    if (++waiting != 1) return;
    form.timers.Tick(kIdTmrAlarm);
    form.view.Type(kIdTxtFreeAlarm, "20");
  });
  // A model whose yields run the pump, in place of the form's own.
  RamConfigurationModel model(
      {form.registry, form.status, form.releaser, form.sounds, pump.YieldStep(), kFolder}, form.view, form.timers);
  form.view.onEvent = [&](const ui::Event& e) { pump.Run(&model, e.id, [&] { model.OnEvent(e); }); };
  form.timers.onEvent = form.view.onEvent;
  model.OnLoad();
  form.Check();
  // One check's two claims, of the amount typed during its first yields.
  EXPECT_EQ(form.releaser.claims, (std::vector<std::int32_t>{20 * 1048576, 20 * 1048576}));
  EXPECT_FALSE(pump.yielding());
}

// ---- the sound --------------------------------------------------------------

TEST(AlarmSound, PlaysWhileArmedAtTheSoundPlayersPace) {
  Form form;
  form.Store("chkSoundon", "1");
  form.SetFreeMegabytes(100);
  form.Load();
  EXPECT_TRUE(form.timers.Tick(kIdTmrSoundPlayer));
  EXPECT_TRUE(form.sounds.played.empty());  // no check yet
  form.Check();
  form.Check();
  EXPECT_TRUE(form.timers.Tick(kIdTmrSoundPlayer));
  EXPECT_EQ(form.sounds.played, (std::vector<std::string>{"C:\\Program Files\\Corvane\\low-memory.wav"}));
  // Stays armed until a check finds enough free memory.
  EXPECT_TRUE(form.timers.Tick(kIdTmrSoundPlayer));
  EXPECT_EQ(form.sounds.played.size(), 2u);
  form.SetFreeMegabytes(250);  // at the level: not below it
  form.Check();
  EXPECT_TRUE(form.timers.Tick(kIdTmrSoundPlayer));
  EXPECT_EQ(form.sounds.played.size(), 2u);
}

}  // namespace
}  // namespace corvane::memory
