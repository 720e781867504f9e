// Processor usage in percent, measured one way on each Windows family behind
// one interface, so that the status window and the memory alarm hold a
// sampler without knowing which family it serves:
//  - clsCPUUsage (95/98/ME) reads the kernel's own usage counter from the
//    dynamic statistics keys under HKEY_DYN_DATA;
//  - clsCPUUsageNT (NT/2000/XP) computes usage from the idle time and the
//    clock that the native system-information service reports.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/OsVersion.h"
#include "platform/Registry.h"

namespace corvane {

class ICpuUsageSampler {
 public:
  virtual ~ICpuUsageSampler() = default;
  virtual void Initialize() = 0;
  // Usage in percent; the NT sampler gives -1 when the platform would not say.
  virtual std::int32_t Query() = 0;
  virtual void Terminate() = 0;
};

// NtQuerySystemInformation without a returned-length pointer: fills the
// buffer and returns the NTSTATUS (0 is success).
class INtSystemInformation {
 public:
  virtual ~INtSystemInformation() = default;
  virtual std::int32_t Query(std::uint32_t infoClass, std::uint8_t* buffer,
                             std::uint32_t size) = 0;
};

namespace ntinfo {
// The information classes, their buffer sizes in a 32-bit program, and the
// offsets of the fields used.
inline constexpr std::uint32_t kBasicClass = 0;        // SystemBasicInformation
inline constexpr std::uint32_t kBasicSize = 44;
inline constexpr std::uint32_t kProcessorCountOffset = 40;  // 8-bit count
inline constexpr std::uint32_t kPerformanceClass = 2;  // SystemPerformanceInformation
inline constexpr std::uint32_t kPerformanceSize = 312;
inline constexpr std::uint32_t kIdleTimeOffset = 0;    // 64-bit, 100-ns units, all processors
inline constexpr std::uint32_t kTimeOfDayClass = 3;    // SystemTimeOfDayInformation
inline constexpr std::uint32_t kTimeOfDaySize = 32;
inline constexpr std::uint32_t kCurrentTimeOffset = 8;  // 64-bit, 100-ns units
}  // namespace ntinfo

// The 95/98/ME sampler. Holds "PerfStats\StatData" open from Initialize to
// Terminate; a counter it cannot read leaves the last value read (0 at first).
class clsCPUUsage final : public ICpuUsageSampler {
 public:
  explicit clsCPUUsage(IRegistry& registry) : registry_(registry) {}
  void Initialize() override;
  std::int32_t Query() override;
  void Terminate() override;

 private:
  IRegistry& registry_;
  RegKey statData_;
  std::uint32_t value_ = 0;  // the last value read
};

// The NT sampler: the busy share of the time since the previous good sample.
class clsCPUUsageNT final : public ICpuUsageSampler {
 public:
  explicit clsCPUUsageNT(INtSystemInformation& source) : source_(source) {}
  void Initialize() override;
  std::int32_t Query() override;
  void Terminate() override {}

 private:
  INtSystemInformation& source_;
  std::int64_t previousIdleTime_ = 0;
  std::int64_t previousSystemTime_ = 0;
  // What a query answers when no time has passed since the previous sample.
  std::int32_t lastUsage_ = 0;
};

// The busy percentage from one interval: the idle share (idle time over
// elapsed time, rounded to four decimals) divided among the processors and
// rounded half up; kept within 0..100 when the two clocks disagree.
std::int32_t NtUsagePercent(std::int64_t idleDifference, std::int64_t timeDifference,
                            unsigned processors);

// The sampler for the running family: clsCPUUsageNT on the NT platform,
// clsCPUUsage otherwise. The sources must outlive the sampler.
std::unique_ptr<ICpuUsageSampler> CreateCpuUsageSampler(const IOsVersionSource& os,
                                                        IRegistry& registry,
                                                        INtSystemInformation& ntInformation);

}  // namespace corvane
