#include "memory/win32/ThreadedMemoryReleaser.h"

#include <cstdio>
#include <deque>
#include <utility>

#include "memory/FreeRAM.h"
#include "memory/win32/Win32MemoryServices.h"
#include "platform/win32/CriticalSection.h"

namespace corvane::win32 {

namespace {

constexpr char kReleaserClassName[] = "CorvaneMemoryReleaser";

volatile LONG g_runningWorkers = 0;

struct Claim {
  std::uint64_t id;
  std::int32_t amount;
};

}  // namespace

// The claims asked for and not yet started, shared by the releaser and its
// worker; the last of them frees it.
struct ThreadedMemoryReleaser::Queue {
  CriticalSection lock;
  std::shared_ptr<WorkerMailbox<Ended>::Slot> mailbox;
  std::string claimLog;
  std::deque<Claim> asked;
  bool workerRunning = false;
  bool closed = false;  // the releaser has gone: nothing more is started
};

namespace {

void LogClaim(const std::string& path, std::int32_t amount) {
  if (FILE* log = std::fopen(path.c_str(), "ab")) {
    std::string line = "FreeUpMemory " + std::to_string(amount) + "\r\n";
    (void)std::fwrite(line.data(), 1, line.size(), log);
    (void)std::fclose(log);
  }
}

DWORD WINAPI ClaimWorker(LPVOID parameter) {
  std::unique_ptr<std::shared_ptr<ThreadedMemoryReleaser::Queue>> held(
      static_cast<std::shared_ptr<ThreadedMemoryReleaser::Queue>*>(parameter));
  ThreadedMemoryReleaser::Queue& queue = **held;
  Win32MemoryStatus status;
  VirtualBlockAllocator allocator;
  for (;;) {
    Claim claim{};
    {
      Locked hold(queue.lock);
      if (queue.asked.empty() || queue.closed) {
        queue.asked.clear();
        queue.workerRunning = false;
        break;
      }
      claim = queue.asked.front();
      queue.asked.pop_front();
    }
    try {
      if (!queue.claimLog.empty()) {
        LogClaim(queue.claimLog, claim.amount);
      } else {
        FreeRAM memory(status, allocator);
        (void)memory.FreeUpMemory(claim.amount);
      }
    } catch (...) {
      // Out of memory for the log line and the like: the claim just ends.
    }
    try {
      (void)queue.mailbox->Post(claim.id, ThreadedMemoryReleaser::Ended{});
    } catch (...) {
    }
  }
  held.reset();
  ::InterlockedDecrement(&g_runningWorkers);
  return 0;
}

}  // namespace

ThreadedMemoryReleaser::ThreadedMemoryReleaser(HINSTANCE instance, std::string claimLog)
    : queue_(std::make_shared<Queue>()),
      mailbox_(instance, kReleaserClassName, [this](std::uint64_t id, Ended) { EndClaim(id); }) {
  queue_->mailbox = mailbox_.slot();
  queue_->claimLog = std::move(claimLog);
}

ThreadedMemoryReleaser::~ThreadedMemoryReleaser() {
  Locked hold(queue_->lock);
  queue_->closed = true;
  queue_->asked.clear();
}

long ThreadedMemoryReleaser::RunningWorkers() {
  return ::InterlockedCompareExchange(&g_runningWorkers, 0, 0);
}

void ThreadedMemoryReleaser::FreeUpMemory(std::int32_t amount, Done done) {
  const std::uint64_t id = nextId_++;
  if (!mailbox_.IsOpen()) {
    // No way to report back: the claim is not made and ends here.
    if (done) done();
    return;
  }
  waiting_[id] = std::move(done);
  bool startWorker = false;
  {
    Locked hold(queue_->lock);
    queue_->asked.push_back(Claim{id, amount});
    startWorker = !queue_->workerRunning;
    queue_->workerRunning = true;
  }
  if (!startWorker) return;  // the running worker takes it in turn
  auto parameter = std::make_unique<std::shared_ptr<Queue>>(queue_);
  ::InterlockedIncrement(&g_runningWorkers);
  DWORD threadId = 0;
  HANDLE thread = ::CreateThread(nullptr, 0, &ClaimWorker, parameter.get(), 0, &threadId);
  if (thread != nullptr) {
    parameter.release();  // the worker owns it now
    ::CloseHandle(thread);  // nothing ever waits for the worker
    return;
  }
  ::InterlockedDecrement(&g_runningWorkers);
  // No thread: what was asked ends unclaimed, reported like any claim.
  std::deque<Claim> dropped;
  {
    Locked hold(queue_->lock);
    dropped.swap(queue_->asked);
    queue_->workerRunning = false;
  }
  for (const Claim& claim : dropped) (void)mailbox_.slot()->Post(claim.id, Ended{});
}

void ThreadedMemoryReleaser::EndClaim(std::uint64_t id) {
  auto found = waiting_.find(id);
  if (found == waiting_.end()) return;
  Done done = std::move(found->second);
  waiting_.erase(found);
  if (done) done();
}

std::unique_ptr<ThreadedMemoryReleaser> MakeMemoryReleaser(HINSTANCE instance) {
  char path[MAX_PATH] = {};
  DWORD n = ::GetEnvironmentVariableA(kClaimLogVariable, path, sizeof path);
  return std::make_unique<ThreadedMemoryReleaser>(instance, n > 0 && n < sizeof path ? std::string(path) : std::string());
}

}  // namespace corvane::win32
