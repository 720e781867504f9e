#include "tuning/win32/frmWizardMode.h"

namespace corvane::win32 {

std::unique_ptr<ui::FormModel> frmWizardMode::MakeModel(IShellServices& services) {
  IShellServices* shell = &services;
  return std::make_unique<WizardModeModel>(
      view(), TuningContext{services.registry(), files_, clock_, services.ApplicationFolder()},
      [shell] { shell->ReturnHome(); });
}

}  // namespace corvane::win32
