#include "memory/FreeRAM.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "tests/memory/FakeMemoryServices.h"

namespace corvane::testing {
namespace {

constexpr std::int32_t kMiB = 1048576;

class FreeUpMemoryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_TRUE(allocator.outstanding.empty()) << "a block outlived the call";
    EXPECT_EQ(allocator.badReleases, 0);
    EXPECT_EQ(allocator.unwrittenBlocks, 0) << "a block was not written whole";
  }
  FixedMemoryStatus status;
  CheckingAllocator allocator;
  std::vector<std::string> events;
  FreeRAM ram{status, allocator, [this] { events.emplace_back("yield"); }};
};

TEST_F(FreeUpMemoryTest, ClaimsTwiceTheAmountInBytesWritesItAndGivesItBack) {
  EXPECT_EQ(ram.FreeUpMemory(4 * kMiB), 4 * kMiB);
  EXPECT_EQ(allocator.requests, std::vector<std::size_t>{8u * kMiB});
  EXPECT_EQ(allocator.released, std::vector<std::size_t>{8u * kMiB});
}

TEST_F(FreeUpMemoryTest, FullBlockRefusedClaimsHalfOnce) {
  allocator.failuresLeft = 1;
  EXPECT_EQ(ram.FreeUpMemory(4 * kMiB), 2 * kMiB);
  EXPECT_EQ(allocator.requests, (std::vector<std::size_t>{8u * kMiB, 4u * kMiB}));
  EXPECT_EQ(allocator.released, std::vector<std::size_t>{4u * kMiB});
}

TEST_F(FreeUpMemoryTest, BothRefusedGivesZeroAndNoBlock) {
  allocator.failuresLeft = 2;
  EXPECT_EQ(ram.FreeUpMemory(4 * kMiB), 0);
  EXPECT_EQ(allocator.requests.size(), 2u) << "no further halving";
  EXPECT_TRUE(allocator.released.empty());
}

TEST_F(FreeUpMemoryTest, HalfOfAnOddAmountIsRounded) {
  allocator.failuresLeft = 1;
  EXPECT_EQ(ram.FreeUpMemory(3), 2);
  EXPECT_EQ(allocator.requests.back(), 4u);
}

TEST_F(FreeUpMemoryTest, NothingOfNoteForZeroOrLess) {
  EXPECT_EQ(ram.FreeUpMemory(0), 0);
  EXPECT_EQ(ram.FreeUpMemory(-kMiB), 0);
  EXPECT_TRUE(allocator.requests.empty());
}

TEST_F(FreeUpMemoryTest, YieldsBeforeClaimingAndBeforeReleasing) {
  struct Logging : CheckingAllocator {
    std::vector<std::string>* log = nullptr;
    void* Allocate(std::size_t bytes) override {
      log->emplace_back("allocate");
      return CheckingAllocator::Allocate(bytes);
    }
    void Release(void* block, std::size_t bytes) override {
      log->emplace_back("release");
      CheckingAllocator::Release(block, bytes);
    }
  } logging;
  logging.log = &events;
  FreeRAM observed(status, logging, [this] { events.emplace_back("yield"); });
  EXPECT_EQ(observed.FreeUpMemory(kMiB), kMiB);
  std::vector<std::string> expected(5, "yield");
  expected.emplace_back("allocate");
  expected.insert(expected.end(), 5, "yield");
  expected.emplace_back("release");
  EXPECT_EQ(events, expected);
  EXPECT_TRUE(logging.outstanding.empty());
}

TEST_F(FreeUpMemoryTest, ThrowingYieldStillReleasesTheBlock) {
  int calls = 0;
  FreeRAM failing(status, allocator, [&] {
    if (++calls == 6) throw std::runtime_error("window gone");  // while the block is held
  });
  EXPECT_EQ(failing.FreeUpMemory(kMiB), 0);
  EXPECT_EQ(allocator.released.size(), 1u);
}

TEST(FreeRAMStatus, GettersPassTheFieldsOnAfresh) {
  FixedMemoryStatus status;
  HeapBlockAllocator heap;
  FreeRAM ram(status, heap);
  EXPECT_EQ(ram.GetMemoryLoad(), 42);
  EXPECT_EQ(ram.GetFreePhysical(), 200u * kMiB);
  EXPECT_EQ(ram.GetTotalPhysical(), 512u * kMiB);
  EXPECT_EQ(ram.GetFreeVirtual(), 1900u * kMiB);
  EXPECT_EQ(ram.GetTotalVirtual(), 0x7FFE0000u);
  EXPECT_EQ(status.reads, 5);
}

TEST(FreeRAMStatus, AmountsOfAnyMachineAreWholeAndFreeNeverExceedsTotal) {
  constexpr std::uint64_t kGiB = 1024u * 1024u * 1024u;
  const struct {
    std::uint64_t total, available, free;
  } cases[] = {
      {512u * kMiB, 200u * kMiB, 200u * kMiB},
      {3 * kGiB, 2 * kGiB + 1, 2 * kGiB + 1},            // above 2 GiB: not negative
      {16 * kGiB, 4 * kGiB + 100u * kMiB, 4 * kGiB + 100u * kMiB},  // above 4 GiB: no wrap
      {64 * kGiB, 63 * kGiB, 63 * kGiB},
      {4 * kGiB, 5 * kGiB, 4 * kGiB},                    // more free than there is
      {0, 100u * kMiB, 100u * kMiB},                    // no total read: free as read
  };
  for (const auto& c : cases) {
    FixedMemoryStatus status;
    status.status.totalPhysical = c.total;
    status.status.availablePhysical = c.available;
    status.status.totalVirtual = 0x7FFE0000;
    status.status.availableVirtual = 0xFFFF0000u;
    status.status.memoryLoad = 250;
    HeapBlockAllocator heap;
    FreeRAM ram(status, heap);
    EXPECT_EQ(ram.GetTotalPhysical(), c.total);
    EXPECT_EQ(ram.GetFreePhysical(), c.free) << c.total << " " << c.available;
    EXPECT_EQ(ram.GetFreeVirtual(), 0x7FFE0000u);
    EXPECT_EQ(ram.GetMemoryLoad(), 100);
  }
}

}  // namespace
}  // namespace corvane::testing
