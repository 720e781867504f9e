// Where the parts of the shell that are built apart from the main window
// plug into it: the tray icon Tray1, the notification window msgFrm, the
// main settings' tray choice, the system shortcuts and the restart, the
// preset profiles. Each is a no-op until connected (see
// docs/shell-integration.md).
#pragma once

#include <functional>

#include "shell/ShellDispatcher.h"

namespace corvane::shell {

struct ShellConnections {
  // Start-up step 10: fill the eight preset profiles, 1 to 8 in order.
  std::function<void()> fillPresetProfiles;

  // Tray1.Show(true) at start-up step 11; Show(false) on every exit path.
  std::function<void(bool show)> trayShow;
  // Tray1.showBalloonoolTip(true): the tray step on the NT family.
  std::function<void()> trayBalloon;
  // msgFrm.MsgAuto_box: the tray step on the 95/98/ME family.
  std::function<void(const TrayNotification&)> trayNotification;

  // Start-up step 13: frmMainSettings' chkRunProgramMini holds 1.
  std::function<bool()> runProgramInTray;
  // The same setting read from where frmMainSettings' load reads it, before
  // that window is loaded: a start that shows the main window paints it
  // before loading the feature windows. Unset: they load at step 12.
  std::function<bool()> storedRunsInTray;

  // mdlAddons: the four control-panel pages and the restart of Windows.
  std::function<void(SystemShortcut)> runShortcut;
  // The restart: true when Windows took the request.
  std::function<bool()> restartWindows;
};

}  // namespace corvane::shell
