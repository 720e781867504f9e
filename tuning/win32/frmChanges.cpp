#include "tuning/win32/frmChanges.h"

namespace corvane::win32 {

frmChanges::~frmChanges() { Close(); }

std::unique_ptr<ui::FormModel> frmChanges::MakeModel(IShellServices&) {
  ChangesPreviewModel::Hooks hooks = hooks_;
  auto closeFirst = hooks.close;
  hooks.close = [this, closeFirst] {
    Close();
    if (closeFirst) closeFirst();
  };
  return std::make_unique<ChangesPreviewModel>(view(), plan_, applyCaption_, std::move(hooks));
}

bool frmChanges::Open(IShellServices& services, HWND host) {
  HWND main = services.mainWindow();
  if (!Load(services, main)) return false;
  RECT place{};
  if (host != nullptr) (void)::GetWindowRect(host, &place);
  ::SetWindowPos(hwnd(), HWND_TOP, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  if (main != nullptr && ::IsWindowEnabled(main)) {
    disabled_ = main;
    (void)::EnableWindow(main, FALSE);
  }
  open_ = true;
  (void)::SetForegroundWindow(hwnd());
  (void)::SetFocus(Control(preview::kIdCmdBack));
  return true;
}

void frmChanges::Close() {
  if (!open_) return;
  open_ = false;
  // The main window first, so that it, not another program, becomes active.
  if (disabled_ != nullptr) (void)::EnableWindow(disabled_, TRUE);
  disabled_ = nullptr;
  if (IsLoaded()) ::ShowWindow(hwnd(), SW_HIDE);
}

void OpenPreview(std::unique_ptr<frmChanges>& slot, IShellServices& services, HWND host, Plan plan,
                 std::function<Plan()> replan, std::string applyCaption,
                 std::function<void()> apply) {
  slot.reset();
  ChangesPreviewModel::Hooks hooks;
  hooks.replan = std::move(replan);
  hooks.apply = std::move(apply);
  slot = std::make_unique<frmChanges>(std::move(plan), std::move(applyCaption), std::move(hooks));
  if (!slot->Open(services, host)) slot.reset();
}

}  // namespace corvane::win32
