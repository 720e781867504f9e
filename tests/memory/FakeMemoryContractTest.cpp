#include "tests/memory/FakeMemoryServices.h"
#include "tests/memory/MemoryStatusContract.h"

namespace corvane::testing {
namespace {

INSTANTIATE_TEST_SUITE_P(Fake, MemoryStatusContract,
                         ::testing::Values(MemoryStatusEnvironment{
                             "FixedMemoryStatus",
                             [] { return std::make_unique<FixedMemoryStatus>(); }}),
                         MemoryStatusName);

}  // namespace
}  // namespace corvane::testing
