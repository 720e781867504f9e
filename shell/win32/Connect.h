// The one place where the parts of the program that live outside the main
// window are connected to it before start-up: the tray icon Tray1, the
// notification window, frmMainSettings, the shortcuts and the restart, and
// the preset profiles (docs/shell-integration.md).
#pragma once

#include <memory>

namespace corvane::shell {

class MainWindow;

// What lives beside the main window for the whole run (the tray control).
// The caller keeps it until the message loop has ended, and lets it go
// before the main window: the tray's events call into the main window.
class ShellParts {
 public:
  virtual ~ShellParts() = default;
};

std::unique_ptr<ShellParts> ConnectShellParts(MainWindow& mainWindow);

}  // namespace corvane::shell
