#include "tuning/win32/frmNormalMode.h"

#include "platform/OsVersion.h"
#include "tuning/Apply.h"
#include "tuning/Plan.h"

namespace corvane::win32 {

namespace {
// The top-level window a child sits in (GetAncestor is not on Windows 95).
HWND TopLevelOf(HWND window) {
  while (window != nullptr && (::GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) != 0) {
    HWND parent = ::GetParent(window);
    if (parent == nullptr) break;
    window = parent;
  }
  return window;
}
}  // namespace

bool frmNormalMode::IsEntryBox(int id) {
  switch (id) {
    case kIdTxtMtuValue:
    case kIdTxtMssValue:
    case kIdTxtMultiplier:
    case kIdTxtTtlValue:
    case kIdTxtHttp10Value:
    case kIdTxtHttp11Value:
    case kIdTxtKeepAliveTimeValue:
    case kIdTxtKeepAliveIntervalValue:
      return true;
    default:
      return false;
  }
}

void frmNormalMode::BeforeShow() {
  state_.currWizardPage = 0;
  FormWindow::BeforeShow();
  if (drift_.checkSoon) drift_.checkSoon();
}

void frmNormalMode::OpenChanges(const TuningProfile& target) {
  IRegistry* registry = &services_->registry();
  auto plan = [registry, target] {
    return PlanProfile(*registry, currentOsFamily, currentWindowsVersion, target);
  };
  // Exactly what "Finish" does.
  OpenPreview(changes_, *services_, hwnd(), plan(), plan, "&Finish", [this] {
    if (editor() != nullptr) editor()->FinishFromPreview();
  });
}

std::unique_ptr<ui::FormModel> frmNormalMode::MakeModel(IShellServices& services) {
  services_ = &services;
  NormalModeHooks hooks;
  hooks.apply = [this] {
    TuningContext context{services_->registry(), files_, clock_, services_->ApplicationFolder()};
    return ApplyTuningProfile(context);
  };
  hooks.returnHome = [this] { services_->ReturnHome(); };
  // The size the user takes goes into the box as a whole text, checked as
  // any; only Finish applies it.
  hooks.findMtu = [this] {
    (void)mtuFinder_.Open(*services_, TopLevelOf(hwnd()), [this](std::uint16_t mtu) {
      SetText(kIdTxtMtuValue, std::to_string(mtu));
    });
  };
  hooks.showChanges = [this](const TuningProfile& target) { OpenChanges(target); };
  hooks.afterApply = [this](const TuningProfile& applied) {
    if (drift_.recordApply) drift_.recordApply(applied);
  };
  return std::make_unique<NormalModeModel>(view(), state_, workingProfile, std::move(hooks));
}

LRESULT frmNormalMode::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The skin draws the buttons itself, and such a button reports a second
  // click soon after the first as a double click: a user who presses Next
  // twice quickly means two pages.
  if (message == WM_COMMAND && lParam != 0 && HIWORD(wParam) == BN_DOUBLECLICKED &&
      (LOWORD(wParam) == kIdCmdNextPage || LOWORD(wParam) == kIdCmdPrevPage)) {
    return FormWindow::HandleMessage(message, MAKEWPARAM(LOWORD(wParam), BN_CLICKED), lParam);
  }
  // Leaving a box completes its entry (the kit tells its Change apart: an
  // edit in the box or a text set whole). While the window goes away there
  // is no model any more.
  if (message == WM_COMMAND && lParam != 0 && HIWORD(wParam) == EN_KILLFOCUS && IsEntryBox(LOWORD(wParam))) {
    const int id = LOWORD(wParam);
    RunModel([&](ui::FormModel& editor) { static_cast<NormalModeModel&>(editor).CompleteEntry(id); });
    return 0;
  }
  return FormWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace corvane::win32
