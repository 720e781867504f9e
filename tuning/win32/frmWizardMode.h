// frmWizardMode: the wizard's form on the feature-window kit. Its rules are
// WizardModeModel (tuning/WizardMode.h); the window builds the model over
// the real registry, files and clock, opens the preview of the chosen
// profile ("Changes…"), and runs the drift watch after start-up, after each
// apply and each time it is shown.
#pragma once

#include <memory>

#include "platform/win32/FormWindow.h"
#include "tuning/DriftWatch.h"
#include "tuning/WizardMode.h"
#include "platform/win32/Win32Clock.h"
#include "tuning/win32/Win32DateTimeFormat.h"
#include "tuning/win32/Win32FileSystem.h"
#include "tuning/win32/frmChanges.h"

namespace corvane::win32 {

class frmWizardMode final : public FormWindow {
 public:
  frmWizardMode() : FormWindow(WizardModeLayout()) {}

  bool Load(IShellServices& services, HWND owner) override;
  void BeforeShow() override;

  WizardModeModel* wizard() const { return static_cast<WizardModeModel*>(model()); }
  // The preview, while one has been opened.
  frmChanges* changes() const { return changes_.get(); }
  DriftWatcher* drift() const { return drift_.get(); }
  // For the editor and the backup manager: their applies go into the same
  // record, and their showing asks for the same check.
  DriftLink driftLink();

 protected:
  std::unique_ptr<ui::FormModel> MakeModel(IShellServices& services) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CheckDriftSoon();

  IShellServices* services_ = nullptr;
  Win32FileSystem files_;
  Win32Clock clock_;
  std::unique_ptr<Win32DateTimeFormat> format_;
  std::unique_ptr<DriftWatcher> drift_;
  std::unique_ptr<frmChanges> changes_;
};

}  // namespace corvane::win32
