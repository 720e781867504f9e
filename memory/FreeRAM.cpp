#include "memory/FreeRAM.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>
#include <utility>

namespace corvane {

void* HeapBlockAllocator::Allocate(std::size_t bytes) {
  return ::operator new(bytes, std::nothrow);
}

void HeapBlockAllocator::Release(void* block, std::size_t /*bytes*/) { ::operator delete(block); }

namespace {

// Gives the block back on every way out of FreeUpMemory.
class BlockGuard {
 public:
  BlockGuard(IBlockAllocator& allocator, void* block, std::size_t bytes)
      : allocator_(allocator), block_(block), bytes_(bytes) {}
  BlockGuard(const BlockGuard&) = delete;
  BlockGuard& operator=(const BlockGuard&) = delete;
  ~BlockGuard() { allocator_.Release(block_, bytes_); }

 private:
  IBlockAllocator& allocator_;
  void* block_;
  std::size_t bytes_;
};

}  // namespace

FreeRAM::FreeRAM(IMemoryStatusSource& source, IBlockAllocator& allocator, YieldStep yield)
    : source_(source), allocator_(allocator), yield_(std::move(yield)) {}

const MemoryStatus& FreeRAM::Refresh() {
  status_ = MemoryStatus{};
  source_.Read(status_);
  // Free memory cannot exceed the memory there is: a reading that says so
  // (seen under emulators) counts all of it free. A total of 0 was not read
  // at all; what is free is then passed on as read.
  auto hold = [](std::uint64_t& available, std::uint64_t total) {
    if (total != 0) available = std::min(available, total);
  };
  hold(status_.availablePhysical, status_.totalPhysical);
  hold(status_.availablePageFile, status_.totalPageFile);
  hold(status_.availableVirtual, status_.totalVirtual);
  status_.memoryLoad = std::min<std::uint32_t>(status_.memoryLoad, 100);
  return status_;
}

std::uint64_t FreeRAM::GetFreePhysical() { return Refresh().availablePhysical; }
std::uint64_t FreeRAM::GetTotalPhysical() { return Refresh().totalPhysical; }
std::int32_t FreeRAM::GetMemoryLoad() { return static_cast<std::int32_t>(Refresh().memoryLoad); }
std::uint64_t FreeRAM::GetFreeVirtual() { return Refresh().availableVirtual; }
std::uint64_t FreeRAM::GetTotalVirtual() { return Refresh().totalVirtual; }

void FreeRAM::YieldFiveTimes() {
  if (!yield_) return;
  for (int i = 0; i < 5; ++i) yield_();
}

void* FreeRAM::ClaimAndFill(std::int32_t characters, std::size_t& bytes) {
  const std::uint64_t wanted = 2 * static_cast<std::uint64_t>(characters);
  if (wanted > std::numeric_limits<std::size_t>::max()) return nullptr;  // cannot be had
  bytes = static_cast<std::size_t>(wanted);
  void* block = allocator_.Allocate(bytes);
  if (block == nullptr) return nullptr;
  // One sequential pass writes every page once; the blanks are never read.
  std::fill_n(static_cast<char16_t*>(block), static_cast<std::size_t>(characters), u' ');
  return block;
}

std::int32_t FreeRAM::FreeUpMemory(std::int32_t amount) {
  try {
    YieldFiveTimes();
    if (amount <= 0) return 0;
    std::size_t bytes = 0;
    if (void* block = ClaimAndFill(amount, bytes)) {
      BlockGuard release(allocator_, block, bytes);
      YieldFiveTimes();
      return amount;
    }
    // The full block cannot be had: one try with half as many, no further.
    const std::int32_t half = amount / 2 + amount % 2;  // the half rounded up
    if (void* block = ClaimAndFill(half, bytes)) {
      BlockGuard release(allocator_, block, bytes);
      return half;
    }
    return 0;
  } catch (...) {
    // Only the caller's yield step can throw; the block is already back.
    return 0;
  }
}

}  // namespace corvane
