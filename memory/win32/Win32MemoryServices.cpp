#include "memory/win32/Win32MemoryServices.h"

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
  return query_(infoClass, buffer, size, nullptr);
}

void Win32MemoryStatus::Read(MemoryStatus& status) {
  MEMORYSTATUS platform{};
  platform.dwLength = sizeof platform;
  static_assert(sizeof(MEMORYSTATUS) == sizeof(MemoryStatus));
  ::GlobalMemoryStatus(&platform);
  status.length = platform.dwLength;
  status.memoryLoad = platform.dwMemoryLoad;
  status.totalPhysical = static_cast<std::uint32_t>(platform.dwTotalPhys);
  status.availablePhysical = static_cast<std::uint32_t>(platform.dwAvailPhys);
  status.totalPageFile = static_cast<std::uint32_t>(platform.dwTotalPageFile);
  status.availablePageFile = static_cast<std::uint32_t>(platform.dwAvailPageFile);
  status.totalVirtual = static_cast<std::uint32_t>(platform.dwTotalVirtual);
  status.availableVirtual = static_cast<std::uint32_t>(platform.dwAvailVirtual);
}

void* VirtualBlockAllocator::Allocate(std::size_t bytes) {
  if (bytes == 0) return nullptr;
  return ::VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

void VirtualBlockAllocator::Release(void* block, std::size_t /*bytes*/) {
  if (block != nullptr) (void)::VirtualFree(block, 0, MEM_RELEASE);
}

SystemCpuUsage::SystemCpuUsage()
    : isNt_(IsNtPlatform(Win32OsVersion())),
      sampler_(CreateCpuUsageSampler(Win32OsVersion(), registry_, ntInformation_)) {}

}  // namespace corvane::win32
