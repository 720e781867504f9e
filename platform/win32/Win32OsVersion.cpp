#include "platform/win32/Win32OsVersion.h"

#include <windows.h>

namespace corvane::win32 {

OsVersionInfo Win32OsVersion::GetVersion() const {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;  // 148: the ANSI record
  static_assert(sizeof(OSVERSIONINFOA) == 148);
  OsVersionInfo result;
  // GetVersionExA is deprecated for new programs, but it is exactly what
  // tells the 95/98/ME family from the NT family.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExA(&info)) return result;  // zero-filled: platform 0
#pragma GCC diagnostic pop
  result.platformId = info.dwPlatformId;
  result.majorVersion = info.dwMajorVersion;
  result.minorVersion = info.dwMinorVersion;
  result.buildNumber = info.dwBuildNumber;
  return result;
}

}  // namespace corvane::win32
