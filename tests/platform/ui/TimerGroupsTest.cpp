// Timers of one window at the same interval share one system timer: the
// system timers each step changes, and who ticks when one fires.
#include "platform/ui/TimerGroups.h"

#include <gtest/gtest.h>

#include <vector>

namespace corvane::ui {
namespace {

using Changes = std::vector<TimerGroups::Change>;
using Ids = std::vector<int>;

struct Step {
  int id;
  int interval;
  Changes changes;  // the system timers changed by this step
};

struct Case {
  const char* name;
  std::vector<Step> steps;
  int fired;     // then this system timer fires
  Ids ticking;   // and these timers tick
};

const Case kCases[] = {
    {"TwoAtOneIntervalShareTheFirstsTimer",
     {{430, 300, {{430, 300}}}, {431, 300, {}}}, 430, {430, 431}},
    {"ASmallerIdJoiningLeadsTheGroup",
     {{431, 300, {{431, 300}}}, {430, 300, {{431, 0}, {430, 300}}}}, 430, {430, 431}},
    {"OneMovedAwayGetsATimerOfItsOwn",
     {{430, 300, {{430, 300}}}, {431, 300, {}}, {431, 500, {{431, 500}}}}, 430, {430}},
    {"TheLeaderMovedAwayHandsTheGroupOn",
     {{430, 300, {{430, 300}}}, {431, 300, {}}, {430, 500, {{430, 500}, {431, 300}}}}, 431, {431}},
    {"ALoneTimerSetAgainRestartsAsASystemTimerDoes",
     {{430, 300, {{430, 300}}}, {430, 300, {{430, 300}}}}, 430, {430}},
    {"AGroupedTimerSetAgainLeavesTheGroupsTimerRunning",
     {{430, 300, {{430, 300}}}, {431, 300, {}}, {431, 300, {}}, {430, 300, {}}}, 430, {430, 431}},
    {"StoppingTheLastStopsTheSystemTimer",
     {{430, 300, {{430, 300}}}, {431, 300, {}}, {431, 0, {}}, {430, 0, {{430, 0}}}}, 430, {}},
    {"StoppingATimerThatDoesNotRunChangesNothing", {{430, 0, {}}}, 430, {}},
    {"AMovedTimerJoinsAnotherGroup",
     {{430, 300, {{430, 300}}}, {431, 500, {{431, 500}}}, {431, 300, {{431, 0}}}}, 430, {430, 431}},
};

class TimerGroupsTest : public ::testing::TestWithParam<Case> {};

TEST_P(TimerGroupsTest, ChangesAndTicks) {
  TimerGroups groups;
  for (const Step& step : GetParam().steps) {
    EXPECT_EQ(groups.Set(step.id, step.interval), step.changes) << step.id << " to " << step.interval;
  }
  EXPECT_EQ(groups.Members(GetParam().fired), GetParam().ticking);
}

INSTANTIATE_TEST_SUITE_P(Steps, TimerGroupsTest, ::testing::ValuesIn(kCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(TimerGroups, ClearedThereIsNothingToFire) {
  TimerGroups groups;
  (void)groups.Set(430, 300);
  groups.Clear();
  EXPECT_FALSE(groups.Running(430));
  EXPECT_TRUE(groups.Members(430).empty());
  EXPECT_EQ(groups.Set(431, 300), (Changes{{431, 300}}));
}

}  // namespace
}  // namespace corvane::ui
