#include "tuning/Presets.h"

namespace corvane {

namespace {

// mss, mtu, receiveWindow, defaultTtl, keepAliveTime, maxConnPer10Server,
// maxConnPer11Server; -1 in mtu or receiveWindow is USE_DEFAULT.
struct PresetRow {
  std::int32_t mss, mtu, receiveWindow, defaultTtl, keepAliveTime, perServer10, perServer11;
};

constexpr std::array<PresetRow, kPresetCount> kRows{{
    {536, 576, 4288, 128, 600000, 16, 8},
    {536, 576, USE_DEFAULT, 128, 600000, 16, 8},
    {-1, USE_DEFAULT, USE_DEFAULT, 128, 600000, 16, 8},
    {536, 576, 5432, 64, 7200000, 20, 20},
    {1460, 1500, 256960, 64, 7200000, 20, 20},
    {1452, 1492, 255552, 64, 7200000, 20, 20},
    {1460, 1500, 256960, 32, 6400000, 20, 20},
    {1500, 1500, 8192, 32, 3600000, 2, 4},
}};

}  // namespace

void FillPresetProfiles() {
  for (std::size_t i = 0; i < kPresetCount; ++i) {
    const PresetRow& row = kRows[i];
    presetProfiles[i] = TuningProfile{
        .mss = row.mss, .mtu = row.mtu, .receiveWindow = row.receiveWindow,
        .defaultTtl = row.defaultTtl, .keepAliveTime = row.keepAliveTime,
        // keepAliveInterval to ndiCacheSize, the path MTU pair and the ICMP
        // redirects are the same in every preset.
        .keepAliveInterval = 1000, .synAttackProtect = 2, .ndiCacheSize = 0,
        .pmtuDiscovery = kTrue, .pmtuBlackHoleDetect = kFalse,
        .maxConnPer10Server = row.perServer10, .maxConnPer11Server = row.perServer11,
        .icmpRedirects = kFalse};
  }
}

}  // namespace corvane
