// GlobalMemoryStatus and VirtualAlloc under Wine. The blocks stay a few MiB:
// no test here claims a noticeable part of the machine's memory.
#include <windows.h>

#include <gtest/gtest.h>

#include "memory/win32/Win32MemoryServices.h"
#include "tests/memory/MemoryStatusContract.h"
#include "tests/support/WineRoute.h"

namespace corvane::testing {
namespace {

constexpr std::int32_t kMiB = 1048576;

INSTANTIATE_TEST_SUITE_P(Win32, MemoryStatusContract,
                         ::testing::Values(MemoryStatusEnvironment{
                             "GlobalMemoryStatus",
                             [] { return std::make_unique<win32::Win32MemoryStatus>(); },
                             QemuMemoryStatusFault}),
                         MemoryStatusName);

// VirtualAlloc with a count of the blocks handed out, and refusals on demand.
class CountingVirtualAllocator : public IBlockAllocator {
 public:
  void* Allocate(std::size_t bytes) override {
    if (refusals > 0) {
      --refusals;
      return nullptr;
    }
    void* block = real.Allocate(bytes);
    if (block != nullptr) {
      ++outstanding;
      lastBytes = bytes;
      // Committed and written whole: the last character is a blank.
      lastBlock = block;
    }
    return block;
  }
  void Release(void* block, std::size_t bytes) override {
    const auto* chars = static_cast<const char16_t*>(block);
    if (chars[0] != u' ' || chars[bytes / 2 - 1] != u' ') ++unwritten;
    real.Release(block, bytes);
    --outstanding;
    // The address range is free again: the pages are gone, not just decommitted.
    MEMORY_BASIC_INFORMATION info{};
    if (::VirtualQuery(block, &info, sizeof info) == sizeof info && info.State != MEM_FREE) {
      ++notFreed;
    }
  }
  win32::VirtualBlockAllocator real;
  int refusals = 0;
  int outstanding = 0;
  int unwritten = 0;
  int notFreed = 0;
  std::size_t lastBytes = 0;
  void* lastBlock = nullptr;
};

TEST(FreeUpMemoryUnderWindows, ClaimsWritesAndReleasesAFewMiB) {
  win32::Win32MemoryStatus status;
  CountingVirtualAllocator allocator;
  FreeRAM ram(status, allocator);
  EXPECT_EQ(ram.FreeUpMemory(4 * kMiB), 4 * kMiB);
  EXPECT_EQ(allocator.lastBytes, 8u * kMiB);
  allocator.refusals = 1;
  EXPECT_EQ(ram.FreeUpMemory(4 * kMiB), 2 * kMiB);
  EXPECT_EQ(allocator.lastBytes, 4u * kMiB);
  allocator.refusals = 2;
  EXPECT_EQ(ram.FreeUpMemory(4 * kMiB), 0);
  EXPECT_EQ(ram.FreeUpMemory(0), 0);
  EXPECT_EQ(allocator.outstanding, 0);
  EXPECT_EQ(allocator.unwritten, 0);
  EXPECT_EQ(allocator.notFreed, 0);
}

TEST(FreeUpMemoryUnderWindows, PumpingYieldStepIsHarmless) {
  win32::Win32MemoryStatus status;
  win32::VirtualBlockAllocator allocator;
  int yields = 0;
  FreeRAM ram(status, allocator, [&] {
    ++yields;
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
  });
  EXPECT_EQ(ram.FreeUpMemory(kMiB), kMiB);
  EXPECT_EQ(yields, 10);
}

}  // namespace
}  // namespace corvane::testing
