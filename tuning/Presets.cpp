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
    TuningProfile& p = presetProfiles[i];
    p = TuningProfile{};
    p.mss = row.mss;
    p.mtu = row.mtu;
    p.receiveWindow = row.receiveWindow;
    p.defaultTtl = row.defaultTtl;
    p.keepAliveTime = row.keepAliveTime;
    p.maxConnPer10Server = row.perServer10;
    p.maxConnPer11Server = row.perServer11;
    // The same in every preset.
    p.keepAliveInterval = 1000;
    p.synAttackProtect = 2;
    p.ndiCacheSize = 0;
    p.pmtuDiscovery = kTrue;
    p.pmtuBlackHoleDetect = kFalse;
    p.icmpRedirects = kFalse;
  }
}

}  // namespace corvane
