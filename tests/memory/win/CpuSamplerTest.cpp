// The processor samplers against the real services under Wine: the native
// system-information service, and the dynamic statistics keys under
// HKEY_DYN_DATA (which Wine keeps in memory for the life of the wineserver,
// so values planted here are there for the sampler in the same run).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "memory/win32/Win32MemoryServices.h"
#include "platform/win32/Win32Registry.h"

namespace corvane::testing {
namespace {

bool Is9xVersion() { return (::GetVersion() & 0x80000000u) != 0; }

TEST(NtSamplerUnderWindows, FindsTheServiceInNtdll) {
  win32::Win32NtSystemInformation information;
  ASSERT_TRUE(information.Available());
  std::uint8_t basic[44] = {};
  ASSERT_EQ(information.Query(0, basic, sizeof basic), 0);
  EXPECT_GE(basic[40], 1) << "at least one processor";
  std::uint8_t performance[312] = {};
  EXPECT_EQ(information.Query(2, performance, sizeof performance), 0);
  std::uint8_t timeOfDay[32] = {};
  EXPECT_EQ(information.Query(3, timeOfDay, sizeof timeOfDay), 0);
}

DWORD WINAPI Spin(LPVOID flag) {
  auto* running = static_cast<volatile LONG*>(flag);
  while (::InterlockedCompareExchange(const_cast<LONG*>(running), 0, 0) != 0) {
  }
  return 0;
}

// Keeps every processor busy for the life of the object.
class BusyProcessors {
 public:
  BusyProcessors() {
    SYSTEM_INFO info{};
    ::GetSystemInfo(&info);
    for (DWORD i = 0; i < std::max<DWORD>(1, info.dwNumberOfProcessors); ++i) {
      HANDLE thread = ::CreateThread(nullptr, 0, Spin, const_cast<LONG*>(&running_), 0, nullptr);
      if (thread != nullptr) threads_.push_back(thread);
    }
  }
  BusyProcessors(const BusyProcessors&) = delete;
  BusyProcessors& operator=(const BusyProcessors&) = delete;
  ~BusyProcessors() {
    ::InterlockedExchange(const_cast<LONG*>(&running_), 0);
    for (HANDLE thread : threads_) {
      ::WaitForSingleObject(thread, 5000);
      ::CloseHandle(thread);
    }
  }
  std::size_t count() const { return threads_.size(); }

 private:
  volatile LONG running_ = 1;
  std::vector<HANDLE> threads_;
};

// The machine is shared, so "idle" is the quietest of a few samples; with a
// spinning thread on every processor no idle time is left at all.
TEST(NtSamplerUnderWindows, ReadsHigherWhileTheProcessorsAreKeptBusy) {
  win32::Win32NtSystemInformation information;
  clsCPUUsageNT sampler(information);
  sampler.Initialize();
  ::Sleep(500);
  (void)sampler.Query();  // the first samples after Wine starts read high
  int idle = 101;
  for (int i = 0; i < 4; ++i) {
    ::Sleep(300);
    std::int32_t usage = sampler.Query();
    ASSERT_GE(usage, 0);
    ASSERT_LE(usage, 100);
    idle = std::min(idle, static_cast<int>(usage));
  }
  std::int32_t busy = -1;
  {
    BusyProcessors spinners;
    ASSERT_GE(spinners.count(), 1u);
    ::Sleep(200);
    (void)sampler.Query();
    ::Sleep(600);
    busy = sampler.Query();
  }
  ::testing::Test::RecordProperty("idle", idle);
  ::testing::Test::RecordProperty("busy", busy);
  EXPECT_GE(busy, 90) << "idle read " << idle;
  EXPECT_GE(busy, idle);
  if (idle < 60) {
    EXPECT_GE(busy - idle, 30);
  }
}

// --- 95/98/ME sampler over HKEY_DYN_DATA ---------------------------------------

constexpr RegHandle kDynData = RootHandle(RootKey::DynData);

bool KeyExists(IRegistry& registry, const char* path) {
  RegKey key;
  return OpenRegKey(registry, kDynData, path, reg::kKeyRead, key) == reg::kSuccess;
}

void Plant(IRegistry& registry, const char* path, std::uint32_t value) {
  RegKey key;
  ASSERT_EQ(CreateRegKey(registry, kDynData, path, reg::kKeyAllAccess, key), 0) << path;
  ASSERT_EQ(registry.SetValue(key.get(), "KERNEL\\CPUUsage", reg::kTypeBinary,
                              reinterpret_cast<const std::uint8_t*>(&value), 4),
            0);
}

TEST(Sampler9xUnderWindows, WithoutTheStatisticsKeysReadsZero) {
  win32::Win32Registry registry;
  ASSERT_FALSE(KeyExists(registry, "PerfStats\\StartStat")) << "Wine has no StartStat";
  clsCPUUsage sampler(registry);
  sampler.Initialize();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(sampler.Query(), 0);
  sampler.Terminate();
}

TEST(Sampler9xUnderWindows, ReadsPlantedStatisticsAsOn9x) {
  win32::Win32Registry registry;
  const bool hadStatData = KeyExists(registry, "PerfStats\\StatData");
  Plant(registry, "PerfStats\\StartStat", 0);
  Plant(registry, "PerfStats\\StatData", 37);
  Plant(registry, "PerfStats\\StopStat", 0);
  clsCPUUsage sampler(registry);
  sampler.Initialize();
  EXPECT_EQ(sampler.Query(), 37);
  Plant(registry, "PerfStats\\StatData", 81);
  EXPECT_EQ(sampler.Query(), 81);
  sampler.Terminate();

  // Leave HKEY_DYN_DATA as it was.
  (void)registry.DeleteKey(kDynData, "PerfStats\\StartStat");
  (void)registry.DeleteKey(kDynData, "PerfStats\\StopStat");
  if (hadStatData) {
    RegKey key;
    if (OpenRegKey(registry, kDynData, "PerfStats\\StatData", reg::kKeyAllAccess, key) == 0) {
      (void)registry.DeleteValue(key.get(), "KERNEL\\CPUUsage");
    }
  } else {
    (void)registry.DeleteKey(kDynData, "PerfStats\\StatData");
  }
  EXPECT_FALSE(KeyExists(registry, "PerfStats\\StartStat"));
}

TEST(SystemCpuUsage, PicksTheSamplerOfTheRunningFamily) {
  win32::SystemCpuUsage sampler;
  EXPECT_EQ(sampler.IsNtSampler(), !Is9xVersion());
  sampler.Initialize();
  ::Sleep(50);
  std::int32_t usage = sampler.Query();
  EXPECT_GE(usage, 0);
  EXPECT_LE(usage, 100);
  sampler.Terminate();
}

}  // namespace
}  // namespace corvane::testing
