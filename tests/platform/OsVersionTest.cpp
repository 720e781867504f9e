#include <gtest/gtest.h>

#include "platform/OsVersion.h"

namespace corvane {
namespace {

struct Row {
  std::uint32_t platform, major, minor;
  int code;
};

class FixedVersion : public IOsVersionSource {
 public:
  explicit FixedVersion(OsVersionInfo info) : info_(info) {}
  OsVersionInfo GetVersion() const override { return info_; }

 private:
  OsVersionInfo info_;
};

TEST(OsVersion, TheDetectionTable) {
  const Row rows[] = {
      {1, 4, 0, 1},  {1, 4, 10, 2}, {1, 4, 90, 3}, {1, 4, 3, 0},  {1, 9, 0, 1},  // 95/98/ME
      {2, 3, 51, 4}, {2, 4, 0, 4},  {2, 5, 0, 5},  {2, 5, 1, 6},  {2, 5, 2, 0},  // NT
      {2, 6, 0, 0},  {2, 10, 0, 0}, {0, 3, 10, 0}, {3, 5, 1, 0},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(VersionCodeFor({row.platform, row.major, row.minor}), row.code)
        << row.platform << " " << row.major << "." << row.minor;
  }
}

TEST(OsVersion, FamilyIsTheCodePlusOne) {
  OsFamily saved = currentOsFamily;
  DetectOsFamily(FixedVersion({1, 4, 10}));  // 98 and 98 SE alike
  EXPECT_EQ(currentOsFamily, 3);
  DetectOsFamily(FixedVersion({2, 5, 1}));
  EXPECT_EQ(currentOsFamily, 7);
  DetectOsFamily(FixedVersion({2, 5, 2}));  // Server 2003: unrecognised, tuned as 9x
  EXPECT_EQ(currentOsFamily, 1);
  EXPECT_TRUE(Is9xFamily(currentOsFamily));
  DetectOsFamily(FixedVersion({}));  // GetVersionExA failed: zero-filled record
  EXPECT_EQ(currentOsFamily, 1);
  currentOsFamily = saved;
}

TEST(OsVersion, IsNtPlatformAsksThePlatformOnly) {
  EXPECT_TRUE(IsNtPlatform(FixedVersion({2, 10, 0})));
  EXPECT_TRUE(IsNtPlatform(FixedVersion({2, 5, 2})));
  EXPECT_FALSE(IsNtPlatform(FixedVersion({1, 4, 10})));
  EXPECT_FALSE(IsNtPlatform(FixedVersion({})));
}

TEST(OsVersion, FamilyRanges) {
  EXPECT_FALSE(Is9xFamily(0));
  EXPECT_FALSE(IsNtFamily(0));
  for (OsFamily f = 1; f <= 4; ++f) EXPECT_TRUE(Is9xFamily(f) && !IsNtFamily(f));
  for (OsFamily f = 5; f <= 7; ++f) EXPECT_TRUE(IsNtFamily(f) && !Is9xFamily(f));
  EXPECT_FALSE(Is9xFamily(8) || IsNtFamily(8));
}

}  // namespace
}  // namespace corvane
