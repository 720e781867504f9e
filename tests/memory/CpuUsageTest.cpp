#include "memory/CpuUsage.h"

#include <gtest/gtest.h>

#include "tests/memory/FakeMemoryServices.h"
#include "tests/support/MemoryRegistry.h"

namespace corvane::testing {
namespace {

constexpr std::int64_t kSecond = 10'000'000;  // in 100-ns units

class NtSamplerTest : public ::testing::Test {
 protected:
  void SetUp() override { sampler.Initialize(); }
  FakeNtInformation source;
  clsCPUUsageNT sampler{source};
};

TEST_F(NtSamplerTest, IdleSingleProcessorReadsZero) {
  source.Advance(kSecond, kSecond);
  EXPECT_EQ(sampler.Query(), 0);
}

TEST_F(NtSamplerTest, BusySingleProcessorReadsHundred) {
  source.Advance(kSecond, 0);
  EXPECT_EQ(sampler.Query(), 100);
}

TEST_F(NtSamplerTest, OneOfTwoProcessorsBusyReadsFifty) {
  source.processors = 2;
  source.Advance(kSecond, kSecond);  // idle time of both together: one second
  EXPECT_EQ(sampler.Query(), 50);
  source.Advance(kSecond, 2 * kSecond);
  EXPECT_EQ(sampler.Query(), 0);
}

TEST_F(NtSamplerTest, BusyShareIsRoundedHalfUp) {
  source.Advance(kSecond, kSecond * 3 / 8);  // idle 0.375: busy 62.5
  EXPECT_EQ(sampler.Query(), 63);
  source.Advance(kSecond, kSecond * 3 / 4);  // idle 0.75: busy 25
  EXPECT_EQ(sampler.Query(), 25);
}

// The idle share counts with four decimals: 0.00504 becomes 0.0050, and the
// busy share 99.5 then rounds up to 100 where the unrounded 99.496 would not.
TEST_F(NtSamplerTest, IdleShareIsRoundedToFourDecimals) {
  source.Advance(100'000, 504);
  EXPECT_EQ(sampler.Query(), 100);
  source.Advance(100'000, 506);  // 0.0051: 99.49 rounds to 99
  EXPECT_EQ(sampler.Query(), 99);
}

TEST_F(NtSamplerTest, FailedQueryReadsMinusOneAndKeepsThePreviousSample) {
  for (std::uint32_t failing : {ntinfo::kBasicClass, ntinfo::kTimeOfDayClass,
                                ntinfo::kPerformanceClass}) {
    source.failing = {failing};
    source.Advance(kSecond, kSecond);  // an idle second the failed query does not count
    EXPECT_EQ(sampler.Query(), -1);
  }
  source.failing.clear();
  source.Advance(2 * kSecond, 0);  // then two busy seconds
  // Measured from the last good sample: 5 s elapsed, 3 s of them idle.
  EXPECT_EQ(sampler.Query(), 40);
}

TEST_F(NtSamplerTest, NoTimeElapsedSkipsTheDivision) {
  source.Advance(kSecond, kSecond / 4);
  ASSERT_EQ(sampler.Query(), 75);
  source.Advance(0, 0);
  EXPECT_EQ(sampler.Query(), 75) << "the last usage stands";
  source.Advance(0, 1000);
  std::int32_t usage = sampler.Query();
  EXPECT_GE(usage, 0);
  EXPECT_LE(usage, 100);
}

TEST_F(NtSamplerTest, ClocksThatDisagreeStayWithinRange) {
  source.Advance(kSecond, 3 * kSecond);  // more idle than one processor can have
  EXPECT_EQ(sampler.Query(), 0);
  source.Advance(-kSecond, 0);  // the clock set back
  EXPECT_EQ(sampler.Query(), 100);
  source.processors = 0;  // a record without a processor count
  source.Advance(kSecond, kSecond / 2);
  EXPECT_EQ(sampler.Query(), 50);
}

TEST_F(NtSamplerTest, AsksTheThreeClassesWithClearedBuffersOfTheirSizes) {
  source.calls.clear();
  (void)sampler.Query();
  ASSERT_EQ(source.calls.size(), 3u);
  EXPECT_EQ(source.calls[0].infoClass, 0u);
  EXPECT_EQ(source.calls[0].size, 44u);
  EXPECT_EQ(source.calls[1].infoClass, 3u);
  EXPECT_EQ(source.calls[1].size, 32u);
  EXPECT_EQ(source.calls[2].infoClass, 2u);
  EXPECT_EQ(source.calls[2].size, 312u);
  EXPECT_EQ(source.unclearedBuffers, 0);
}

TEST(NtSampler, InitializeThatFailsLeavesTheFirstIntervalFromZero) {
  FakeNtInformation source;
  source.failing = {ntinfo::kPerformanceClass};
  clsCPUUsageNT sampler(source);
  sampler.Initialize();
  source.failing.clear();
  // Measured from time 0: the whole idle time over the whole clock, so busy.
  EXPECT_EQ(sampler.Query(), 100);
  source.Advance(kSecond, kSecond);
  EXPECT_EQ(sampler.Query(), 0) << "later queries measure normally";
}

// --- 95/98/ME --------------------------------------------------------------

// The 95/98/ME sampler over the in-memory registry of that family, where a
// test plants the kernel's statistics keys.
class Sampler9x : public ::testing::Test {
 protected:
  void PlantCounter(const char* key, std::uint32_t value) {
    RegKey handle;
    ASSERT_EQ(CreateRegKey(registry, RootHandle(RootKey::DynData), key, reg::kKeyAllAccess, handle),
              0);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
    ASSERT_EQ(registry.SetValue(handle.get(), "KERNEL\\CPUUsage", reg::kTypeBinary, bytes, 4), 0);
  }

  // The statistics started and the kernel's counter at that usage.
  void PlantStartedCounter(std::uint32_t usage) {
    PlantCounter("PerfStats\\StartStat", 0);
    PlantCounter("PerfStats\\StatData", usage);
  }

  MemoryRegistry registry{RegistryFlavor::Win9x};
  clsCPUUsage sampler{registry};
};

TEST_F(Sampler9x, WithoutTheStatisticsKeysReadsZeroAndNeverFails) {
  EXPECT_EQ(sampler.Query(), 0) << "before Initialize";
  sampler.Initialize();
  EXPECT_EQ(sampler.Query(), 0);
  EXPECT_EQ(sampler.Query(), 0);
  sampler.Terminate();
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(Sampler9x, ReadsTheKernelCounterWhileStarted) {
  PlantStartedCounter(37);
  PlantCounter("PerfStats\\StopStat", 0);
  sampler.Initialize();
  EXPECT_EQ(registry.OpenHandleCount(), 1u) << "StatData stays open, StartStat is closed";
  EXPECT_EQ(sampler.Query(), 37);
  PlantCounter("PerfStats\\StatData", 81);
  EXPECT_EQ(sampler.Query(), 81);
  sampler.Terminate();
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(Sampler9x, UnreadableCounterKeepsTheLastValue) {
  PlantStartedCounter(12);
  sampler.Initialize();
  ASSERT_EQ(sampler.Query(), 12);
  {
    RegKey key;
    ASSERT_EQ(OpenRegKey(registry, RootHandle(RootKey::DynData), "PerfStats\\StatData",
                         reg::kKeyAllAccess, key),
              0);
    ASSERT_EQ(registry.DeleteValue(key.get(), "KERNEL\\CPUUsage"), 0);
  }
  EXPECT_EQ(sampler.Query(), 12);
  sampler.Terminate();
}

TEST_F(Sampler9x, WithoutStartStatReadsFromNoKey) {
  PlantCounter("PerfStats\\StatData", 55);  // no StartStat: the counter never starts
  sampler.Initialize();
  EXPECT_EQ(sampler.Query(), 0);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

// --- Choice by platform -------------------------------------------------------

struct FixedVersion : IOsVersionSource {
  explicit FixedVersion(std::uint32_t platform) : platformId(platform) {}
  OsVersionInfo GetVersion() const override { return {platformId, 5, 1}; }
  std::uint32_t platformId;
};

TEST(CpuUsageSampler, IsChosenByPlatform) {
  MemoryRegistry registry;
  FakeNtInformation nt;
  auto onNt = CreateCpuUsageSampler(FixedVersion(2), registry, nt);
  auto on9x = CreateCpuUsageSampler(FixedVersion(1), registry, nt);
  auto onFailed = CreateCpuUsageSampler(FixedVersion(0), registry, nt);
  EXPECT_NE(dynamic_cast<clsCPUUsageNT*>(onNt.get()), nullptr);
  EXPECT_NE(dynamic_cast<clsCPUUsage*>(on9x.get()), nullptr);
  EXPECT_NE(dynamic_cast<clsCPUUsage*>(onFailed.get()), nullptr);
}

}  // namespace
}  // namespace corvane::testing
