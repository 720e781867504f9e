#include "pinger/win32/frmNetPingerSettings.h"

namespace corvane::win32 {

frmNetPingerSettings::~frmNetPingerSettings() {
  // The model goes with the form; it must not see pings land while the
  // service is going.
  Unload();
}

std::unique_ptr<ui::FormModel> frmNetPingerSettings::MakeModel(IShellServices& services) {
  if (!pings_) pings_ = std::make_unique<ThreadedPingService>(services.instance());
  messages_ = std::make_unique<Win32MessageSink>(FormWindow::hwnd());
  return std::make_unique<PingerSettings>(
      PingerContext{services.registry(), *pings_, services.sounds(), *messages_, clock_, services.ApplicationFolder(),
                    services.pump().YieldStep()},
      view(), timers());
}

}  // namespace corvane::win32
