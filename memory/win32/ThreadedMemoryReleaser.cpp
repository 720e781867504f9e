#include "memory/win32/ThreadedMemoryReleaser.h"

#include <cstdio>
#include <deque>
#include <utility>
#include <vector>

#include "memory/FreeRAM.h"
#include "memory/win32/Win32MemoryServices.h"
#include "platform/win32/CriticalSection.h"

namespace corvane::win32 {

namespace {

constexpr char kReleaserClassName[] = "CorvaneMemoryReleaser";
constexpr UINT kEndedMessage = WM_APP + 0x51;

volatile LONG g_runningWorkers = 0;

struct Claim {
  std::uint64_t id;
  std::int32_t amount;
};

}  // namespace

// Shared by the releaser and its worker; the last of them frees it.
struct ThreadedMemoryReleaser::Queue {
  CriticalSection lock;
  HWND window = nullptr;  // null once the releaser is gone
  std::string claimLog;
  std::deque<Claim> asked;
  std::vector<std::uint64_t> ended;
  bool workerRunning = false;

  // Reports a claim as ended; called by the worker, or by the releaser when
  // no worker could be made.
  void End(std::uint64_t id) {
    Locked hold(lock);
    if (window == nullptr) return;
    ended.push_back(id);
    // Under the lock: the releaser closes the queue under the same lock
    // before its window goes, so this never reaches a destroyed window.
    (void)::PostMessageA(window, kEndedMessage, 0, 0);
  }
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
      if (queue.asked.empty() || queue.window == nullptr) {
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
      queue.End(claim.id);
    } catch (...) {
    }
  }
  held.reset();
  ::InterlockedDecrement(&g_runningWorkers);
  return 0;
}

}  // namespace

ThreadedMemoryReleaser::ThreadedMemoryReleaser(HINSTANCE instance, std::string claimLog)
    : queue_(std::make_shared<Queue>()) {
  queue_->claimLog = std::move(claimLog);
  WNDCLASSEXA wc{};
  if (CreateBound(kReleaserClassName, wc, WS_EX_TOOLWINDOW, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance)) {
    Locked hold(queue_->lock);
    queue_->window = hwnd();
  }
}

ThreadedMemoryReleaser::~ThreadedMemoryReleaser() {
  *alive_ = false;
  Locked hold(queue_->lock);
  queue_->window = nullptr;
  queue_->asked.clear();
  queue_->ended.clear();
  // The window goes with the base class, after the queue is closed.
}

long ThreadedMemoryReleaser::RunningWorkers() {
  return ::InterlockedCompareExchange(&g_runningWorkers, 0, 0);
}

void ThreadedMemoryReleaser::FreeUpMemory(std::int32_t amount, Done done) {
  const std::uint64_t id = nextId_++;
  waiting_[id] = std::move(done);
  bool reportable = false;
  bool startWorker = false;
  {
    Locked hold(queue_->lock);
    reportable = queue_->window != nullptr;
    if (reportable) {
      queue_->asked.push_back(Claim{id, amount});
      startWorker = !queue_->workerRunning;
      queue_->workerRunning = true;
    }
  }
  if (!reportable) {
    // No window to report to: the claim is not made and ends here.
    Done now = std::move(waiting_[id]);
    waiting_.erase(id);
    if (now) now();
    return;
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
  for (const Claim& claim : dropped) queue_->End(claim.id);
}

void ThreadedMemoryReleaser::DeliverEnded() {
  std::vector<std::uint64_t> ended;
  {
    Locked hold(queue_->lock);
    ended.swap(queue_->ended);
  }
  std::shared_ptr<bool> alive = alive_;
  for (std::uint64_t id : ended) {
    if (!*alive) return;
    auto found = waiting_.find(id);
    if (found == waiting_.end()) continue;
    Done done = std::move(found->second);
    waiting_.erase(found);
    if (done) done();
  }
}

LRESULT ThreadedMemoryReleaser::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kEndedMessage) {
    DeliverEnded();
    return 0;
  }
  return ::DefWindowProcA(hwnd(), message, wParam, lParam);
}

std::unique_ptr<ThreadedMemoryReleaser> MakeMemoryReleaser(HINSTANCE instance) {
  char path[MAX_PATH] = {};
  DWORD n = ::GetEnvironmentVariableA(kClaimLogVariable, path, sizeof path);
  return std::make_unique<ThreadedMemoryReleaser>(instance, n > 0 && n < sizeof path ? std::string(path) : std::string());
}

}  // namespace corvane::win32
