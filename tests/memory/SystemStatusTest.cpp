// The system status window: its form, the two graphs' ticks with their
// captions and the tray tooltip, the sliders, "Optimize Now", and the
// sampler it owns, against the in-memory view, fake timers and fakes of the
// memory status, the sampler, the releaser and the tray.
#include "memory/SystemStatus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/memory/FakeMemoryServices.h"
#include "platform/RegistryAccess.h"
#include "tests/support/ControlsInFrames.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/MemoryView.h"

namespace corvane::memory {
namespace {

constexpr std::uint32_t kMB = 1048576;

class RecordingTray : public ITrayToolTip {
 public:
  void SetTrayToolTip(std::string_view text) override { calls.push_back("tip:" + std::string(text)); }
  void Show(bool show) override { calls.push_back(show ? "show" : "hide"); }
  std::vector<std::string> calls;
};

// The sampler the window makes and owns, passing everything on to one the
// test keeps, so that its counts outlive the window's.
class ForwardingSampler : public ICpuUsageSampler {
 public:
  explicit ForwardingSampler(ICpuUsageSampler& target) : target_(target) {}
  void Initialize() override { target_.Initialize(); }
  std::int32_t Query() override { return target_.Query(); }
  void Terminate() override { target_.Terminate(); }

 private:
  ICpuUsageSampler& target_;
};

struct Form {
  Form() : model(Services(), view, timers) {
    view.onEvent = [this](const ui::Event& e) { model.OnEvent(e); };
    timers.onEvent = [this](const ui::Event& e) { model.OnEvent(e); };
  }
  SystemStatusModel::Services Services() {
    return {status,
            releaser,
            tray,
            [this]() -> std::unique_ptr<ICpuUsageSampler> { return std::make_unique<ForwardingSampler>(sampler); },
            [this] { return inPercent; },
            [this](bool busy) { pointer.push_back(busy ? "busy" : "default"); },
            [this] { ++yields; }};
  }
  void Machine(std::uint64_t totalMegabytes, std::uint64_t freeMegabytes) {
    status.Machine(totalMegabytes, freeMegabytes);
  }
  // A 512 MB machine with 100 MB free: the window loaded, the amount chosen
  // and "Optimize Now" clicked, the claim kept running until the test
  // finishes it. False when the click found no button to press.
  bool StartHeldClaim(int amount) {
    Machine(512, 100);
    model.OnLoad();
    view.Choose(kIdSldFreeMomoryReq, amount);
    releaser.hold = true;
    return view.Click(kIdCmdOptimaize);
  }

