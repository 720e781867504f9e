// The memory and processor services on Windows: NtQuerySystemInformation
// found at run time in ntdll (95/98/ME have no such export), the memory
// status (GlobalMemoryStatusEx where kernel32 has it, else GlobalMemoryStatus),
// VirtualAlloc for FreeUpMemory's block, and the processor sampler of the
// running family with the sources it needs.
#pragma once

#include <windows.h>

#include <memory>

#include "memory/CpuUsage.h"
#include "memory/FreeRAM.h"
#include "platform/win32/Handle.h"
#include "platform/win32/Win32OsVersion.h"
#include "platform/win32/Win32Registry.h"

namespace corvane::win32 {

class Win32NtSystemInformation final : public INtSystemInformation {
 public:
  // STATUS_NOT_IMPLEMENTED, the answer where ntdll lacks the function.
  static constexpr std::int32_t kNotImplemented = static_cast<std::int32_t>(0xC0000002u);

  Win32NtSystemInformation();
  bool Available() const { return query_ != nullptr; }
  std::int32_t Query(std::uint32_t infoClass, std::uint8_t* buffer, std::uint32_t size) override;

 private:
  using QueryFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  UniqueHmodule ntdll_;
  QueryFn query_ = nullptr;
};

// GlobalMemoryStatusEx, found at run time in kernel32 (Windows 2000 and
// later: the whole amounts of any machine); GlobalMemoryStatus where it is
// missing (95/98/ME, NT 4.0), or when asked for (Api::Legacy), whose amounts
// stop at 2 GiB for a program that is not large-address aware.
class Win32MemoryStatus final : public IMemoryStatusSource {
 public:
  enum class Api { Best, Legacy };
  explicit Win32MemoryStatus(Api api = Api::Best);
  // Whether Read uses GlobalMemoryStatusEx.
  bool Extended() const { return extended_ != nullptr; }
  void Read(MemoryStatus& status) override;

 private:
  using ExtendedFn = BOOL(WINAPI*)(LPMEMORYSTATUSEX);
  void ReadLegacy(MemoryStatus& status);
  ExtendedFn extended_ = nullptr;
};

// Commits the block with VirtualAlloc (zero-filled pages that become real
// only when written) and releases it with VirtualFree.
class VirtualBlockAllocator final : public IBlockAllocator {
 public:
  void* Allocate(std::size_t bytes) override;
  void Release(void* block, std::size_t bytes) override;
};

// The one sampler of the running family (chosen by IsNtPlatform), together
// with the registry and the system-information source it reads.
class SystemCpuUsage final : public ICpuUsageSampler {
 public:
  SystemCpuUsage();
  void Initialize() override { sampler_->Initialize(); }
  std::int32_t Query() override { return sampler_->Query(); }
  void Terminate() override { sampler_->Terminate(); }
  bool IsNtSampler() const { return isNt_; }

 private:
  Win32Registry registry_;
  Win32NtSystemInformation ntInformation_;
  bool isNt_;
  std::unique_ptr<ICpuUsageSampler> sampler_;
};

}  // namespace corvane::win32
