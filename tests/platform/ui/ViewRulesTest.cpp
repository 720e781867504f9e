// The rules every view keeps, shown on the in-memory view (the Win32 form
// is held to the same ones under Wine): the change echo of text boxes,
// exclusive options, hidden containers; the yield pump's re-entry guard and
// the timers' interval range.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/YieldPump.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/KitTestLayout.h"
#include "tests/support/MemoryView.h"

namespace corvane::ui {
namespace {

using namespace corvane::testing;

// A number box that snaps back to its last accepted value, as the windows'
// number boxes do.
struct SnapBack {
  explicit SnapBack(IView& v) : view(v) {}
  void OnEvent(const Event& e) {
    if (e.id != kKitText || e.kind != Event::Change) return;
    std::string text = view.Text(kKitText);
    seen.push_back(text);
    bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    if (digits) {
      accepted = text;
    } else {
      view.SetText(kKitText, accepted);
    }
  }
  IView& view;
  std::string accepted = "12";
  std::vector<std::string> seen;
};

TEST(ChangeEcho, ReplacingATextRaisesChangeOnceMoreAndAnEqualTextNothing) {
  MemoryView view(kKitTestLayout);
  SnapBack box(view);
  view.onEvent = [&](const Event& e) { box.OnEvent(e); };

  view.Type(kKitText, "34");
  EXPECT_EQ(box.seen, (std::vector<std::string>{"34"}));
  box.seen.clear();
  view.Type(kKitText, "3x");
  EXPECT_EQ(box.seen, (std::vector<std::string>{"3x", "34"})) << "the snap-back is seen once, then it stops";
  EXPECT_EQ(view.Text(kKitText), "34");
  box.seen.clear();
  view.SetText(kKitText, "34");
  EXPECT_TRUE(box.seen.empty()) << "an equal text raises nothing";
  view.SetText(kKitLabel, "changed");
  EXPECT_TRUE(box.seen.empty());
}

TEST(MemoryViewRules, OptionsExcludeEachOtherAndContainersHideWhatTheyHold) {
  MemoryView view(kKitTestLayout);
  std::vector<Event> events;
  view.onEvent = [&](const Event& e) { events.push_back(e); };
  view.SetValue(kKitOptA, 1);
  view.Click(kKitOptB);
  EXPECT_EQ(view.Value(kKitOptA), 0);
  EXPECT_EQ(view.Value(kKitOptB), 1);
  EXPECT_EQ(events, (std::vector<Event>{{kKitOptB, Event::Click, 1}})) << "SetValue raises nothing";

  EXPECT_FALSE(view.Visible(kKitHiddenText));
  view.SetVisible(kKitFrame, false);
  EXPECT_FALSE(view.Visible(kKitOptA));
  EXPECT_FALSE(view.Click(kKitOptA)) << "a hidden option takes no click";
  view.SetVisible(kKitFrame, true);
  EXPECT_TRUE(view.Visible(kKitOptA));
  EXPECT_FALSE(view.Click(kKitSave)) << "created disabled";

  const std::string names[] = {"a", "b"};
  view.SetItems(kKitList, names);
  EXPECT_EQ(view.Value(kKitList), -1);
  view.SetValue(kKitList, 5);
  EXPECT_EQ(view.Value(kKitList), -1) << "no such item";
  EXPECT_TRUE(view.Choose(kKitList, 1));
  EXPECT_EQ(events.back(), (Event{kKitList, Event::Select, 1}));
}

TEST(YieldPump, AHandlerThatYieldsIsNotRunAgainByAnEventArrivingMeanwhile) {
  std::vector<std::string> log;
  std::function<void()> waiting;  // what the window system has queued
  YieldPump pump([&] {
    if (auto run = std::exchange(waiting, nullptr)) run();
  });
  int owner = 0;
  int other = 0;
  std::function<void()> pingNow = [&] {
    log.push_back("ping start");
    pump.DoEvents();
    log.push_back("ping end");
  };
  // During the yield: a second click on the same button, a click on another
  // control of the form, and the same button of another form.
  waiting = [&] {
    log.push_back(pump.Run(&owner, 5, pingNow) ? "second click ran" : "second click dropped");
    log.push_back(pump.Run(&owner, 6, [&] { log.push_back("other control"); }) ? "ok" : "dropped");
    log.push_back(pump.Run(&other, 5, [&] { log.push_back("other form"); }) ? "ok" : "dropped");
  };
  EXPECT_TRUE(pump.Run(&owner, 5, pingNow));
  EXPECT_EQ(log, (std::vector<std::string>{"ping start", "second click dropped", "other control", "ok",
                                           "other form", "ok", "ping end"}));
  EXPECT_FALSE(pump.yielding());
  log.clear();
  EXPECT_TRUE(pump.Run(&owner, 5, pingNow)) << "after the handler ended it runs again";
}

TEST(YieldPump, AHandlersOwnEchoWithoutAYieldIsDelivered) {
  YieldPump pump([] {});
  int owner = 0;
  int depth = 0;
  std::function<void()> change = [&] {
    if (++depth < 3) {
      EXPECT_TRUE(pump.Run(&owner, 1, change));
    }
  };
  EXPECT_TRUE(pump.Run(&owner, 1, change));
  EXPECT_EQ(depth, 3);
}

TEST(YieldPump, AnExceptionLeavesTheGuardClean) {
  YieldPump pump([] { throw 1; });
  int owner = 0;
  EXPECT_THROW(pump.Run(&owner, 1, [&] { pump.DoEvents(); }), int);
  EXPECT_FALSE(pump.yielding());
  bool ran = false;
  EXPECT_TRUE(pump.Run(&owner, 1, [&] { ran = true; }));
  EXPECT_TRUE(ran);
}

TEST(Timers, ZeroStopsAndIntervalsStayWithin65535) {
  EXPECT_EQ(TimerInterval(0), 0);
  EXPECT_EQ(TimerInterval(-5), 0);
  EXPECT_EQ(TimerInterval(1), 1);
  EXPECT_EQ(TimerInterval(65535), 65535);
  EXPECT_EQ(TimerInterval(70000), 65535);
  FakeTimers timers;
  int ticks = 0;
  timers.onEvent = [&](const Event& e) { ticks += e.kind == Event::Tick && e.id == kKitTimer; };
  timers.SetTimer(kKitTimer, 300);
  EXPECT_TRUE(timers.Tick(kKitTimer));
  timers.SetTimer(kKitTimer, 0);
  EXPECT_FALSE(timers.Tick(kKitTimer));
  EXPECT_EQ(ticks, 1);
}

}  // namespace
}  // namespace corvane::ui
