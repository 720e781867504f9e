// The rule every window's model lives by: an unload while one of its
// handlers waits (in a message box, in a yield) runs the unload event, then
// leaves the model to that handler, which resumes over a view that reaches
// nothing; the model is freed when the outermost handler returns. Under
// AddressSanitizer a model freed too early is a use after free.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/FormHost.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/KitTestLayout.h"
#include "tests/support/MemoryView.h"

namespace corvane::testing {
namespace {

using ui::Event;

enum class Wait { Message, Yield };

struct Ledger {
  std::vector<std::string> entries;
  int alive = 0;
};

// Save: a label before, a wait, then a write it owes whatever happened
// meanwhile, a label and a message after.
class WaitingModel final : public ui::FormModel {
 public:
  WaitingModel(ui::IView& view, ui::ITimers& timers, Ledger& ledger, Wait wait, std::function<void()> yield)
      : view_(view), timers_(timers), ledger_(ledger), wait_(wait), yield_(std::move(yield)) {
    ++ledger_.alive;
  }
  ~WaitingModel() override { --ledger_.alive; }
  void OnLoad() override { timers_.SetTimer(kKitTimer, 100); }
  void OnUnload() override {
    ledger_.entries.push_back("unload");
    timers_.SetTimer(kKitTimer, 0);
  }
  void OnEvent(const Event& e) override {
    if (e.id != kKitSave) return;
    ++saves_;
    view_.SetText(kKitLabel, "before");
    if (wait_ == Wait::Message) {
      (void)view_.ShowMessage("Sure?", "Kit", ui::kMessageYesNo);
    } else {
      for (int i = 0; i < 3; ++i) yield_();
    }
    ledger_.entries.push_back("saved " + std::to_string(saves_));
    view_.SetText(kKitLabel, "after");
    timers_.SetTimer(kKitTimer, 50);
    (void)view_.ShowMessage("Saved", "Kit", ui::kMessageOk);
  }

 private:
  ui::IView& view_;
  ui::ITimers& timers_;
  Ledger& ledger_;
  Wait wait_;
  std::function<void()> yield_;
  int saves_ = 0;
};

class FormHostTest : public ::testing::TestWithParam<Wait> {
 protected:
  FormHostTest() : host(view, timers) {}

  void Load() {
    host.Open();
    host.Attach(std::make_unique<WaitingModel>(host.view(), host.timers(), ledger, GetParam(), [this] {
      if (duringWait) std::exchange(duringWait, nullptr)();
    }));
    host.Run([](ui::FormModel& m) { m.OnLoad(); });
  }
  void Save() {
    host.Run([](ui::FormModel& m) { m.OnEvent(Event{kKitSave, Event::Click, 0}); });
  }
  // What runs while the save waits, once.
  void During(std::function<void()> action) {
    if (GetParam() == Wait::Message) {
      view.whileMessageShows = [action, done = false]() mutable {
        if (std::exchange(done, true)) return;
        action();
      };
    } else {
      duringWait = std::move(action);
    }
  }

  MemoryView view{kKitTestLayout};
  FakeTimers timers;
  Ledger ledger;
  std::function<void()> duringWait;
  ui::FormHost host;
};

TEST_P(FormHostTest, WithoutAnUnloadTheHandlerRunsToItsEnd) {
  Load();
  Save();
  EXPECT_EQ(view.Text(kKitLabel), "after");
  EXPECT_EQ(timers.Interval(kKitTimer), 50);
  EXPECT_EQ(ledger.entries, (std::vector<std::string>{"saved 1"}));
}

TEST_P(FormHostTest, AnUnloadDuringTheWaitFreesTheModelOnlyWhenTheHandlerReturns) {
  Load();
  int aliveInWait = -1;
  During([&] {
    host.Unload();
    aliveInWait = ledger.alive;
  });
  Save();
  EXPECT_EQ(aliveInWait, 1) << "the model was freed under its own handler";
  EXPECT_EQ(ledger.alive, 0);
  EXPECT_EQ(host.windingDown(), 0u);
  // The unload ran once, and the write the handler owed happened once.
  EXPECT_EQ(ledger.entries, (std::vector<std::string>{"unload", "saved 1"}));
  // Nothing after the unload reached the view: no label, no timer, no
  // second message box.
  EXPECT_EQ(view.Text(kKitLabel), "before");
  EXPECT_EQ(timers.Interval(kKitTimer), 0);
  std::size_t boxes = GetParam() == Wait::Message ? 1 : 0;
  EXPECT_EQ(view.messages.size(), boxes);
}

TEST_P(FormHostTest, AWindowLoadedAgainDuringTheWaitIsNotTouchedByTheOldHandler) {
  Load();
  During([&] {
    host.Unload();
    Load();
    view.SetText(kKitLabel, "new");
  });
  Save();
  EXPECT_EQ(view.Text(kKitLabel), "new");
  EXPECT_EQ(timers.Interval(kKitTimer), 100) << "the old handler restarted the new window's timer";
  EXPECT_EQ(ledger.alive, 1);
  // The new model answers on its own.
  Save();
  EXPECT_EQ(view.Text(kKitLabel), "after");
  host.Unload();
  EXPECT_EQ(ledger.alive, 0);
}

TEST_P(FormHostTest, AnUnloadInANestedHandlerWaitsForTheOutermost) {
  Load();
  int aliveAfterInner = -1;
  During([&] {
    // Another event of the same model while the first waits, which unloads.
    host.Run([&](ui::FormModel&) {
      host.Unload();
      host.Unload();  // a second unload path finds nothing left to do
    });
    aliveAfterInner = ledger.alive;
  });
  Save();
  EXPECT_EQ(aliveAfterInner, 1);
  EXPECT_EQ(ledger.alive, 0);
  EXPECT_EQ(ledger.entries, (std::vector<std::string>{"unload", "saved 1"}));
}

TEST_P(FormHostTest, EventsAfterTheUnloadReachNoModel) {
  Load();
  host.Unload();
  Save();
  EXPECT_EQ(ledger.entries, (std::vector<std::string>{"unload"}));
  EXPECT_EQ(ledger.alive, 0);
}

INSTANTIATE_TEST_SUITE_P(EachWait, FormHostTest, ::testing::Values(Wait::Message, Wait::Yield),
                         [](const auto& waitCase) { return waitCase.param == Wait::Message ? "MessageBox" : "Yield"; });

}  // namespace
}  // namespace corvane::testing
