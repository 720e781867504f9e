#include "memory/SystemStatus.h"

#include <algorithm>
#include <limits>

namespace corvane::memory {

namespace {

using ui::ControlKind;

// Design positions in pixels, each inside its frame.
constexpr ui::Control kControls[] = {
    {kIdFrameSystemStatus, ControlKind::Frame, "frameSystemStatus", "System Status", 4, 2, 432, 249, 0},
    {kIdFrameCPUUsage, ControlKind::Frame, "frameCPUUsage", "Processor usage", 8, 16, 206, 150, kIdFrameSystemStatus},
    {kIdHistCPU, ControlKind::Graph, "histCPU", "", 8, 18, 190, 78, kIdFrameCPUUsage},
    {kIdLblCPUSpeed, ControlKind::Label, "lblCPUSpeed", "Speed", 8, 102, 40, 16, kIdFrameCPUUsage},
    {kIdSldCPUSpeed, ControlKind::Slider, "sldCPUSpeed", "", 48, 98, 150, 24, kIdFrameCPUUsage},
    {kIdLblCPUZoom, ControlKind::Label, "lblCPUZoom", "Zoom", 8, 126, 40, 16, kIdFrameCPUUsage},
    {kIdSldCPUZoom, ControlKind::Slider, "sldCPUZoom", "", 48, 122, 150, 24, kIdFrameCPUUsage},
    {kIdFameMemoryUsage, ControlKind::Frame, "fameMemoryUsage", "Memory usage", 220, 16, 204, 150,
     kIdFrameSystemStatus},
    {kIdHistMemory, ControlKind::Graph, "histMemory", "", 8, 18, 188, 78, kIdFameMemoryUsage},
    {kIdLblMemorySpeed, ControlKind::Label, "lblMemorySpeed", "Speed", 8, 102, 40, 16, kIdFameMemoryUsage},
    {kIdSldMemorySpeed, ControlKind::Slider, "sldMemorySpeed", "", 48, 98, 148, 24, kIdFameMemoryUsage},
    {kIdLblMemoryZoom, ControlKind::Label, "lblMemoryZoom", "Zoom", 8, 126, 40, 16, kIdFameMemoryUsage},
    {kIdSldMemoryZoom, ControlKind::Slider, "sldMemoryZoom", "", 48, 122, 148, 24, kIdFameMemoryUsage},
    {kIdFrameMemoryControl, ControlKind::Frame, "frameMemoryControl", "Memory Control", 8, 170, 416, 72,
     kIdFrameSystemStatus},
    {kIdSldFreeMomoryReq, ControlKind::Slider, "sldFreeMomoryReq", "", 8, 18, 280, 24, kIdFrameMemoryControl},
    {kIdLblTargetMemoryNeeded, ControlKind::Label, "lblTargetMemoryNeeded", "", 8, 46, 280, 18,
     kIdFrameMemoryControl},
    {kIdCmdOptimaize, ControlKind::Button, "cmdOptimaize", "Optimize Now", 300, 22, 106, 30, kIdFrameMemoryControl},
};

}  // namespace

const ui::Layout kSystemStatusLayout{
    "frmSystemStatus", "CorvaneSystemStatus", "System Status", ui::Unit::Pixels, 440, 255, kControls};

std::string ProcessorCaption(int latest) { return "Processor usage (" + std::to_string(latest) + "%)."; }
std::string MemoryCaption(int latest) { return "Memory Usage (" + std::to_string(latest) + "%)."; }
std::string TrayToolTipMegabytes(int freeMegabytes) {
  return "Memory Usage (" + std::to_string(freeMegabytes) + "MB).";
}
std::string TargetLabel(int amount) { return "Target Level Of RAM " + std::to_string(amount) + "MB."; }
std::string AmountToolTip(int amount) { return std::to_string(amount) + " MB to free when Optimize is clicked"; }

std::uint64_t RoundedKilo(std::uint64_t units) { return units / 1024 + (units % 1024 >= 512 ? 1 : 0); }

int RoundedMegabytes(std::uint64_t bytes) {
  const std::uint64_t megabytes = RoundedKilo(RoundedKilo(bytes));
  return static_cast<int>(std::min<std::uint64_t>(megabytes, std::numeric_limits<int>::max()));
}

void SystemStatusModel::OnLoad() {
  if (services_.makeSampler) sampler_ = services_.makeSampler();
  if (sampler_) sampler_->Initialize();
  // Whole bytes, however much memory the machine has: the slider runs to
  // the real total.
  HeapBlockAllocator unused;
  FreeRAM memory(services_.memoryStatus, unused);
  const std::uint64_t total = memory.GetTotalPhysical();
  totalKilobytes_ = RoundedKilo(total);
  totalMegabytes_ = RoundedMegabytes(total);
  view_.SetRange(kIdSldFreeMomoryReq, 0, totalMegabytes_);
  view_.SetValue(kIdSldFreeMomoryReq, 0);
  // The sliders start where they mean the interval the timers start with:
  // at 1000, the fast end (1300 - 1000 = 300 ms).
  for (int speed : {kIdSldCPUSpeed, kIdSldMemorySpeed}) {
    view_.SetRange(speed, kSpeedMinimum, kSpeedMaximum);
    view_.SetValue(speed, kSpeedSum - kStartInterval);
  }
  for (int zoom : {kIdSldCPUZoom, kIdSldMemoryZoom}) {
    view_.SetRange(zoom, kMinZoom, kMaxZoom);
    view_.SetValue(zoom, kStartZoom);
  }
  AmountChanged();
  timers_.SetTimer(kIdTmrCPU, kStartInterval);
  timers_.SetTimer(kIdTmrMemory, kStartInterval);
}

SystemStatusModel::~SystemStatusModel() { *alive_ = false; }

void SystemStatusModel::OnUnload() {
  // A claim that ends later no longer speaks to this window.
  *alive_ = false;
  optimizing_ = false;
  timers_.SetTimer(kIdTmrCPU, 0);
  timers_.SetTimer(kIdTmrMemory, 0);
  if (sampler_) sampler_->Terminate();
  sampler_.reset();
}

void SystemStatusModel::Show(int graph, const HistogramSamples& samples) {
  std::vector<int> visible = samples.Visible();
  view_.SetSamples(graph, visible, samples.zoom(), samples.total());
}

void SystemStatusModel::ProcessorTick() {
  // A step that cannot run is skipped; the caption still shows the latest.
  if (sampler_) {
    histCPU_.Add(sampler_->Query());
    Show(kIdHistCPU, histCPU_);
  }
  view_.SetText(kIdFrameCPUUsage, ProcessorCaption(histCPU_.latest()));
}

void SystemStatusModel::MemoryTick() {
  HeapBlockAllocator unused;
  FreeRAM memory(services_.memoryStatus, unused);
  freeMegabytes_ = RoundedMegabytes(memory.GetFreePhysical());
  if (totalMegabytes_ > 0) {
    histMemory_.Add(static_cast<double>(freeMegabytes_) / totalMegabytes_ * 100.0);
    Show(kIdHistMemory, histMemory_);
  }
  view_.SetText(kIdFameMemoryUsage, MemoryCaption(histMemory_.latest()));
  bool inPercent = services_.tooltipInPercent && services_.tooltipInPercent();
  services_.tray.SetTrayToolTip(inPercent ? MemoryCaption(histMemory_.latest()) : TrayToolTipMegabytes(freeMegabytes_));
  services_.tray.Show(true);
}

void SystemStatusModel::AmountChanged() {
  int amount = view_.Value(kIdSldFreeMomoryReq);
  amountToolTip_ = AmountToolTip(amount);
  view_.SetToolTip(kIdSldFreeMomoryReq, amountToolTip_);
  view_.SetText(kIdLblTargetMemoryNeeded, TargetLabel(amount));
}

void SystemStatusModel::YieldTimes(int times) {
  if (!services_.yield) return;
  for (int i = 0; i < times; ++i) services_.yield();
}

void SystemStatusModel::OptimizeNow() {
  YieldTimes(kOptimizeYields);
  // A click while the last one's claim still runs adds nothing.
  if (optimizing_) return;
  if (services_.busyPointer) services_.busyPointer(true);
  auto finished = [this, alive = alive_] {
    if (!*alive) return;
    optimizing_ = false;
    if (services_.busyPointer) services_.busyPointer(false);
    YieldTimes(kOptimizeYields);
  };
  // Amount 0 claims nothing. The claim's 32-bit amount carries at most
  // 2047 MB; a larger machine's slider end claims that much.
  int megabytes = std::clamp(view_.Value(kIdSldFreeMomoryReq), 0, kLargestClaimMegabytes);
  if (megabytes == 0) {
    finished();
    return;
  }
  // Behind a claim of the alarm check, if one runs: one claim at a time.
  optimizing_ = true;
  services_.releaser.FreeUpMemory(megabytes * kBytesPerMegabyte, finished);
}

void SystemStatusModel::OnEvent(const ui::Event& event) {
  switch (event.kind) {
    case ui::Event::Tick:
      if (event.id == kIdTmrCPU) ProcessorTick();
      if (event.id == kIdTmrMemory) MemoryTick();
      return;
    case ui::Event::Scroll:
      switch (event.id) {
        case kIdSldCPUSpeed:
          timers_.SetTimer(kIdTmrCPU, kSpeedSum - view_.Value(kIdSldCPUSpeed));
          return;
        case kIdSldMemorySpeed:
          timers_.SetTimer(kIdTmrMemory, kSpeedSum - view_.Value(kIdSldMemorySpeed));
          return;
        case kIdSldCPUZoom:
          histCPU_.SetZoom(view_.Value(kIdSldCPUZoom));
          Show(kIdHistCPU, histCPU_);
          return;
        case kIdSldMemoryZoom:
          histMemory_.SetZoom(view_.Value(kIdSldMemoryZoom));
          Show(kIdHistMemory, histMemory_);
          return;
        case kIdSldFreeMomoryReq:
          AmountChanged();
          return;
        default:
          return;
      }
    case ui::Event::Click:
      if (event.id == kIdCmdOptimaize) OptimizeNow();
      return;
    default:
      return;
  }
}

}  // namespace corvane::memory
