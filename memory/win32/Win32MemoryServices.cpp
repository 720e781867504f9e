#include "memory/win32/Win32MemoryServices.h"

#include <algorithm>
#include <cstring>

namespace corvane::win32 {

namespace {
template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
  // Through void (*)(): the cast to the real type is meant.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}
}  // namespace

Win32NtSystemInformation::Win32NtSystemInformation() : ntdll_(::LoadLibraryA("ntdll.dll")) {
  if (ntdll_) query_ = Lookup<QueryFn>(ntdll_.get(), "NtQuerySystemInformation");
}

std::int32_t Win32NtSystemInformation::Query(std::uint32_t infoClass, std::uint8_t* buffer,
                                             std::uint32_t size) {
  if (query_ == nullptr) return kNotImplemented;
#ifdef _WIN64
  // The 64-bit build (used to run the Windows tests where 32-bit code cannot
  // run) answers with the 32-bit program's record of the basic class: three
  // pointer-sized fields in the middle are 64 bits wide there.
  if (infoClass == ntinfo::kBasicClass && size == ntinfo::kBasicSize) {
    std::uint8_t wide[64] = {};
    const std::int32_t status = query_(infoClass, wide, sizeof wide, nullptr);
    if (status != 0) return status;
    std::memcpy(buffer, wide, 28);                     // seven 32-bit fields
    for (std::size_t i = 0; i < 3; ++i) std::memcpy(buffer + 28 + 4 * i, wide + 32 + 8 * i, 4);
    buffer[ntinfo::kProcessorCountOffset] = wide[56];  // NumberOfProcessors
    return status;
  }
#endif
  return query_(infoClass, buffer, size, nullptr);
}

Win32MemoryStatus::Win32MemoryStatus(Api api) {
  if (api == Api::Legacy) return;
  // kernel32 is in every process for its whole life: no reference is kept.
  if (HMODULE kernel32 = ::GetModuleHandleA("kernel32.dll")) {
    extended_ = Lookup<ExtendedFn>(kernel32, "GlobalMemoryStatusEx");
  }
}

void Win32MemoryStatus::Read(MemoryStatus& status) {
  MEMORYSTATUSEX platform{};
  platform.dwLength = sizeof platform;
  if (extended_ == nullptr || !extended_(&platform)) {
    ReadLegacy(status);
    return;
  }
  static_assert(sizeof(MEMORYSTATUSEX) == kMemoryStatusExLength);
  status = MemoryStatus{platform.dwLength,       platform.dwMemoryLoad,     platform.ullTotalPhys,
                        platform.ullAvailPhys,    platform.ullTotalPageFile, platform.ullAvailPageFile,
                        platform.ullTotalVirtual, platform.ullAvailVirtual};
#ifdef _WIN64
  // The 64-bit build (used to run the Windows tests where 32-bit code cannot
  // run) answers with the address space the 32-bit program has: 2 GiB.
  constexpr std::uint64_t kUserSpace = 0x7FFFFFFF;
  status.totalVirtual = std::min(status.totalVirtual, kUserSpace);
  status.availableVirtual = std::min(status.availableVirtual, kUserSpace);
#endif
}

void Win32MemoryStatus::ReadLegacy(MemoryStatus& status) {
  MEMORYSTATUS platform{};
  platform.dwLength = sizeof platform;
#ifndef _WIN64
  static_assert(sizeof(MEMORYSTATUS) == kMemoryStatusLength);
#endif
  ::GlobalMemoryStatus(&platform);
#ifdef _WIN64
  // What the 32-bit program sees: its 32-byte record, each amount capped at
  // 2 GiB - 1 as for a program that is not large-address aware.
  constexpr SIZE_T kCap = 0x7FFFFFFF;
  platform.dwLength = kMemoryStatusLength;
  for (SIZE_T* amount : {&platform.dwTotalPhys, &platform.dwAvailPhys, &platform.dwTotalPageFile,
                         &platform.dwAvailPageFile, &platform.dwTotalVirtual,
                         &platform.dwAvailVirtual}) {
    if (*amount > kCap) *amount = kCap;
  }
#endif
  status = MemoryStatus{platform.dwLength,      platform.dwMemoryLoad,    platform.dwTotalPhys,
                        platform.dwAvailPhys,    platform.dwTotalPageFile, platform.dwAvailPageFile,
                        platform.dwTotalVirtual, platform.dwAvailVirtual};
}

void* VirtualBlockAllocator::Allocate(std::size_t bytes) {
  if (bytes == 0) return nullptr;
  return ::VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

void VirtualBlockAllocator::Release(void* block, std::size_t bytes) {
  if (block == nullptr) return;
  // Handing a gigabyte back in one call stalls every thread of the process
  // (the user-interface thread included) for a tenth of a second while the
  // pages go; in pieces, no stall is longer than a piece's.
  constexpr std::size_t kPiece = 16u << 20;
  auto* at = static_cast<char*>(block);
  for (std::size_t done = 0; done < bytes; done += kPiece) {
    (void)::VirtualFree(at + done, std::min(kPiece, bytes - done), MEM_DECOMMIT);
  }
  (void)::VirtualFree(block, 0, MEM_RELEASE);
}

SystemCpuUsage::SystemCpuUsage()
    : isNt_(IsNtPlatform(Win32OsVersion())),
      sampler_(CreateCpuUsageSampler(Win32OsVersion(), registry_, ntInformation_)) {}

}  // namespace corvane::win32
