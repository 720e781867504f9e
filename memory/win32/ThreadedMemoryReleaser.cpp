#include "memory/win32/ThreadedMemoryReleaser.h"

#include <cstdio>
#include <utility>

#include "memory/FreeRAM.h"
#include "memory/win32/Win32MemoryServices.h"

namespace corvane::win32 {

namespace {

constexpr char kReleaserClassName[] = "CorvaneMemoryReleaser";

volatile LONG g_runningWorkers = 0;

void LogClaim(const std::string& path, std::int32_t amount) {
  if (FILE* log = std::fopen(path.c_str(), "ab")) {
    std::string line = "FreeUpMemory " + std::to_string(amount) + "\r\n";
    (void)std::fwrite(line.data(), 1, line.size(), log);
    (void)std::fclose(log);
  }
}

// One claim, on the worker: logged, or made with a FreeRAM of its own.
ThreadedMemoryReleaser::Ended Claim(const std::string& claimLog, std::int32_t amount) {
  if (!claimLog.empty()) {
    LogClaim(claimLog, amount);
  } else {
    Win32MemoryStatus status;
    VirtualBlockAllocator allocator;
    FreeRAM memory(status, allocator);
    (void)memory.FreeUpMemory(amount);
  }
  return {};
}

}  // namespace

ThreadedMemoryReleaser::ThreadedMemoryReleaser(HINSTANCE instance, std::string claimLog)
    : claims_(instance, kReleaserClassName, WorkerOrder::InOrder,
              [claimLog = std::move(claimLog)](const std::int32_t& amount) { return Claim(claimLog, amount); },
              &g_runningWorkers) {}

ThreadedMemoryReleaser::~ThreadedMemoryReleaser() = default;

long ThreadedMemoryReleaser::RunningWorkers() {
  return ::InterlockedCompareExchange(&g_runningWorkers, 0, 0);
}

void ThreadedMemoryReleaser::FreeUpMemory(std::int32_t amount, Done done) {
  auto ended = [done](Ended) {
    if (done) done();
  };
  // No way to report back: the claim is not made and ends here.
  if (!claims_.Add(amount, std::move(ended)) && done) done();
}

std::unique_ptr<ThreadedMemoryReleaser> MakeMemoryReleaser(HINSTANCE instance) {
  char path[MAX_PATH] = {};
  DWORD n = ::GetEnvironmentVariableA(kClaimLogVariable, path, sizeof path);
  return std::make_unique<ThreadedMemoryReleaser>(instance, n > 0 && n < sizeof path ? std::string(path) : std::string());
}

}  // namespace corvane::win32
