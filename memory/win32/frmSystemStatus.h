// The system status window frmSystemStatus over SystemStatusModel: two live
// graphs (our graph control), their speed and zoom sliders, and "Optimize
// Now", whose claim runs on the program's memory releaser off the
// user-interface thread under the busy pointer. It owns the program's one
// processor sampler and keeps the tray icon's tooltip up to date. The main
// window loads it hidden at start-up, so its timers run from then on.
#pragma once

#include <functional>
#include <memory>

#include "memory/SystemStatus.h"
#include "memory/win32/Win32MemoryServices.h"
#include "platform/win32/FormWindow.h"

namespace corvane::win32 {

class frmSystemStatus final : public FormWindow {
 public:
  // The releaser is shared with the RAM configuration; the tray outlives
  // the window's load; tooltipInPercent asks the RAM configuration whether
  // "Percentage of Free RAM" is chosen.
  frmSystemStatus(std::shared_ptr<memory::IMemoryReleaser> releaser, memory::ITrayToolTip& tray,
                  std::function<bool()> tooltipInPercent)
      : FormWindow(memory::kSystemStatusLayout),
        releaser_(std::move(releaser)),
        tray_(tray),
        tooltipInPercent_(std::move(tooltipInPercent)) {}
  ~frmSystemStatus() override;

  const memory::SystemStatusModel* Status() const { return static_cast<const memory::SystemStatusModel*>(model()); }
  // The sampler the RAM configuration's check asks; none while unloaded.
  ICpuUsageSampler* Sampler() const { return Status() != nullptr ? Status()->sampler() : nullptr; }

 protected:
  std::unique_ptr<ui::FormModel> MakeModel(IShellServices& services) override;

 private:
  std::shared_ptr<memory::IMemoryReleaser> releaser_;
  memory::ITrayToolTip& tray_;
  std::function<bool()> tooltipInPercent_;
  Win32MemoryStatus memoryStatus_;
};

}  // namespace corvane::win32
