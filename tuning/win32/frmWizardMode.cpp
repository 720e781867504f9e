#include "tuning/win32/frmWizardMode.h"

#include "platform/AppInfo.h"
#include "platform/OsVersion.h"

namespace corvane::win32 {

namespace {
// Posted to the form: compare the registry with the record of the last apply
// once the message loop runs (after start-up, after the form is shown).
constexpr UINT kCheckDrift = WM_APP + 26;
}  // namespace

std::unique_ptr<ui::FormModel> frmWizardMode::MakeModel(IShellServices& services) {
  services_ = &services;
  IShellServices* shell = &services;
  TuningContext context{services.registry(), files_, clock_, services.ApplicationFolder()};
  auto model =
      std::make_unique<WizardModeModel>(WizardContext{context, [shell] { shell->ReturnHome(); }}, view(), timers());
  IRegistry* registry = &services.registry();
  model->SetShowChanges([this, shell, registry] {
    auto plan = [registry] {
      return PlanProfile(*registry, currentOsFamily, currentWindowsVersion, workingProfile);
    };
    // Exactly what "Optimize Now" does.
    OpenPreview(changes_, *shell, FormWindow::hwnd(), plan(), plan, "Optimize &Now", [this] {
      if (wizard() != nullptr) wizard()->cmdOptimizeClick();
    });
  });

  // The regional formats as they are when the program starts.
  // Made once: a check still asking its question keeps using them while the
  // form is unloaded and loaded again.
  if (!format_) format_ = std::make_unique<Win32DateTimeFormat>();
  if (!drift_) {
    DriftWatcher::Hooks hooks;
    hooks.ask = [this](const std::string& text) {
      return ShowMessage(text, kAppTitle, ui::kMessageYesNoCancel | ui::kMessageQuestion);
    };
    hooks.tell = [this](const std::string& text, bool warning) {
      (void)ShowMessage(text, kAppTitle,
                        ui::kMessageOk | (warning ? ui::kMessageWarning : ui::kMessageInformation));
    };
    hooks.showChanges = [this, shell](Plan plan, std::function<void()> apply) {
      OpenPreview(changes_, *shell, FormWindow::hwnd(), std::move(plan), nullptr, "Re-&apply",
                  std::move(apply));
    };
    drift_ = std::make_unique<DriftWatcher>(context, *format_, std::move(hooks));
  }
  model->SetAfterApply([this](const TuningProfile& profile) { drift_->RecordApply(profile); });
  return model;
}

bool frmWizardMode::Load(IShellServices& services, HWND owner) {
  if (!FormWindow::Load(services, owner)) return false;
  CheckDriftSoon();
  return true;
}

void frmWizardMode::BeforeShow() {
  FormWindow::BeforeShow();
  CheckDriftSoon();
}

void frmWizardMode::CheckDriftSoon() {
  if (IsLoaded()) (void)::PostMessageA(FormWindow::hwnd(), kCheckDrift, 0, 0);
}

DriftLink frmWizardMode::driftLink() {
  DriftLink link;
  link.recordApply = [this](const TuningProfile& applied) {
    if (drift_) drift_->RecordApply(applied);
  };
  link.checkSoon = [this] { CheckDriftSoon(); };
  return link;
}

LRESULT frmWizardMode::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCheckDrift) {
    // One notification at a time: not while a preview of any window is
    // open nor while a question is asked (either holds the main window);
    // it is told at the next showing.
    HWND main = services_ != nullptr ? services_->mainWindow() : nullptr;
    const bool busy = (changes_ && changes_->IsOpen()) || (main != nullptr && !::IsWindowEnabled(main));
    if (drift_ && !busy) drift_->Check();
    return 0;
  }
  return FormWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace corvane::win32
