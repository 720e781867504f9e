// TEMPORARY: the stand-in player's grid, until the movie's reader is merged.
#include "tests/gui/MovieButtons.h"

namespace corvane::gui {

std::optional<RECT> FindMovieButton(const std::string&, const std::string& command, const std::string&) {
  static const char* kCmds[] = {"IDC_FS_wizardMode","IDC_FS_normalMode","IDC_FS_backupManger","IDC_FS_pingSetting","IDC_FS_systemSatus","IDC_FS_ramConfig","IDC_FS_settings","IDC_FS_help","IDC_FS_about","IDC_FS_closeAbout","IDC_FS_internetProperties","IDC_FS_systemSetting","IDC_FS_modemSetting","IDC_FS_networkSetting","IDC_FS_restart","IDC_FS_tray","IDC_FS_minimize","IDC_FS_close","IDC_FS_home","IDC_FS_main"};
  if (command == "Drag") return RECT{200, 2, 400, 28};
  for (int i = 0; i < 20; ++i) {
    if (command == kCmds[i]) {
      int x = (i % 5) * 135 + 5, y = 40 + (i / 5) * 80 + 5;
      return RECT{x, y, x + 125, y + 70};
    }
  }
  return std::nullopt;
}

}  // namespace corvane::gui
