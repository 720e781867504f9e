// Which Windows is running: the small code currentOsFamily that the tuner and
// the shell choose their behaviour by, the exact version that says which
// tuned values that Windows still honours, and IsNtPlatform, which asks the
// platform afresh each time.
#pragma once

#include <cstdint>
#include <string_view>

namespace corvane {

using OsFamily = std::int16_t;

// What each code means. This is the one place that says it; consumers test
// only the two ranges (Is9xFamily, IsNtFamily), and the restore compares the
// whole code.
//
//   0  not yet detected                          none
//   1  unrecognised 32-bit Windows               95/98/ME group
//   2  Windows 95        3  Windows 98 (and SE)  4  Windows ME
//   5  Windows NT 4.0 or earlier                 NT group
//   6  Windows 2000
//   7  Windows XP or a later NT version (Server 2003, Vista, 7, 8, 8.1, 10,
//      11, ...): every NT version from 5.1 on keeps its TCP/IP settings where
//      XP does, as REG_DWORD values under Services\Tcpip, and has the
//      balloon tips and ncpa.cpl that the NT group's consumers choose.
namespace os_family {
inline constexpr OsFamily kNotDetected = 0;
inline constexpr OsFamily kUnrecognised = 1;
inline constexpr OsFamily kWindows95 = 2;
inline constexpr OsFamily kWindows98 = 3;
inline constexpr OsFamily kWindowsMe = 4;
inline constexpr OsFamily kNt4 = 5;
inline constexpr OsFamily kWindows2000 = 6;
inline constexpr OsFamily kXpOrLater = 7;
}  // namespace os_family

// The running system's code; 0 until DetectOsFamily has run.
inline OsFamily currentOsFamily = os_family::kNotDetected;

inline constexpr bool Is9xFamily(OsFamily family) {
  return family >= os_family::kUnrecognised && family <= os_family::kWindowsMe;
}
inline constexpr bool IsNtFamily(OsFamily family) {
  return family >= os_family::kNt4 && family <= os_family::kXpOrLater;
}

// The fields of OSVERSIONINFOA that the detection uses. A failed
// GetVersionExA leaves the record zero-filled.
struct OsVersionInfo {
  std::uint32_t platformId = 0;  // 1 VER_PLATFORM_WIN32_WINDOWS, 2 VER_PLATFORM_WIN32_NT
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  // NT: the build number. 95/98/ME keep the version in the high word and the
  // build in the low word; only NT builds are compared.
  std::uint32_t buildNumber = 0;
};

class IOsVersionSource {
 public:
  virtual ~IOsVersionSource() = default;
  // GetVersionExA; the zero-filled record when it fails.
  virtual OsVersionInfo GetVersion() const = 0;
};

// The version code 0 to 6 of the detection table (the family code less one).
int VersionCodeFor(const OsVersionInfo& info);
int GetWindowsVersionCode(const IOsVersionSource& source);
// Sets currentOsFamily to the version code + 1, and currentWindowsVersion.
void DetectOsFamily(const IOsVersionSource& source);
bool IsNtPlatform(const IOsVersionSource& source);

// The exact Windows version, for what each one does with the tuned values.
// Apart from the family code: two versions of one family can differ there.
enum class WindowsVersion : std::uint8_t {
  Unknown,  // not detected, Win32s, or a version newer or odder than these
  Windows95,
  Windows98,
  WindowsMe,
  Nt4,          // NT 4.0 and earlier
  Windows2000,  // 5.0
  WindowsXp,    // 5.1
  Server2003,   // 5.2: Server 2003 and XP Professional x64, one TCP/IP stack
  Vista,        // 6.0, and Server 2008
  Windows7,     // 6.1
  Windows8,     // 6.2: also 8.1 and 10 to a program without their manifest ids
  Windows81,    // 6.3
  Windows10,    // 10.0, build below 22000
  Windows11,    // 10.0, build 22000 or above
};

inline constexpr int kWindowsVersionCount = 14;
inline constexpr std::uint32_t kFirstWindows11Build = 22000;

// The running system's exact version; Unknown until DetectOsFamily has run.
inline WindowsVersion currentWindowsVersion = WindowsVersion::Unknown;

WindowsVersion ExactVersionFor(const OsVersionInfo& info);
// "Windows 10", "Windows Server 2003", ...; "this Windows version" for Unknown.
std::string_view WindowsVersionName(WindowsVersion version);

}  // namespace corvane
