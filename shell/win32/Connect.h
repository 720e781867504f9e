// The one place where the parts of the program that live outside the main
// window are connected to it before start-up: the tray icon, the message
// windows, the main settings, the shortcuts and restart, the preset
// profiles and the feature windows (docs/shell-integration.md).
#pragma once

namespace corvane::shell {

class MainWindow;

void ConnectShellParts(MainWindow& mainWindow);

}  // namespace corvane::shell
