// Opens the Internet properties as the "IDC_FS_internetProperties" command
// does, from whatever folder this program file was copied to, and ends with
// the started applet's process identifier as its exit code (0: none).
#include <windows.h>

#include "shell/addons/win32/Win32Addons.h"

int main() {
  return static_cast<int>(corvane::shell::SystemAddons().OpenInternetProperties());
}
