// Which Windows is running: the small code currentOsFamily that the tuner and
// the shell choose their behaviour by (1-4 the 95/98/ME group, 5-7 the
// NT/2000/XP group, 0 not yet detected), and IsNtPlatform, which asks the
// platform afresh each time.
#pragma once

#include <cstdint>

namespace corvane {

using OsFamily = std::int16_t;

// The running system's code; 0 until DetectOsFamily has run.
inline OsFamily currentOsFamily = 0;

inline constexpr bool Is9xFamily(OsFamily family) { return family >= 1 && family <= 4; }
inline constexpr bool IsNtFamily(OsFamily family) { return family >= 5 && family <= 7; }

// The fields of OSVERSIONINFOA that the detection uses. A failed
// GetVersionExA leaves the record zero-filled.
struct OsVersionInfo {
  std::uint32_t platformId = 0;  // 1 VER_PLATFORM_WIN32_WINDOWS, 2 VER_PLATFORM_WIN32_NT
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
};

class IOsVersionSource {
 public:
  virtual ~IOsVersionSource() = default;
  // GetVersionExA; the zero-filled record when it fails.
  virtual OsVersionInfo GetVersion() const = 0;
};

// The version code 0 to 6 of the detection table.
int VersionCodeFor(const OsVersionInfo& info);
int GetWindowsVersionCode(const IOsVersionSource& source);
// Sets currentOsFamily to the version code + 1.
void DetectOsFamily(const IOsVersionSource& source);
bool IsNtPlatform(const IOsVersionSource& source);

}  // namespace corvane
