// The RAM configuration frmRamConfiguration over RamConfigurationModel: the
// memory booster's nine stored settings and the alarm monitor, whose claims
// go to the program's memory releaser and whose processor gate asks the
// status window's sampler. The main window loads it hidden at start-up, so
// the monitor runs from then on.
#pragma once

#include <functional>
#include <memory>

#include "memory/RamConfiguration.h"
#include "memory/win32/Win32MemoryServices.h"
#include "platform/win32/FormWindow.h"

namespace corvane::win32 {

class frmRamConfiguration final : public FormWindow {
 public:
  // The releaser is shared with the status window; sampler gives that
  // window's processor sampler at each check (none while it is unloaded).
  frmRamConfiguration(std::shared_ptr<memory::IMemoryReleaser> releaser, std::function<ICpuUsageSampler*()> sampler)
      : FormWindow(memory::kRamConfigurationLayout), releaser_(std::move(releaser)), sampler_(std::move(sampler)) {}
  ~frmRamConfiguration() override;

  const memory::RamConfigurationModel* Ram() const {
    return static_cast<const memory::RamConfigurationModel*>(model());
  }
  // Whether "Percentage of Free RAM" is selected (false while unloaded).
  bool optPer() const { return Ram() != nullptr && Ram()->optPer(); }

 protected:
  std::unique_ptr<ui::FormModel> MakeModel(IShellServices& services) override;

 private:
  std::shared_ptr<memory::IMemoryReleaser> releaser_;
  std::function<ICpuUsageSampler*()> sampler_;
  Win32MemoryStatus memoryStatus_;
};

}  // namespace corvane::win32
