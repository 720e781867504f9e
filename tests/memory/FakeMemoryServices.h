// Fakes of the memory and processor services: a system-information source
// whose counters a test sets, a memory status with fixed fields, and an
// allocator that can refuse requests and checks, before each release, that
// every byte of the block was written with blanks.
#pragma once

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "memory/CpuUsage.h"
#include "memory/FreeRAM.h"
#include "memory/RamConfiguration.h"
#include "platform/ui/Sound.h"

namespace corvane::testing {

class FakeNtInformation : public INtSystemInformation {
 public:
  std::int32_t Query(std::uint32_t infoClass, std::uint8_t* buffer,
                     std::uint32_t size) override {
    calls.push_back({infoClass, size});
    for (std::uint32_t i = 0; i < size; ++i) {
      if (buffer[i] != 0) unclearedBuffers++;
    }
    if (failing.count(infoClass) != 0) return static_cast<std::int32_t>(0xC0000001u);
    auto put64 = [&](std::uint32_t offset, std::int64_t v) {
      for (int i = 0; i < 8; ++i) {
        buffer[offset + static_cast<std::uint32_t>(i)] =
            static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * i));
      }
    };
    switch (infoClass) {
      case ntinfo::kBasicClass:
        if (size != ntinfo::kBasicSize) return static_cast<std::int32_t>(0xC0000004u);
        buffer[ntinfo::kProcessorCountOffset] = processors;
        return 0;
      case ntinfo::kPerformanceClass:
        if (size != ntinfo::kPerformanceSize) return static_cast<std::int32_t>(0xC0000004u);
        put64(ntinfo::kIdleTimeOffset, idleTime);
        return 0;
      case ntinfo::kTimeOfDayClass:
        if (size != ntinfo::kTimeOfDaySize) return static_cast<std::int32_t>(0xC0000004u);
        put64(ntinfo::kCurrentTimeOffset, currentTime);
        return 0;
      default:
        return static_cast<std::int32_t>(0xC0000003u);  // STATUS_INVALID_INFO_CLASS
    }
  }

  // Moves the clocks on: elapsed 100-ns units, and how much of it the
  // processors together spent idle.
  void Advance(std::int64_t elapsed, std::int64_t idle) {
    currentTime += elapsed;
    idleTime += idle;
  }

  struct Call {
    std::uint32_t infoClass;
    std::uint32_t size;
  };
  std::uint8_t processors = 1;
  std::int64_t idleTime = 5'000'000'000;
  std::int64_t currentTime = 130'000'000'000'000'000;  // a date in 2012
  std::set<std::uint32_t> failing;
  std::vector<Call> calls;
  int unclearedBuffers = 0;
};

class FixedMemoryStatus : public IMemoryStatusSource {
 public:
  void Read(MemoryStatus& out) override {
    ++reads;
    out = status;
  }
  // A machine as GlobalMemoryStatusEx reads it: its physical memory and how
  // much of it is free, in MiB (free may be given above the total, as
  // emulators have reported it).
  void Machine(std::uint64_t totalMiB, std::uint64_t freeMiB) {
    status.length = kMemoryStatusExLength;
    status.totalPhysical = totalMiB << 20;
    status.availablePhysical = freeMiB << 20;
  }
  MemoryStatus status{32, 42, 512u << 20, 200u << 20, 1024u << 20, 900u << 20,
                      (2048u << 20) - (128u << 10), 1900u << 20};
  int reads = 0;
};

class CheckingAllocator : public IBlockAllocator {
 public:
  void* Allocate(std::size_t bytes) override {
    requests.push_back(bytes);
    if (failuresLeft > 0) {
      --failuresLeft;
      return nullptr;
    }
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block != nullptr) std::memset(block, 0xA5, bytes);  // so that an unwritten byte shows
    outstanding.insert(block);
    return block;
  }
  void Release(void* block, std::size_t bytes) override {
    if (outstanding.erase(block) != 1) ++badReleases;
    const auto* bytesOf = static_cast<const unsigned char*>(block);
    for (std::size_t i = 0; i < bytes; i += 2) {
      if (bytesOf[i] != 0x20 || bytesOf[i + 1] != 0x00) {
        ++unwrittenBlocks;
        break;
      }
    }
    released.push_back(bytes);
    std::free(block);
  }

  int failuresLeft = 0;
  std::vector<std::size_t> requests;
  std::vector<std::size_t> released;
  std::set<void*> outstanding;
  int badReleases = 0;
  int unwrittenBlocks = 0;
};

// A processor sampler that answers what the test sets and counts queries.
class FakeSampler : public ICpuUsageSampler {
 public:
  void Initialize() override { ++initializations; }
  std::int32_t Query() override {
    ++queries;
    return usage;
  }
  void Terminate() override { ++terminations; }
  std::int32_t usage = 0;
  int queries = 0;
  int initializations = 0;
  int terminations = 0;
};

// Records each claim instead of making it. A claim ends at once unless the
// test holds them (hold), then each ends by Finish, oldest first. Busy while
// the test says so or a held claim has not ended.
class RecordingReleaser : public memory::IMemoryReleaser {
 public:
  void FreeUpMemory(std::int32_t amount, Done done) override {
    claims.push_back(amount);
    if (hold) {
      running.push_back(std::move(done));
    } else if (done) {
      done();
    }
  }
  bool Busy() const override { return busy || !running.empty(); }
  // Ends the oldest held claim; false when none runs.
  bool Finish() {
    if (running.empty()) return false;
    Done done = std::move(running.front());
    running.erase(running.begin());
    if (done) done();
    return true;
  }
  std::vector<std::int32_t> claims;
  std::vector<Done> running;
  bool busy = false;
  bool hold = false;
};

// Records the files it is asked to play.
class RecordingSounds : public ui::ISoundPlayer {
 public:
  void Play(const std::string& file) override { played.push_back(file); }
  std::vector<std::string> played;
};

}  // namespace corvane::testing
