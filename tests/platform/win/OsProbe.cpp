// Prints what the program's detection sees:
// "<versionCode> <family> <isNt> <exact version name>".
#include <cstdio>

#include "platform/OsVersion.h"
#include "platform/win32/Win32OsVersion.h"

int main() {
  corvane::win32::Win32OsVersion source;
  corvane::DetectOsFamily(source);
  const std::string_view exact = corvane::WindowsVersionName(corvane::currentWindowsVersion);
  std::printf("%d %d %d %.*s\n", corvane::GetWindowsVersionCode(source),
              static_cast<int>(corvane::currentOsFamily), corvane::IsNtPlatform(source) ? 1 : 0,
              static_cast<int>(exact.size()), exact.data());
  return 0;
}
