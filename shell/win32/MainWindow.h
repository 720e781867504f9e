// The main window frmMain.
#pragma once

#include "platform/win32/Window.h"

namespace corvane::shell {

class MainWindow final : public win32::Window<MainWindow> {
 public:
  bool Create(HINSTANCE instance);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace corvane::shell
