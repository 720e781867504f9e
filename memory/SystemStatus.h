// The system status window (frmSystemStatus): two live graphs, processor
// usage and free memory, each with its speed and zoom sliders, and
// "Optimize Now" with its amount. It owns the program's one processor
// sampler, which the RAM configuration's check also asks, and its memory
// tick keeps the tray icon's tooltip up to date. The window (win32/) makes
// it over this model; its timers run from start-up, shown or not.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "memory/CpuUsage.h"
#include "memory/FreeRAM.h"
#include "memory/Histogram.h"
#include "memory/RamConfiguration.h"
#include "platform/ui/Layout.h"
#include "platform/ui/View.h"

namespace corvane::memory {

inline constexpr int kStartInterval = 300;
inline constexpr int kSpeedMinimum = 300;
inline constexpr int kSpeedMaximum = 1000;
// A speed slider at value v samples every 1300 - v ms: further right is faster.
inline constexpr int kSpeedSum = 1300;
inline constexpr int kOptimizeYields = 6;
// The largest claim FreeUpMemory's 32-bit amount can carry, in megabytes.
inline constexpr int kLargestClaimMegabytes = 2047;

enum SystemStatusId : int {
  kIdFrameSystemStatus = 400,
  kIdFrameCPUUsage = 401,
  kIdHistCPU = 402,
  kIdLblCPUSpeed = 403,
  kIdSldCPUSpeed = 404,
  kIdLblCPUZoom = 405,
  kIdSldCPUZoom = 406,
  kIdFameMemoryUsage = 407,
  kIdHistMemory = 408,
  kIdLblMemorySpeed = 409,
  kIdSldMemorySpeed = 410,
  kIdLblMemoryZoom = 411,
  kIdSldMemoryZoom = 412,
  kIdFrameMemoryControl = 413,
  kIdSldFreeMomoryReq = 414,
  kIdLblTargetMemoryNeeded = 415,
  kIdCmdOptimaize = 416,
  // Timers (no controls).
  kIdTmrCPU = 430,
  kIdTmrMemory = 431,
};

// 440 x 255 pixels, the size of its place in the child frame.
extern const ui::Layout kSystemStatusLayout;

// The tray icon as this window uses it.
class ITrayToolTip {
 public:
  virtual ~ITrayToolTip() = default;
  virtual void SetTrayToolTip(std::string_view text) = 0;
  virtual void Show(bool show) = 0;
};

// The texts the window shows.
std::string ProcessorCaption(int latest);    // "Processor usage (" + latest + "%)."
std::string MemoryCaption(int latest);       // "Memory Usage (" + latest + "%)."
std::string TrayToolTipMegabytes(int freeMegabytes);  // "Memory Usage (" + MB + "MB)."
std::string TargetLabel(int amount);         // "Target Level Of RAM " + amount + "MB."
std::string AmountToolTip(int amount);       // amount + " MB to free when Optimize is clicked"

// Bytes to kilobytes and kilobytes to megabytes, rounded to the nearest.
std::uint64_t RoundedKilo(std::uint64_t units);
// Bytes as whole megabytes, rounded twice as above; held at the largest int
// (a machine of two petabytes).
int RoundedMegabytes(std::uint64_t bytes);

class SystemStatusModel final : public ui::FormModel {
 public:
  struct Services {
    IMemoryStatusSource& memoryStatus;
    IMemoryReleaser& releaser;
    ITrayToolTip& tray;
    // Makes the sampler for the running Windows family (CreateCpuUsageSampler).
    std::function<std::unique_ptr<ICpuUsageSampler>()> makeSampler;
    // Whether the RAM configuration's "Percentage of Free RAM" is selected.
    std::function<bool()> tooltipInPercent;
    // Shows the busy pointer over the window (true) or the default (false).
    std::function<void(bool)> busyPointer;
    std::function<void()> yield;
  };

  SystemStatusModel(Services services, ui::IView& view, ui::ITimers& timers)
      : services_(std::move(services)), view_(view), timers_(timers) {}
  ~SystemStatusModel() override;

  void OnLoad() override;
  void OnEvent(const ui::Event& event) override;
  // Terminates the sampler and stops both timers.
  void OnUnload() override;

  void ProcessorTick();
  void MemoryTick();
  // Frees the amount of the slider; the busy pointer shows until the claim
  // has ended, and clicks in the meantime add nothing.
  void OptimizeNow();
  bool optimizing() const { return optimizing_; }

  // The sampler the RAM configuration's check asks; none before load and
  // after unload.
  ICpuUsageSampler* sampler() const { return sampler_.get(); }
  const HistogramSamples& histCPU() const { return histCPU_; }
  const HistogramSamples& histMemory() const { return histMemory_; }
  int totalMegabytes() const { return totalMegabytes_; }
  int freeMegabytes() const { return freeMegabytes_; }
  // The amount slider's tooltip.
  const std::string& amountToolTip() const { return amountToolTip_; }

 private:
  void AmountChanged();
  void Show(int graph, const HistogramSamples& samples);
  void YieldTimes(int times);

  Services services_;
  ui::IView& view_;
  ui::ITimers& timers_;
  std::unique_ptr<ICpuUsageSampler> sampler_;
  HistogramSamples histCPU_;
  HistogramSamples histMemory_;
  std::uint64_t totalKilobytes_ = 0;
  int totalMegabytes_ = 0;
  int freeMegabytes_ = 0;
  std::string amountToolTip_;
  bool optimizing_ = false;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace corvane::memory
