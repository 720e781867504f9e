#include "pinger/win32/ThreadedPingService.h"

#include <deque>
#include <utility>
#include <vector>

#include "pinger/win32/Win32PingServices.h"
#include "platform/win32/CriticalSection.h"

namespace corvane::win32 {

namespace {

constexpr char kServiceClassName[] = "CorvanePingService";
constexpr UINT kLandedMessage = WM_APP + 0x50;

volatile LONG g_runningWorkers = 0;

}  // namespace

// Shared by the service and its workers; the last of them frees it.
struct ThreadedPingService::Mailbox {
  CriticalSection lock;
  HWND window = nullptr;  // null once the service is gone: reports are dropped
  std::deque<std::pair<std::uint64_t, PingReport>> landed;

  // Called by a worker (or by Start when no worker could be made).
  void Post(std::uint64_t id, PingReport report) {
    Locked hold(lock);
    if (window == nullptr) return;
    landed.emplace_back(id, std::move(report));
    // Posted under the lock: the service closes the mailbox under the same
    // lock before its window goes, so this never reaches a destroyed window.
    (void)::PostMessageA(window, kLandedMessage, 0, 0);
  }
};

namespace {

struct Job {
  std::shared_ptr<ThreadedPingService::Mailbox> mailbox;
  std::uint64_t id;
  std::string host;
  std::uint32_t timeoutMs;
};

DWORD WINAPI PingWorker(LPVOID parameter) {
  std::unique_ptr<Job> job(static_cast<Job*>(parameter));
  PingReport report;
  try {
    Win32Sockets sockets;
    Win32Icmp icmp;
    report = RunPing(sockets, icmp, job->host, job->timeoutMs);
  } catch (...) {
    report = PingReport{};  // out of memory and the like: no answer
  }
  try {
    job->mailbox->Post(job->id, std::move(report));
  } catch (...) {
  }
  job.reset();
  ::InterlockedDecrement(&g_runningWorkers);
  return 0;
}

}  // namespace

ThreadedPingService::ThreadedPingService(HINSTANCE instance)
    : mailbox_(std::make_shared<Mailbox>()) {
  WNDCLASSEXA wc{};
  if (CreateBound(kServiceClassName, wc, WS_EX_TOOLWINDOW, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                  nullptr, instance)) {
    Locked hold(mailbox_->lock);
    mailbox_->window = hwnd();
  }
}

ThreadedPingService::~ThreadedPingService() {
  *alive_ = false;
  {
    Locked hold(mailbox_->lock);
    mailbox_->window = nullptr;
    mailbox_->landed.clear();
  }
  // The window goes with the base class, after the mailbox is closed.
}

long ThreadedPingService::RunningWorkers() {
  return ::InterlockedCompareExchange(&g_runningWorkers, 0, 0);
}

void ThreadedPingService::Start(const std::string& host, std::uint32_t timeoutMs, Done done) {
  const std::uint64_t id = nextId_++;
  waiting_[id] = std::move(done);
  auto job = std::make_unique<Job>(Job{mailbox_, id, host, timeoutMs});
  ::InterlockedIncrement(&g_runningWorkers);
  DWORD threadId = 0;
  HANDLE thread = ::CreateThread(nullptr, 0, &PingWorker, job.get(), 0, &threadId);
  if (thread != nullptr) {
    job.release();  // the worker owns it now
    ::CloseHandle(thread);  // nothing ever waits for a worker
    return;
  }
  ::InterlockedDecrement(&g_runningWorkers);
  // No thread: the ping fails, reported like any other, later.
  mailbox_->Post(id, PingReport{});
}

void ThreadedPingService::DeliverLanded() {
  std::deque<std::pair<std::uint64_t, PingReport>> landed;
  {
    Locked hold(mailbox_->lock);
    landed.swap(mailbox_->landed);
  }
  std::shared_ptr<bool> alive = alive_;
  for (auto& [id, report] : landed) {
    if (!*alive) return;
    auto found = waiting_.find(id);
    if (found == waiting_.end()) continue;
    Done done = std::move(found->second);
    waiting_.erase(found);
    if (done) done(std::move(report));
  }
}

LRESULT ThreadedPingService::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kLandedMessage) {
    DeliverLanded();
    return 0;
  }
  return ::DefWindowProcA(hwnd(), message, wParam, lParam);
}

}  // namespace corvane::win32
