#include "shell/win32/Connect.h"

#include "shell/win32/MainWindow.h"

namespace corvane::shell {

void ConnectShellParts(MainWindow& mainWindow) {
  ShellConnections& c = mainWindow.connections();
  (void)c;
  // Start-up step 10, the presets:     c.fillPresetProfiles
  // Steps 11 and every exit, Tray1:     c.trayShow, c.trayBalloon
  // The 95/98/ME tray notification:     c.trayNotification (msgFrm.MsgAuto_box)
  // Step 13, start in the tray:         c.runProgramInTray (frmMainSettings)
  // The shortcuts and the restart:      c.runShortcut, c.restartWindows
  // frmBackUp, frmNormalMode extras:    c.intializeList, c.resetNormalModePage
  // The feature windows (step 12 loads six of them hidden):
  //   mainWindow.ConnectFeatureWindow(Feature::MainSettings, std::make_unique<...>());
}

}  // namespace corvane::shell
