#include "platform/OsVersion.h"

namespace corvane {

namespace {
constexpr std::uint32_t kPlatformWindows = 1;  // 95, 98, ME
constexpr std::uint32_t kPlatformNt = 2;
}  // namespace

int VersionCodeFor(const OsVersionInfo& info) {
  if (info.platformId == kPlatformWindows) {
    switch (info.minorVersion) {
      case 0: return 1;   // Windows 95
      case 10: return 2;  // Windows 98 (and Second Edition)
      case 90: return 3;  // Windows ME
      default: return 0;
    }
  }
  if (info.platformId == kPlatformNt) {
    if (info.majorVersion < 5) return 4;  // NT 4.0 and earlier
    if (info.majorVersion == 5) {
      if (info.minorVersion == 0) return 5;  // 2000
      if (info.minorVersion == 1) return 6;  // XP
    }
    return 0;  // 2003 and every later NT: not recognised
  }
  return 0;  // Win32s or a failed query
}

int GetWindowsVersionCode(const IOsVersionSource& source) {
  return VersionCodeFor(source.GetVersion());
}

void DetectOsFamily(const IOsVersionSource& source) {
  currentOsFamily = static_cast<OsFamily>(GetWindowsVersionCode(source) + 1);
}

bool IsNtPlatform(const IOsVersionSource& source) {
  return source.GetVersion().platformId == kPlatformNt;
}

}  // namespace corvane
