// FreeRAM: the machine's memory status, and the program's one way of freeing
// memory: claim a large block at once, write every page of it, give it back.
// Windows then has to page other programs' idle memory out to make room,
// which leaves that much physical memory free afterwards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace corvane {

// The machine's memory status, amounts in bytes. Wide enough for any
// machine: GlobalMemoryStatusEx (Windows 2000 and later) fills it whole;
// GlobalMemoryStatus (95/98/ME and NT 4.0, which lack the other) only to
// its 32-bit fields.
struct MemoryStatus {
  // The size of the platform's record that was read: 32 for MEMORYSTATUS,
  // 64 for MEMORYSTATUSEX.
  std::uint32_t length = 0;
  std::uint32_t memoryLoad = 0;  // percent in use
  std::uint64_t totalPhysical = 0;
  std::uint64_t availablePhysical = 0;
  std::uint64_t totalPageFile = 0;
  std::uint64_t availablePageFile = 0;
  std::uint64_t totalVirtual = 0;
  std::uint64_t availableVirtual = 0;
};

inline constexpr std::uint32_t kMemoryStatusLength = 32;
inline constexpr std::uint32_t kMemoryStatusExLength = 64;

class IMemoryStatusSource {
 public:
  virtual ~IMemoryStatusSource() = default;
  // GlobalMemoryStatusEx or GlobalMemoryStatus: cannot fail.
  virtual void Read(MemoryStatus& status) = 0;
};

// Where FreeUpMemory's block comes from. Allocate commits the whole block
// (nullptr when it cannot be had); Release gives back exactly what Allocate
// handed out.
class IBlockAllocator {
 public:
  virtual ~IBlockAllocator() = default;
  virtual void* Allocate(std::size_t bytes) = 0;
  virtual void Release(void* block, std::size_t bytes) = 0;
};

// The standard heap, for builds and tests that have no Windows allocator.
class HeapBlockAllocator final : public IBlockAllocator {
 public:
  void* Allocate(std::size_t bytes) override;
  void Release(void* block, std::size_t bytes) override;
};

class FreeRAM {
 public:
  using YieldStep = std::function<void()>;

  FreeRAM(IMemoryStatusSource& source, IBlockAllocator& allocator, YieldStep yield = {});

  // Each getter reads the status afresh. Amounts are bytes, whole however
  // large the machine; what is available is never more than the total
  // (emulators have been seen to report more), and the load is 0 to 100.
  std::uint64_t GetFreePhysical();
  std::uint64_t GetTotalPhysical();
  std::int32_t GetMemoryLoad();
  std::uint64_t GetFreeVirtual();
  std::uint64_t GetTotalVirtual();

  // Claims a block of amount two-byte blanks (2 x amount bytes), writes all
  // of it and releases it; when that block cannot be had, one of half as
  // many. Returns the number claimed: amount, the half, or 0 when neither
  // could be had (or the amount is not positive). No block outlives the call.
  std::int32_t FreeUpMemory(std::int32_t amount);

 private:
  const MemoryStatus& Refresh();
  void YieldFiveTimes();
  // Allocates and fills characters blanks; the block, or nullptr.
  void* ClaimAndFill(std::int32_t characters, std::size_t& bytes);

  IMemoryStatusSource& source_;
  IBlockAllocator& allocator_;
  YieldStep yield_;
  MemoryStatus status_{};
};

}  // namespace corvane
