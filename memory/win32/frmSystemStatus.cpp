#include "memory/win32/frmSystemStatus.h"

namespace corvane::win32 {

frmSystemStatus::~frmSystemStatus() {
  // The model goes with the form, while what it uses is still here.
  Unload();
}

std::unique_ptr<ui::FormModel> frmSystemStatus::MakeModel(IShellServices& services) {
  return std::make_unique<memory::SystemStatusModel>(
      memory::SystemStatusModel::Services{
          memoryStatus_, *releaser_, tray_, [] { return std::make_unique<SystemCpuUsage>(); }, tooltipInPercent_,
          [this](bool busy) { SetBusyPointer(busy); }, services.pump().YieldStep()},
      view(), timers());
}

}  // namespace corvane::win32
