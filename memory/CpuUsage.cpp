#include "memory/CpuUsage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace corvane {

namespace {

constexpr RegHandle kDynData = RootHandle(RootKey::DynData);
constexpr char kCounterValue[] = "KERNEL\\CPUUsage";

std::int64_t Read64(const std::uint8_t* bytes) {
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = value << 8 | bytes[i];
  return static_cast<std::int64_t>(value);
}

// One query into a cleared buffer of the class's size.
template <std::size_t Size>
bool QueryClass(INtSystemInformation& source, std::uint32_t infoClass,
                std::array<std::uint8_t, Size>& buffer) {
  buffer.fill(0);
  return source.Query(infoClass, buffer.data(), static_cast<std::uint32_t>(Size)) == 0;
}

}  // namespace

void clsCPUUsage::Initialize() {
  RegKey start;
  if (OpenRegKey(registry_, kDynData, "PerfStats\\StartStat", reg::kKeyAllAccess, start) !=
      reg::kSuccess) {
    return;  // no statistics here: queries keep answering the last value
  }
  // Reading the value from StartStat is what starts the kernel's counter;
  // the data itself means nothing.
  std::uint8_t ignored[4] = {};
  std::uint32_t type = 0;
  std::uint32_t size = sizeof ignored;
  (void)registry_.QueryValue(start.get(), kCounterValue, &type, ignored, &size);
  start.reset();
  (void)OpenRegKey(registry_, kDynData, "PerfStats\\StatData", reg::kKeyRead, statData_);
}

std::int32_t clsCPUUsage::Query() {
  if (statData_) {
    std::uint8_t buffer[4];
    std::memcpy(buffer, &value_, sizeof buffer);
    std::uint32_t type = 0;
    std::uint32_t size = sizeof buffer;
    if (registry_.QueryValue(statData_.get(), kCounterValue, &type, buffer, &size) ==
        reg::kSuccess) {
      std::memcpy(&value_, buffer, sizeof buffer);
    }
  }
  return static_cast<std::int32_t>(value_);
}

void clsCPUUsage::Terminate() {
  statData_.reset();
  RegKey stop;
  if (OpenRegKey(registry_, kDynData, "PerfStats\\StopStat", reg::kKeyAllAccess, stop) ==
      reg::kSuccess) {
    // Reading the value from StopStat stops the counter.
    std::uint8_t ignored[4] = {};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof ignored;
    (void)registry_.QueryValue(stop.get(), kCounterValue, &type, ignored, &size);
  }
}

std::int32_t NtUsagePercent(std::int64_t idleDifference, std::int64_t timeDifference,
                            unsigned processors) {
  if (processors == 0) processors = 1;  // a platform that reports none still has one
  // The idle share as a fixed-point number with four decimals (ten-thousandths).
  double share = static_cast<double>(idleDifference) / static_cast<double>(timeDifference);
  double shareTenThousandths = std::nearbyint(std::clamp(share, -1e9, 1e9) * 10000.0);
  const auto fixedShare = static_cast<std::int64_t>(shareTenThousandths);
  // floor(100 - 100 * share / n + 0.5), exactly, in ten-thousandths of a percent.
  const std::int64_t n = processors;
  const std::int64_t numerator = 1005000 * n - 100 * fixedShare;
  const std::int64_t denominator = 10000 * n;
  std::int64_t usage = numerator / denominator;
  if (numerator % denominator != 0 && numerator < 0) --usage;  // floor, not truncation
  // Idle time and the clock come from different counters; a skew between
  // them must not read as a usage outside 0..100 (and never as -1, failure).
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(usage, 0, 100));
}

void clsCPUUsageNT::Initialize() {
  std::array<std::uint8_t, ntinfo::kTimeOfDaySize> timeOfDay;
  std::array<std::uint8_t, ntinfo::kPerformanceSize> performance;
  if (!QueryClass(source_, ntinfo::kTimeOfDayClass, timeOfDay)) return;
  if (!QueryClass(source_, ntinfo::kPerformanceClass, performance)) return;
  previousIdleTime_ = Read64(performance.data() + ntinfo::kIdleTimeOffset);
  previousSystemTime_ = Read64(timeOfDay.data() + ntinfo::kCurrentTimeOffset);
}

std::int32_t clsCPUUsageNT::Query() {
  std::array<std::uint8_t, ntinfo::kBasicSize> basic;
  std::array<std::uint8_t, ntinfo::kTimeOfDaySize> timeOfDay;
  std::array<std::uint8_t, ntinfo::kPerformanceSize> performance;
  if (!QueryClass(source_, ntinfo::kBasicClass, basic) ||
      !QueryClass(source_, ntinfo::kTimeOfDayClass, timeOfDay) ||
      !QueryClass(source_, ntinfo::kPerformanceClass, performance)) {
    return -1;  // the previous sample stays, so the next query measures from it
  }
  const std::int64_t idleTime = Read64(performance.data() + ntinfo::kIdleTimeOffset);
  const std::int64_t systemTime = Read64(timeOfDay.data() + ntinfo::kCurrentTimeOffset);
  // Differences in wrapping arithmetic: the counters are never near the
  // limit, but a platform's garbage must not be undefined behaviour.
  const auto idleDifference = static_cast<std::int64_t>(static_cast<std::uint64_t>(idleTime) -
                                                        static_cast<std::uint64_t>(previousIdleTime_));
  const auto timeDifference = static_cast<std::int64_t>(static_cast<std::uint64_t>(systemTime) -
                                                        static_cast<std::uint64_t>(previousSystemTime_));
  // Two samples within one tick of the clock: no interval to divide by, so
  // the last usage stands.
  if (timeDifference != 0) {
    lastUsage_ = NtUsagePercent(idleDifference, timeDifference,
                                basic[ntinfo::kProcessorCountOffset]);
  }
  previousIdleTime_ = idleTime;
  previousSystemTime_ = systemTime;
  return lastUsage_;
}

std::unique_ptr<ICpuUsageSampler> CreateCpuUsageSampler(const IOsVersionSource& os,
                                                        IRegistry& registry,
                                                        INtSystemInformation& ntInformation) {
  if (IsNtPlatform(os)) return std::make_unique<clsCPUUsageNT>(ntInformation);
  return std::make_unique<clsCPUUsage>(registry);
}

}  // namespace corvane
