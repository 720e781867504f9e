// The thread's timers across its forms: which system timers run as timers
// start and stop, and on which of their ticks each timer ticks.
#include "platform/ui/SharedTicks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace corvane::ui {
namespace {

using Changes = std::vector<SharedTicks::Change>;
using Key = SharedTicks::Key;

const int kAlarmForm = 0;
const int kStatusForm = 0;
const void* const kAlarm = &kAlarmForm;
const void* const kStatus = &kStatusForm;

struct Step {
  Key key;
  int interval;
  Changes changes;  // the system timers started or stopped by this step
};

struct Case {
  const char* name;
  std::vector<Step> steps;
  std::vector<int> running;  // then the system timers that run
  int fired;                 // and this one fires six times:
  std::vector<std::string> ticks;  // who ticks each time ("a" alarm, "s" status)
};

const Case kCases[] = {
    {"AStatusTimerRidesTheAlarmsAndTicksEveryThirdTimeNeverEarly",
     {{{kAlarm, 1}, 100, {{100, true}}}, {{kStatus, 1}, 300, {}}},
     {100}, 100, {"a", "a", "a", "as", "a", "a"}},
    {"StartedTogetherTheStatusTicksAWholePeriodAfterItStarted",
     {{{kStatus, 1}, 300, {{300, true}}}, {{kAlarm, 1}, 100, {{300, false}, {100, true}}}},
     {100}, 100, {"a", "a", "as", "a", "a", "as"}},
    {"AnIntervalNoneDividesRunsATimerOfItsOwn",
     {{{kAlarm, 1}, 100, {{100, true}}}, {{kStatus, 1}, 250, {{250, true}}}},
     {100, 250}, 250, {"s", "s", "s", "s", "s", "s"}},
    {"EqualIntervalsOfTwoFormsShareOneTimer",
     {{{kAlarm, 1}, 300, {{300, true}}}, {{kStatus, 1}, 300, {}}},
     {300}, 300, {"a", "as", "as", "as", "as", "as"}},
    {"WhenTheFastTimerStopsTheSlowOneGetsATimerOfItsOwn",
     {{{kAlarm, 1}, 100, {{100, true}}}, {{kStatus, 1}, 300, {}}, {{kAlarm, 1}, 0, {{100, false}, {300, true}}}},
     {300}, 300, {"s", "s", "s", "s", "s", "s"}},
    {"StoppingATimerThatRidesChangesNoSystemTimer",
     {{{kAlarm, 1}, 100, {{100, true}}}, {{kStatus, 1}, 300, {}}, {{kStatus, 1}, 0, {}}},
     {100}, 100, {"a", "a", "a", "a", "a", "a"}},
    {"AFasterTimerLaterTakesOverTheSystemTimer",
     {{{kStatus, 1}, 1000, {{1000, true}}}, {{kAlarm, 1}, 500, {{1000, false}, {500, true}}}},
     {500}, 500, {"a", "as", "a", "as", "a", "as"}},
};

class SharedTicksTest : public ::testing::TestWithParam<Case> {
 protected:
  static std::string Who(const std::vector<Key>& due) {
    std::string who;
    for (const Key& key : due) who += key.first == kAlarm ? "a" : "s";
    std::sort(who.begin(), who.end());  // the forms' order is their places in memory
    return who;
  }
  SharedTicks ticks;
};

TEST_P(SharedTicksTest, StartsStopsAndTicks) {
  const Case& c = GetParam();
  for (const Step& step : c.steps) {
    EXPECT_EQ(ticks.Set(step.key, step.interval), step.changes) << "setting " << step.interval;
  }
  EXPECT_EQ(ticks.SystemTimers(), c.running);
  std::vector<std::string> seen;
  for (std::size_t i = 0; i < c.ticks.size(); ++i) seen.push_back(Who(ticks.Tick(c.fired)));
  EXPECT_EQ(seen, c.ticks);
}

INSTANTIATE_TEST_SUITE_P(Cases, SharedTicksTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

TEST(SharedTicks, AFormThatGoesTakesItsTimersAndTheirSystemTimersWithIt) {
  SharedTicks ticks;
  (void)ticks.Set({kAlarm, 1}, 100);
  (void)ticks.Set({kAlarm, 2}, 65535);
  (void)ticks.Set({kStatus, 1}, 300);
  EXPECT_EQ(ticks.SystemTimers(), (std::vector<int>{100, 65535}));
  EXPECT_EQ(ticks.Forget(kAlarm), (Changes{{100, false}, {65535, false}, {300, true}}));
  EXPECT_FALSE(ticks.Running({kAlarm, 1}));
  EXPECT_TRUE(ticks.Running({kStatus, 1}));
  EXPECT_EQ(ticks.Tick(100), std::vector<Key>{}) << "a system timer that has stopped ticks nobody";
  EXPECT_EQ(ticks.Forget(kStatus), (Changes{{300, false}}));
  EXPECT_TRUE(ticks.SystemTimers().empty());
}

}  // namespace
}  // namespace corvane::ui
