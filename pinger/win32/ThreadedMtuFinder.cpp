#include "pinger/win32/ThreadedMtuFinder.h"

#include <utility>

#include "pinger/win32/Win32PingServices.h"

namespace corvane::win32 {

namespace {

constexpr char kFinderClassName[] = "CorvaneMtuFinderService";

struct Job {
  std::shared_ptr<WorkerMailbox<MtuStep>::Slot> mailbox;
  std::shared_ptr<std::atomic<bool>> cancelled;
  std::uint64_t id;
  std::string host;
  std::uint32_t timeoutMs;
};

DWORD WINAPI FinderWorker(LPVOID parameter) {
  std::unique_ptr<Job> job(static_cast<Job*>(parameter));
  MtuStep last;
  last.done = true;
  try {
    Win32Sockets sockets;
    Win32Icmp icmp;
    MtuFinderHooks hooks;
    hooks.trying = [&job](std::uint16_t size) {
      MtuStep step;
      step.trying = size;
      (void)job->mailbox->Post(job->id, std::move(step));
    };
    hooks.cancelled = [&job] { return job->cancelled->load(); };
    hooks.nowMs = [] { return static_cast<std::uint64_t>(::GetTickCount()); };
    MtuFinder finder(sockets, icmp, hooks, job->timeoutMs);
    if (!icmp.Available()) {
      last.report.host = job->host;
      last.report.outcome = MtuOutcome::NoIcmp;
    } else {
      last.report = finder.Run(job->host);
    }
  } catch (...) {
    last.report.outcome = MtuOutcome::NoAnswer;
  }
  try {
    (void)job->mailbox->Post(job->id, std::move(last));
  } catch (...) {
  }
  return 0;
}

}  // namespace

ThreadedMtuFinder::ThreadedMtuFinder(HINSTANCE instance, std::uint32_t timeoutMs)
    : timeoutMs_(timeoutMs),
      mailbox_(instance, kFinderClassName,
               [this](std::uint64_t id, MtuStep step) { Landed(id, std::move(step)); }) {}

ThreadedMtuFinder::~ThreadedMtuFinder() { Cancel(); }

void ThreadedMtuFinder::Start(const std::string& host, Trying trying, Done done) {
  Cancel();
  const std::uint64_t id = ++current_;
  trying_ = std::move(trying);
  done_ = std::move(done);
  cancelled_ = std::make_shared<std::atomic<bool>>(false);
  auto job = std::make_unique<Job>(Job{mailbox_.slot(), cancelled_, id, host, timeoutMs_});
  DWORD threadId = 0;
  HANDLE thread = ::CreateThread(nullptr, 0, &FinderWorker, job.get(), 0, &threadId);
  if (thread != nullptr) {
    job.release();  // the worker owns it now
    ::CloseHandle(thread);
    return;
  }
  // No thread: the search ends at once, without an answer, reported later.
  MtuStep failed;
  failed.done = true;
  failed.report.host = host;
  (void)mailbox_.slot()->Post(id, std::move(failed));
}

void ThreadedMtuFinder::Cancel() {
  if (cancelled_) cancelled_->store(true);
  cancelled_.reset();
  ++current_;  // whatever the search posts from now on is dropped
  trying_ = nullptr;
  done_ = nullptr;
}

void ThreadedMtuFinder::Landed(std::uint64_t id, MtuStep step) {
  if (id != current_) return;
  if (!step.done) {
    if (trying_) trying_(step.trying);
    return;
  }
  Done done = std::move(done_);
  trying_ = nullptr;
  cancelled_.reset();
  if (done) done(std::move(step.report));
}

}  // namespace corvane::win32
