#include "memory/win32/frmRamConfiguration.h"

namespace corvane::win32 {

frmRamConfiguration::~frmRamConfiguration() {
  // The model goes with the form, while what it uses is still here.
  Unload();
}

std::unique_ptr<ui::FormModel> frmRamConfiguration::MakeModel(IShellServices& services) {
  auto model = std::make_unique<memory::RamConfigurationModel>(
      memory::RamConfigurationModel::Services{services.registry(), memoryStatus_, *releaser_, services.sounds(),
                                              services.pump().YieldStep(), services.ApplicationFolder()},
      view(), timers());
  model->SetSampler(sampler_);
  return model;
}

}  // namespace corvane::win32
