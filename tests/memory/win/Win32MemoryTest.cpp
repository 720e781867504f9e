// GlobalMemoryStatus and VirtualAlloc under Wine. The blocks stay a few MiB:
// no test here claims a noticeable part of the machine's memory.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "memory/win32/Win32MemoryServices.h"
#include "tests/memory/MemoryStatusContract.h"
#include "tests/support/WineRoute.h"

namespace corvane::testing {
namespace {

constexpr std::int32_t kMiB = 1048576;

INSTANTIATE_TEST_SUITE_P(
    Win32, MemoryStatusContract,
    ::testing::Values(
        MemoryStatusEnvironment{"GlobalMemoryStatusEx", [] { return std::make_unique<win32::Win32MemoryStatus>(); },
                                QemuMemoryStatusFault},
        MemoryStatusEnvironment{"GlobalMemoryStatus", [] {
                                  return std::make_unique<win32::Win32MemoryStatus>(
                                      win32::Win32MemoryStatus::Api::Legacy);
                                },
                                QemuMemoryStatusFault}),
    MemoryStatusName);

// Where kernel32 has GlobalMemoryStatusEx (Wine's always has), the amounts
// are the machine's whole ones; the old call's stop at 2 GiB - 1. Both come
// from the same counters, so below that cap they agree.
TEST(MemoryStatusUnderWindows, TheExtendedCallReadsTheWholeMachine) {
  if (std::string fault = QemuMemoryStatusFault(); !fault.empty()) GTEST_SKIP() << fault;
  win32::Win32MemoryStatus extended;
  win32::Win32MemoryStatus legacy(win32::Win32MemoryStatus::Api::Legacy);
  ASSERT_TRUE(extended.Extended());
  EXPECT_FALSE(legacy.Extended());
  MemoryStatus whole, capped;
  extended.Read(whole);
  legacy.Read(capped);
  EXPECT_EQ(whole.length, kMemoryStatusExLength);
  EXPECT_EQ(capped.length, kMemoryStatusLength);
  EXPECT_LE(capped.totalPhysical, 0x7FFFFFFFu);
  if (whole.totalPhysical < 0x7FFFFFFFu) {
    EXPECT_EQ(whole.totalPhysical, capped.totalPhysical);
  } else {
    EXPECT_EQ(capped.totalPhysical, 0x7FFFFFFFu);
  }
  // The user address space stays the 32-bit program's.
  EXPECT_LE(whole.totalVirtual, 0x7FFFFFFFu);
  std::printf("[ memory   ] GlobalMemoryStatusEx: total %llu MiB, free %llu MiB; GlobalMemoryStatus: "
              "total %llu MiB\n",
              static_cast<unsigned long long>(whole.totalPhysical >> 20),
              static_cast<unsigned long long>(whole.availablePhysical >> 20),
              static_cast<unsigned long long>(capped.totalPhysical >> 20));
}

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
