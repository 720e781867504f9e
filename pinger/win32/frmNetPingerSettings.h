// The net pinger's window frmNetPingerSettings over PingerSettings: the
// layout of NetPingerLayout(), pings on worker threads (ThreadedPingService),
// Windows Sockets failures in message boxes over this window, the program's
// sound player and the local clock. The main window loads it hidden at
// start-up, so the schedule runs from then on, and shows it in its child
// frame for "IDC_FS_pingSetting".
#pragma once

#include <memory>

#include "pinger/PingerSettings.h"
#include "pinger/win32/ThreadedPingService.h"
#include "pinger/win32/Win32PingServices.h"
#include "platform/win32/FormWindow.h"
#include "platform/win32/Win32Clock.h"

namespace corvane::win32 {

class frmNetPingerSettings final : public FormWindow {
 public:
  frmNetPingerSettings() : FormWindow(NetPingerLayout()) {}
  ~frmNetPingerSettings() override;

  const PingerSettings* Pinger() const { return static_cast<const PingerSettings*>(model()); }

 protected:
  std::unique_ptr<ui::FormModel> MakeModel(IShellServices& services) override;

 private:
  // Made with the model, on the user-interface thread; a ping still out
  // when the window goes lands nowhere.
  std::unique_ptr<ThreadedPingService> pings_;
  std::unique_ptr<Win32MessageSink> messages_;
  Win32Clock clock_;
};

}  // namespace corvane::win32
