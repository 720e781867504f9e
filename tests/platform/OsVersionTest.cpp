#include <gtest/gtest.h>

#include "platform/OsVersion.h"

namespace corvane {
namespace {

class FixedVersion : public IOsVersionSource {
 public:
  explicit FixedVersion(OsVersionInfo info) : info_(info) {}
  OsVersionInfo GetVersion() const override { return info_; }

 private:
  OsVersionInfo info_;
};

struct Row {
  OsVersionInfo info;  // platform, major, minor, build
  int code;            // the family code less one
  WindowsVersion exact;
};

using V = WindowsVersion;

// Every row of the detection table, the NT versions from 5.2 on included:
// they join XP in the NT group's code 7.
const Row kRows[] = {
    {{1, 4, 0, 950}, 1, V::Windows95},
    {{1, 4, 10, 1998}, 2, V::Windows98},
    {{1, 4, 10, 2222}, 2, V::Windows98},  // Second Edition
    {{1, 4, 90, 3000}, 3, V::WindowsMe},
    {{1, 4, 3, 0}, 0, V::Unknown},  // an unknown 95/98/ME minor: unrecognised, 9x group
    {{1, 9, 0, 0}, 1, V::Windows95},
    {{2, 3, 51, 1057}, 4, V::Nt4},
    {{2, 4, 0, 1381}, 4, V::Nt4},
    {{2, 5, 0, 2195}, 5, V::Windows2000},
    {{2, 5, 1, 2600}, 6, V::WindowsXp},
    {{2, 5, 2, 3790}, 6, V::Server2003},
    {{2, 5, 3, 0}, 6, V::Unknown},  // no such NT 5: still the NT group
    {{2, 6, 0, 6002}, 6, V::Vista},
    {{2, 6, 1, 7601}, 6, V::Windows7},
    {{2, 6, 2, 9200}, 6, V::Windows8},
    {{2, 6, 3, 9600}, 6, V::Windows81},
    {{2, 6, 4, 9841}, 6, V::Unknown},
    {{2, 10, 0, 19045}, 6, V::Windows10},
    {{2, 10, 0, 21999}, 6, V::Windows10},
    {{2, 10, 0, 22000}, 6, V::Windows11},
    {{2, 10, 0, 26100}, 6, V::Windows11},
    {{2, 11, 0, 30000}, 6, V::Unknown},  // a future NT: tuned as NT, values not judged
    {{0, 3, 10, 0}, 0, V::Unknown},      // Win32s
    {{3, 5, 1, 0}, 0, V::Unknown},
    {{}, 0, V::Unknown},  // GetVersionExA failed: zero-filled record
};

TEST(OsVersion, TheDetectionTable) {
  for (const Row& row : kRows) {
    const OsVersionInfo& i = row.info;
    SCOPED_TRACE(testing::Message() << i.platformId << " " << i.majorVersion << "."
                                    << i.minorVersion << "." << i.buildNumber);
    EXPECT_EQ(VersionCodeFor(i), row.code);
    EXPECT_EQ(GetWindowsVersionCode(FixedVersion(i)), row.code);
    EXPECT_EQ(ExactVersionFor(i), row.exact);
  }
}

TEST(OsVersion, DetectionSetsTheFamilyAndTheExactVersion) {
  const OsFamily savedFamily = currentOsFamily;
  const WindowsVersion savedVersion = currentWindowsVersion;
  for (const Row& row : kRows) {
    DetectOsFamily(FixedVersion(row.info));
    EXPECT_EQ(currentOsFamily, row.code + 1);
    EXPECT_EQ(currentWindowsVersion, row.exact);
  }
  // Server 2003 and every later NT version: code 7, the NT group.
  DetectOsFamily(FixedVersion({2, 5, 2, 3790}));
  EXPECT_EQ(currentOsFamily, os_family::kXpOrLater);
  EXPECT_TRUE(IsNtFamily(currentOsFamily));
  DetectOsFamily(FixedVersion({2, 10, 0, 22631}));
  EXPECT_EQ(currentOsFamily, os_family::kXpOrLater);
  EXPECT_EQ(currentWindowsVersion, V::Windows11);
  currentOsFamily = savedFamily;
  currentWindowsVersion = savedVersion;
}

TEST(OsVersion, IsNtPlatformAsksThePlatformOnly) {
  EXPECT_TRUE(IsNtPlatform(FixedVersion({2, 10, 0, 0})));
  EXPECT_TRUE(IsNtPlatform(FixedVersion({2, 5, 2, 0})));
  EXPECT_TRUE(IsNtPlatform(FixedVersion({2, 11, 0, 0})));
  EXPECT_FALSE(IsNtPlatform(FixedVersion({1, 4, 10, 0})));
  EXPECT_FALSE(IsNtPlatform(FixedVersion({})));
}

TEST(OsVersion, FamilyRanges) {
  EXPECT_FALSE(Is9xFamily(0));
  EXPECT_FALSE(IsNtFamily(0));
  for (OsFamily f = 1; f <= 4; ++f) EXPECT_TRUE(Is9xFamily(f) && !IsNtFamily(f));
  for (OsFamily f = 5; f <= 7; ++f) EXPECT_TRUE(IsNtFamily(f) && !Is9xFamily(f));
  EXPECT_FALSE(Is9xFamily(8) || IsNtFamily(8));
}

TEST(OsVersion, EveryVersionHasAName) {
  for (int v = 1; v < kWindowsVersionCount; ++v) {
    std::string_view name = WindowsVersionName(static_cast<WindowsVersion>(v));
    EXPECT_EQ(name.substr(0, 8), "Windows ") << v;
  }
  EXPECT_EQ(WindowsVersionName(V::Windows11), "Windows 11");
  EXPECT_EQ(WindowsVersionName(V::Unknown), "this Windows version");
}

}  // namespace
}  // namespace corvane
