#include "platform/OsVersion.h"

namespace corvane {

namespace {
constexpr std::uint32_t kPlatformWindows = 1;  // 95, 98, ME
constexpr std::uint32_t kPlatformNt = 2;
}  // namespace

int VersionCodeFor(const OsVersionInfo& info) {
  if (info.platformId == kPlatformWindows) {
    switch (info.minorVersion) {
      case 0: return os_family::kWindows95 - 1;
      case 10: return os_family::kWindows98 - 1;  // and Second Edition
      case 90: return os_family::kWindowsMe - 1;
      default: return os_family::kUnrecognised - 1;
    }
  }
  if (info.platformId == kPlatformNt) {
    if (info.majorVersion < 5) return os_family::kNt4 - 1;  // NT 4.0 and earlier
    if (info.majorVersion == 5 && info.minorVersion == 0) return os_family::kWindows2000 - 1;
    // XP, Server 2003 and every later NT version: the NT map, the balloon and
    // ncpa.cpl are all right there.
    return os_family::kXpOrLater - 1;
  }
  return os_family::kUnrecognised - 1;  // Win32s or a failed query
}

int GetWindowsVersionCode(const IOsVersionSource& source) {
  return VersionCodeFor(source.GetVersion());
}

void DetectOsFamily(const IOsVersionSource& source) {
  const OsVersionInfo info = source.GetVersion();
  currentOsFamily = static_cast<OsFamily>(VersionCodeFor(info) + 1);
  currentWindowsVersion = ExactVersionFor(info);
}

bool IsNtPlatform(const IOsVersionSource& source) {
  return source.GetVersion().platformId == kPlatformNt;
}

WindowsVersion ExactVersionFor(const OsVersionInfo& info) {
  using V = WindowsVersion;
  if (info.platformId == kPlatformWindows) {
    switch (info.minorVersion) {
      case 0: return V::Windows95;
      case 10: return V::Windows98;
      case 90: return V::WindowsMe;
      default: return V::Unknown;
    }
  }
  if (info.platformId != kPlatformNt) return V::Unknown;
  const std::uint32_t major = info.majorVersion;
  const std::uint32_t minor = info.minorVersion;
  if (major < 5) return V::Nt4;
  if (major == 5) {
    switch (minor) {
      case 0: return V::Windows2000;
      case 1: return V::WindowsXp;
      case 2: return V::Server2003;
      default: return V::Unknown;
    }
  }
  if (major == 6) {
    switch (minor) {
      case 0: return V::Vista;
      case 1: return V::Windows7;
      case 2: return V::Windows8;
      case 3: return V::Windows81;
      default: return V::Unknown;
    }
  }
  if (major == 10 && minor == 0) {
    return info.buildNumber >= kFirstWindows11Build ? V::Windows11 : V::Windows10;
  }
  return V::Unknown;
}

std::string_view WindowsVersionName(WindowsVersion version) {
  using V = WindowsVersion;
  switch (version) {
    case V::Unknown: break;
    case V::Windows95: return "Windows 95";
    case V::Windows98: return "Windows 98";
    case V::WindowsMe: return "Windows ME";
    case V::Nt4: return "Windows NT 4.0";
    case V::Windows2000: return "Windows 2000";
    case V::WindowsXp: return "Windows XP";
    case V::Server2003: return "Windows Server 2003";
    case V::Vista: return "Windows Vista";
    case V::Windows7: return "Windows 7";
    case V::Windows8: return "Windows 8";
    case V::Windows81: return "Windows 8.1";
    case V::Windows10: return "Windows 10";
    case V::Windows11: return "Windows 11";
  }
  return "this Windows version";
}

}  // namespace corvane
