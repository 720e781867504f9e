// Prints what the program's detection sees: "<versionCode> <family> <isNt>".
#include <cstdio>

#include "platform/OsVersion.h"
#include "platform/win32/Win32OsVersion.h"

int main() {
  corvane::win32::Win32OsVersion source;
  corvane::DetectOsFamily(source);
  std::printf("%d %d %d\n", corvane::GetWindowsVersionCode(source),
              static_cast<int>(corvane::currentOsFamily), corvane::IsNtPlatform(source) ? 1 : 0);
  return 0;
}