  testing::FixedMemoryStatus status;
  testing::RecordingReleaser releaser;
  RecordingTray tray;
  testing::FakeSampler sampler;
  bool inPercent = false;
  std::vector<std::string> pointer;
  int yields = 0;
  testing::MemoryView view{kSystemStatusLayout};
  testing::FakeTimers timers;
  SystemStatusModel model;
};

TEST(SystemStatusLayout, IsSoundAndFitsItsFourHundredFortyByTwoHundredFiftyFiveFrame) {
  EXPECT_EQ(kSystemStatusLayout.name, "frmSystemStatus");
  EXPECT_EQ(ui::CheckLayout(kSystemStatusLayout, 440, 255), std::vector<std::string>{});
  const testing::ControlInFrame rows[] = {
      {"frameSystemStatus", ui::ControlKind::Frame, "System Status", ""},
      {"frameCPUUsage", ui::ControlKind::Frame, "Processor usage", "frameSystemStatus"},
      {"histCPU", ui::ControlKind::Graph, "", "frameCPUUsage"},
      {"sldCPUSpeed", ui::ControlKind::Slider, "", "frameCPUUsage"},
      {"lblCPUSpeed", ui::ControlKind::Label, "Speed", "frameCPUUsage"},
      {"sldCPUZoom", ui::ControlKind::Slider, "", "frameCPUUsage"},
      {"lblCPUZoom", ui::ControlKind::Label, "Zoom", "frameCPUUsage"},
      {"fameMemoryUsage", ui::ControlKind::Frame, "Memory usage", "frameSystemStatus"},
      {"histMemory", ui::ControlKind::Graph, "", "fameMemoryUsage"},
      {"sldMemorySpeed", ui::ControlKind::Slider, "", "fameMemoryUsage"},
      {"lblMemorySpeed", ui::ControlKind::Label, "Speed", "fameMemoryUsage"},
      {"sldMemoryZoom", ui::ControlKind::Slider, "", "fameMemoryUsage"},
      {"lblMemoryZoom", ui::ControlKind::Label, "Zoom", "fameMemoryUsage"},
      {"frameMemoryControl", ui::ControlKind::Frame, "Memory Control", "frameSystemStatus"},
      {"sldFreeMomoryReq", ui::ControlKind::Slider, "", "frameMemoryControl"},
      {"lblTargetMemoryNeeded", ui::ControlKind::Label, "", "frameMemoryControl"},
      {"cmdOptimaize", ui::ControlKind::Button, "Optimize Now", "frameMemoryControl"},
  };
  testing::ExpectControlsInFrames(kSystemStatusLayout, rows);
}

TEST(SystemStatus, LoadStartsBothGraphsAtThreeHundredMillisecondsWithTheSamplerReady) {
  Form form;
  form.Machine(512, 200);
  form.model.OnLoad();
  ASSERT_NE(form.model.sampler(), nullptr);
  EXPECT_EQ(form.sampler.initializations, 1);
  EXPECT_EQ(form.timers.Interval(kIdTmrCPU), 300);
  EXPECT_EQ(form.timers.Interval(kIdTmrMemory), 300);
  EXPECT_EQ(form.view.Range(kIdSldCPUSpeed), (std::pair{300, 1000}));
  EXPECT_EQ(form.view.Value(kIdSldCPUSpeed), 1000) << "where the slider means the 300 ms in force";
  EXPECT_EQ(form.view.Value(kIdSldMemorySpeed), 1000);
  EXPECT_EQ(form.view.Range(kIdSldMemoryZoom), (std::pair{30, 100}));
  EXPECT_EQ(form.view.Value(kIdSldMemoryZoom), 30);
  EXPECT_EQ(form.model.histCPU().zoom(), 30);
  // A 512 MB machine: the amount runs from 0 to 512 and starts at 0.
  EXPECT_EQ(form.view.Range(kIdSldFreeMomoryReq), (std::pair{0, 512}));
  EXPECT_EQ(form.view.Value(kIdSldFreeMomoryReq), 0);
  EXPECT_EQ(form.view.Text(kIdLblTargetMemoryNeeded), "Target Level Of RAM 0MB.");
  EXPECT_EQ(form.model.amountToolTip(), "0 MB to free when Optimize is clicked");
  form.model.OnUnload();
  EXPECT_EQ(form.sampler.terminations, 1);
  EXPECT_EQ(form.model.sampler(), nullptr);
  EXPECT_EQ(form.timers.Interval(kIdTmrCPU), 0);
  EXPECT_EQ(form.timers.Interval(kIdTmrMemory), 0);
}

TEST(SystemStatus, TotalMemoryIsRoundedToWholeMegabytes) {
  const struct {
    std::uint64_t bytes;
    int megabytes;
  } cases[] = {{512u * kMB, 512},
               {512u * kMB - 300 * 1024, 512},  // 511.7 MB
               {255u * kMB + 400 * 1024, 255},
               {3u * 1024 * kMB, 3072},  // above 2 GiB: not negative
               {0xFFFFFFFFu, 4096},
               {4097ull * kMB, 4097},    // above 4 GiB: no wrap
               {16384ull * kMB, 16384},  // a PC of today
               {65536ull * kMB, 65536},
               {0, 0}};
  for (const auto& c : cases) {
    Form form;
    form.status.status.totalPhysical = c.bytes;
    form.model.OnLoad();
    EXPECT_EQ(form.model.totalMegabytes(), c.megabytes) << c.bytes;
    EXPECT_EQ(form.view.Range(kIdSldFreeMomoryReq), (std::pair{0, c.megabytes})) << c.bytes;
  }
}

TEST(SystemStatus, ProcessorTickAddsTheUsageAndShowsItInTheCaption) {
  const std::pair<std::int32_t, std::string_view> cases[] = {
      {0, "Processor usage (0%)."}, {57, "Processor usage (57%)."}, {100, "Processor usage (100%)."},
      {-1, "Processor usage (-1%)."}};  // a sampler that cannot measure, shown unchanged
  for (auto [usage, caption] : cases) {
    Form form;
    form.model.OnLoad();
    form.sampler.usage = usage;
    ASSERT_TRUE(form.timers.Tick(kIdTmrCPU));
    EXPECT_EQ(form.view.Text(kIdFrameCPUUsage), caption);
    EXPECT_EQ(form.view.Samples(kIdHistCPU), std::vector<int>{usage});
  }
}

TEST(SystemStatus, MemoryTickGraphsTheFreeShareAndKeepsTheTrayTipUpToDate) {
  const struct {
    std::uint32_t total, free;
    bool inPercent;
    std::string_view caption, tip;
    int freeShown;
  } cases[] = {
      {512, 200, false, "Memory Usage (39%).", "Memory Usage (200MB).", 200},
      {512, 200, true, "Memory Usage (39%).", "Memory Usage (39%).", 200},
      {512, 512, true, "Memory Usage (100%).", "Memory Usage (100%).", 512},
      {256, 0, false, "Memory Usage (0%).", "Memory Usage (0MB).", 0},
      {4000, 3000, false, "Memory Usage (75%).", "Memory Usage (3000MB).", 3000},
      // Machines of 16 and 64 GB: the free amount above 4 GiB does not wrap.
      {16384, 12288, false, "Memory Usage (75%).", "Memory Usage (12288MB).", 12288},
      {16384, 4097, false, "Memory Usage (25%).", "Memory Usage (4097MB).", 4097},
      {65536, 16384, true, "Memory Usage (25%).", "Memory Usage (25%).", 16384},
      {65536, 49152, false, "Memory Usage (75%).", "Memory Usage (49152MB).", 49152},
      // More free than there is (seen under emulators): all of it is free.
      {4096, 5000, false, "Memory Usage (100%).", "Memory Usage (4096MB).", 4096},
  };
  for (const auto& c : cases) {
    Form form;
    form.Machine(c.total, c.free);
    form.inPercent = c.inPercent;
    form.model.OnLoad();
    ASSERT_TRUE(form.timers.Tick(kIdTmrMemory));
    EXPECT_EQ(form.view.Text(kIdFameMemoryUsage), c.caption);
    EXPECT_EQ(form.tray.calls, (std::vector<std::string>{"tip:" + std::string(c.tip), "show"}));
    EXPECT_EQ(form.model.freeMegabytes(), c.freeShown);
  }
}

TEST(SystemStatus, SelectingThePercentageSwitchesTheNextTick) {
  Form form;
  form.Machine(512, 256);
  form.model.OnLoad();
  form.timers.Tick(kIdTmrMemory);
  form.inPercent = true;
  form.timers.Tick(kIdTmrMemory);
  EXPECT_EQ(form.tray.calls, (std::vector<std::string>{"tip:Memory Usage (256MB).", "show",
                                                       "tip:Memory Usage (50%).", "show"}));
}

TEST(SystemStatus, AMachineWithoutATotalSkipsTheGraphStepOnly) {
  Form form;
  form.Machine(0, 100);
  form.model.OnLoad();
  form.timers.Tick(kIdTmrMemory);
  EXPECT_TRUE(form.view.Samples(kIdHistMemory).empty());
  EXPECT_EQ(form.view.Text(kIdFameMemoryUsage), "Memory Usage (0%).");
  EXPECT_EQ(form.tray.calls, (std::vector<std::string>{"tip:Memory Usage (100MB).", "show"}));
}

TEST(SystemStatus, SpeedSlidersSetTheirTimerToThirteenHundredLessTheirValue) {
  const std::pair<int, int> cases[] = {{1000, 300}, {300, 1000}, {650, 650}, {999, 301}, {2000, 300}, {0, 1000}};
  for (auto [position, interval] : cases) {
    Form form;
    form.model.OnLoad();
    form.view.Choose(kIdSldCPUSpeed, position);
    form.view.Choose(kIdSldMemorySpeed, position);
    EXPECT_EQ(form.timers.Interval(kIdTmrCPU), interval) << position;
    EXPECT_EQ(form.timers.Interval(kIdTmrMemory), interval) << position;
  }
}

TEST(SystemStatus, ZoomSlidersSetHowManySamplesTheGraphShows) {
  Form form;
  form.model.OnLoad();
  for (int i = 0; i < 120; ++i) {
    form.sampler.usage = i % 101;
    form.timers.Tick(kIdTmrCPU);
  }
  EXPECT_EQ(form.view.Samples(kIdHistCPU).size(), 30u);
  form.view.Choose(kIdSldCPUZoom, 75);
  EXPECT_EQ(form.model.histCPU().zoom(), 75);
  EXPECT_EQ(form.view.Samples(kIdHistCPU).size(), 75u);
  EXPECT_EQ(form.model.histMemory().zoom(), 30);  // the other graph keeps its own
  form.view.Choose(kIdSldMemoryZoom, 100);
  EXPECT_EQ(form.model.histMemory().zoom(), 100);
}

TEST(SystemStatus, TheAmountSliderUpdatesItsLabelAndTooltip) {
  Form form;
  form.Machine(512, 100);
  form.model.OnLoad();
  form.view.Choose(kIdSldFreeMomoryReq, 128);
  EXPECT_EQ(form.view.Text(kIdLblTargetMemoryNeeded), "Target Level Of RAM 128MB.");
  EXPECT_EQ(form.model.amountToolTip(), "128 MB to free when Optimize is clicked");
  EXPECT_EQ(form.view.ToolTip(kIdSldFreeMomoryReq), "128 MB to free when Optimize is clicked");
}

TEST(SystemStatus, OptimizeNowClaimsTheAmountUnderTheBusyPointer) {
  const struct {
    std::uint32_t total;
    int amount;
    bool busy;
    std::vector<std::int32_t> claims;
  } cases[] = {
      {512, 0, false, {}},  // nothing to claim
      {512, 512, false, {512 * 1048576}},
      {512, 1, false, {1048576}},
      {4095, 4095, false, {2047 * 1048576}},  // held at what the amount can carry
      {512, 64, true, {64 * 1048576}},        // queued behind the alarm check's claim
  };
  for (const auto& c : cases) {
    Form form;
    form.Machine(c.total, 100);
    form.model.OnLoad();
    form.view.Choose(kIdSldFreeMomoryReq, c.amount);
    form.releaser.busy = c.busy;
    ASSERT_TRUE(form.view.Click(kIdCmdOptimaize));
    EXPECT_EQ(form.releaser.claims, c.claims) << c.amount;
    EXPECT_EQ(form.pointer, (std::vector<std::string>{"busy", "default"})) << c.amount;
    EXPECT_EQ(form.yields, 12) << c.amount;
  }
}

TEST(SystemStatus, TheBusyPointerStaysUntilTheClaimEndsAndClicksMeanwhileAddNothing) {
  Form form;
  ASSERT_TRUE(form.StartHeldClaim(256));
  EXPECT_TRUE(form.model.optimizing());
  EXPECT_EQ(form.pointer, (std::vector<std::string>{"busy"}));
  EXPECT_EQ(form.yields, 6);
  ASSERT_TRUE(form.view.Click(kIdCmdOptimaize));
  EXPECT_EQ(form.releaser.claims.size(), 1u) << "a second click while the claim runs";
  ASSERT_TRUE(form.releaser.Finish());
  EXPECT_FALSE(form.model.optimizing());
  EXPECT_EQ(form.pointer, (std::vector<std::string>{"busy", "default"}));
  EXPECT_EQ(form.yields, 18);
  // Free again: the next click claims.
  ASSERT_TRUE(form.view.Click(kIdCmdOptimaize));
  EXPECT_EQ(form.releaser.claims.size(), 2u);
}

TEST(SystemStatus, AClaimEndingAfterUnloadTouchesNothing) {
  Form form;
  ASSERT_TRUE(form.StartHeldClaim(16));
  form.model.OnUnload();
  ASSERT_TRUE(form.releaser.Finish());
  EXPECT_EQ(form.pointer, (std::vector<std::string>{"busy"}));
}

TEST(SystemStatus, TheRamConfigurationsCheckAsksTheSamplerThisWindowOwns) {
  Form status;
  status.model.OnLoad();
  status.sampler.usage = 80;
  testing::MemoryRegistry registry;
  testing::RecordingSounds sounds;
  testing::RecordingReleaser releaser;
  testing::MemoryView view{kRamConfigurationLayout};
  testing::FakeTimers timers;
  EXPECT_EQ(SaveAppSetting(registry, ui::SettingsKey(kRamSettingsSection), "chkAutomatic", "1"), reg::kSuccess);
  EXPECT_EQ(SaveAppSetting(registry, ui::SettingsKey(kRamSettingsSection), "txtRunOnly", "50"), reg::kSuccess);
  RamConfigurationModel ram({registry, status.status, releaser, sounds, {}, "C:"}, view, timers);
  ram.SetSampler(status.model.sampler());
  ram.OnLoad();
  ram.Check();
  EXPECT_EQ(status.sampler.queries, 1);
  EXPECT_TRUE(releaser.claims.empty());
}

}  // namespace
}  // namespace corvane::memory
