#include "pinger/win32/frmMtuFinder.h"

#include <utility>

namespace corvane::win32 {

frmMtuFinder::~frmMtuFinder() {
  if (owner_ != nullptr) ::EnableWindow(owner_, TRUE);
  Unload();
}

bool frmMtuFinder::Open(IShellServices& services, HWND owner, Offer offer) {
  Close();
  Unload();
  offer_ = std::move(offer);
  if (!Load(services, owner)) return false;
  // The kit makes a bare pop-up: give it a caption and a close box, sized
  // so that the form's own area keeps the layout's size.
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  ::SetWindowLongPtrA(hwnd(), GWL_STYLE, static_cast<LONG_PTR>(style));
  RECT frame{0, 0, layout().width, layout().height};
  (void)::AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT over{};
  int left = 100, top = 100;
  if (owner != nullptr && ::GetWindowRect(owner, &over)) {
    left = over.left + (over.right - over.left - width) / 2;
    top = over.top + (over.bottom - over.top - height) / 2;
  }
  (void)::SetWindowPos(hwnd(), HWND_TOP, left, top, width, height, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  owner_ = owner;
  if (owner_ != nullptr) ::EnableWindow(owner_, FALSE);
  (void)::SetForegroundWindow(hwnd());
  (void)::SetFocus(Control(kIdCmdMtuStart));
  return true;
}

void frmMtuFinder::Close() {
  if (!IsLoaded()) return;
  if (auto* form = finder(); form != nullptr && form->searching()) search_->Cancel();
  // The owner first, so that Windows hands it the activation.
  if (owner_ != nullptr) ::EnableWindow(owner_, TRUE);
  ::ShowWindow(hwnd(), SW_HIDE);
  if (owner_ != nullptr) (void)::SetActiveWindow(owner_);
  owner_ = nullptr;
}

std::unique_ptr<ui::FormModel> frmMtuFinder::MakeModel(IShellServices& services) {
  search_ = std::make_unique<ThreadedMtuFinder>(services.instance());
  MtuFinderFormHooks hooks;
  hooks.offer = [this](std::uint16_t mtu) {
    if (offer_) offer_(mtu);
  };
  // Not at once: the click that closes is still being handled.
  hooks.close = [this] { (void)::PostMessageA(hwnd(), kCloseMessage, 0, 0); };
  return std::make_unique<MtuFinderForm>(view(), *search_, PingerHost(services.registry()),
                                         std::move(hooks));
}

LRESULT frmMtuFinder::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCloseMessage) {
    Close();
    return 0;
  }
  if (message == WM_CLOSE) {
    if (auto* form = finder()) form->OnEvent(ui::Event{kIdCmdMtuClose, ui::Event::Click, 0});
    return 0;
  }
  return FormWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace corvane::win32
