#include <gtest/gtest.h>

#include "tuning/Presets.h"

namespace corvane {
namespace {

TEST(Presets, TheEightProfilesInOptionOrder) {
  FillPresetProfiles();
  struct Row {
    std::int32_t mss, mtu, rwin, ttl, keepAlive, c10, c11;
  };
  const Row rows[] = {{536, 576, 4288, 128, 600000, 16, 8},
                      {536, 576, -1, 128, 600000, 16, 8},
                      {-1, -1, -1, 128, 600000, 16, 8},
                      {536, 576, 5432, 64, 7200000, 20, 20},
                      {1460, 1500, 256960, 64, 7200000, 20, 20},
                      {1452, 1492, 255552, 64, 7200000, 20, 20},
                      {1460, 1500, 256960, 32, 6400000, 20, 20},
                      {1500, 1500, 8192, 32, 3600000, 2, 4}};
  for (std::size_t i = 0; i < kPresetCount; ++i) {
    const TuningProfile& p = presetProfiles[i];
    SCOPED_TRACE(std::string(kPresetCaptions[i]));
    EXPECT_EQ(p.mss, rows[i].mss);
    EXPECT_EQ(p.mtu, rows[i].mtu);
    EXPECT_EQ(p.receiveWindow, rows[i].rwin);
    EXPECT_EQ(p.defaultTtl, rows[i].ttl);
    EXPECT_EQ(p.keepAliveTime, rows[i].keepAlive);
    EXPECT_EQ(p.maxConnPer10Server, rows[i].c10);
    EXPECT_EQ(p.maxConnPer11Server, rows[i].c11);
    EXPECT_EQ(p.keepAliveInterval, 1000);
    EXPECT_EQ(p.synAttackProtect, 2);
    EXPECT_EQ(p.ndiCacheSize, 0);
    EXPECT_EQ(p.pmtuDiscovery, kTrue);
    EXPECT_EQ(p.pmtuBlackHoleDetect, kFalse);
    EXPECT_EQ(p.icmpRedirects, kFalse);
  }
  EXPECT_EQ(kPresetCaptions[0], "Automatic-A");
  EXPECT_EQ(kPresetCaptions[2], "Automatic-C");
  EXPECT_EQ(kPresetCaptions[7], "Windows default");
  // Filling again gives the same records.
  auto first = presetProfiles;
  FillPresetProfiles();
  EXPECT_EQ(presetProfiles, first);
}

}  // namespace
}  // namespace corvane
