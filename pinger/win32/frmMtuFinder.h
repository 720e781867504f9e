// frmMtuFinder on the feature-window kit: MtuFinderForm's rules over a
// ThreadedMtuFinder, shown as a small captioned window over its owner,
// which stays disabled while it is open. Closing only hides it; the next
// Open makes it afresh.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "pinger/MtuFinderForm.h"
#include "pinger/win32/ThreadedMtuFinder.h"
#include "platform/win32/FormWindow.h"

namespace corvane::win32 {

class frmMtuFinder final : public FormWindow {
 public:
  using Offer = std::function<void(std::uint16_t mtu)>;

  frmMtuFinder() : FormWindow(MtuFinderLayout()) {}
  ~frmMtuFinder() override;

  // Makes the window afresh, over `owner` (disabled meanwhile), with the
  // pinger's host in its box; `offer` takes the MTU the user accepts.
  bool Open(IShellServices& services, HWND owner, Offer offer);
  // Hides the window, stops a search and gives the owner back its input.
  void Close();
  bool IsOpen() const { return IsLoaded() && ::IsWindowVisible(hwnd()) != FALSE; }
  MtuFinderForm* finder() const { return static_cast<MtuFinderForm*>(model()); }

 protected:
  std::unique_ptr<ui::FormModel> MakeModel(IShellServices& services) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static constexpr UINT kCloseMessage = WM_APP + 0x61;

  std::unique_ptr<ThreadedMtuFinder> search_;
  HWND owner_ = nullptr;
  Offer offer_;
};

}  // namespace corvane::win32
