#include "tests/memory/MemoryStatusContract.h"

namespace corvane::testing {

std::string MemoryStatusName(const ::testing::TestParamInfo<MemoryStatusEnvironment>& info) {
  return info.param.name;
}

namespace {

TEST_P(MemoryStatusContract, RecordIsWholeAndConsistent) {
  MemoryStatus status;
  source().Read(status);
  // MEMORYSTATUS or MEMORYSTATUSEX, whole.
  EXPECT_TRUE(status.length == kMemoryStatusLength || status.length == kMemoryStatusExLength)
      << status.length;
  EXPECT_LE(status.memoryLoad, 100u);
  EXPECT_GT(status.totalPhysical, 0u);
  EXPECT_LE(status.availablePhysical, status.totalPhysical);
  // No relation is promised for the page file: 32-bit Windows caps the two
  // page-file amounts separately (Wine reports more available than total),
  // and nothing in the program reads them.
  EXPECT_GT(status.totalVirtual, 0u);
  EXPECT_LE(status.availableVirtual, status.totalVirtual);
}

TEST_P(MemoryStatusContract, GettersAgreeWithTheRecord) {
  HeapBlockAllocator heap;
  FreeRAM ram(source(), heap);
  const std::int32_t load = ram.GetMemoryLoad();
  EXPECT_GE(load, 0);
  EXPECT_LE(load, 100);
  // Free and total are read a moment apart, but free never exceeds total.
  EXPECT_LE(ram.GetFreePhysical(), ram.GetTotalPhysical());
  EXPECT_LE(ram.GetFreeVirtual(), ram.GetTotalVirtual());
  EXPECT_NE(ram.GetTotalVirtual(), 0u);
}

}  // namespace
}  // namespace corvane::testing
