#include "pinger/win32/ThreadedPingService.h"

#include <utility>

#include "pinger/win32/Win32PingServices.h"

namespace corvane::win32 {

namespace {

constexpr char kServiceClassName[] = "CorvanePingService";

volatile LONG g_runningWorkers = 0;

struct Job {
  std::shared_ptr<WorkerMailbox<PingReport>::Slot> mailbox;
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
    (void)job->mailbox->Post(job->id, std::move(report));
  } catch (...) {
  }
  job.reset();
  ::InterlockedDecrement(&g_runningWorkers);
  return 0;
}

}  // namespace

ThreadedPingService::ThreadedPingService(HINSTANCE instance)
    : mailbox_(instance, kServiceClassName,
               [this](std::uint64_t id, PingReport report) { Landed(id, std::move(report)); }) {}

long ThreadedPingService::RunningWorkers() {
  return ::InterlockedCompareExchange(&g_runningWorkers, 0, 0);
}

void ThreadedPingService::Start(const std::string& host, std::uint32_t timeoutMs, Done done) {
  const std::uint64_t id = nextId_++;
  waiting_[id] = std::move(done);
  auto job = std::make_unique<Job>(Job{mailbox_.slot(), id, host, timeoutMs});
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
  (void)mailbox_.slot()->Post(id, PingReport{});
}

void ThreadedPingService::Landed(std::uint64_t id, PingReport report) {
  auto found = waiting_.find(id);
  if (found == waiting_.end()) return;
  Done done = std::move(found->second);
  waiting_.erase(found);
  if (done) done(std::move(report));
}

}  // namespace corvane::win32
