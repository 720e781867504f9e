// frmWizardMode: the wizard's form on the feature-window kit. Its rules are
// WizardModeModel (tuning/WizardMode.h); the window only builds the model
// over the real registry, files and clock.
#pragma once

#include <memory>

#include "platform/win32/FormWindow.h"
#include "tuning/WizardMode.h"
#include "tuning/win32/Win32Clock.h"
#include "tuning/win32/Win32FileSystem.h"

namespace corvane::win32 {

class frmWizardMode final : public FormWindow {
 public:
  frmWizardMode() : FormWindow(WizardModeLayout()) {}

  WizardModeModel* wizard() const { return static_cast<WizardModeModel*>(model()); }

 protected:
  std::unique_ptr<ui::FormModel> MakeModel(IShellServices& services) override;

 private:
  Win32FileSystem files_;
  Win32Clock clock_;
};

}  // namespace corvane::win32
