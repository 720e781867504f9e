// Work done on worker threads, each result handed back on the thread that
// made the queue.
//
// Add(job, done) queues a job; a worker thread runs `work(job)` and posts
// the result through a WorkerMailbox, which hands it to `done` on the
// owner's thread (never inside Add). Jobs run one of two ways:
// - InOrder: one worker works through the jobs in the order added, one at a
//   time; it starts with the first job and ends when none is left.
// - Together: every job has a thread of its own, all at once (a slow job
//   holds up no other).
// A job whose work throws, or that no thread could be made for, ends with
// Result{} all the same, reported later like any other.
//
// Nothing ever waits for a worker: the destructor drops the jobs not yet
// started and closes the mailbox, and returns at once. A job in flight ends
// on its own, finds the mailbox closed and drops its result; the worker
// frees what it holds, the work included, and ends. So a queue going while
// work is out (a window closing, the program ending, Windows restarting)
// holds nothing up and no result reaches an owner that is gone.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <utility>

#include "platform/win32/CriticalSection.h"
#include "platform/win32/Handle.h"
#include "platform/win32/WorkerMailbox.h"

namespace corvane::win32 {

enum class WorkerOrder { InOrder, Together };

template <typename Job, typename Result>
class WorkerQueue {
 public:
  // Runs on a worker thread; it must reach nothing of the owner's.
  using Work = std::function<Result(const Job&)>;
  using Done = std::function<void(Result)>;

  // className: the window class of this kind of queue's mailbox. running
  // counts the workers of every queue given it that are still out (for
  // tests): the worker lowers it as the last thing it does.
  WorkerQueue(HINSTANCE instance, const char* className, WorkerOrder order, Work work, volatile LONG* running)
      : shared_(std::make_shared<Shared>()),
        mailbox_(instance, className, [this](std::uint64_t id, Result result) { Landed(id, std::move(result)); }) {
    shared_->mailbox = mailbox_.slot();
    shared_->work = std::move(work);
    shared_->order = order;
    shared_->running = running;
  }
  WorkerQueue(const WorkerQueue&) = delete;
  WorkerQueue& operator=(const WorkerQueue&) = delete;
  ~WorkerQueue() {
    Locked hold(shared_->lock);
    shared_->closed = true;
    shared_->asked.clear();
  }

  // False when the mailbox's window could not be made: no result could come
  // back, so the job is not queued and `done` is not kept.
  bool IsOpen() const { return mailbox_.IsOpen(); }

  // Queues job; false (nothing queued) when the queue is not open.
  bool Add(Job job, Done done) {
    if (!IsOpen()) return false;
    const std::uint64_t id = nextId_++;
    waiting_[id] = std::move(done);
    std::unique_ptr<Start> start;
    {
      Locked hold(shared_->lock);
      if (shared_->order == WorkerOrder::Together) {
        start = std::make_unique<Start>(Start{shared_, true, id, std::move(job)});
      } else {
        shared_->asked.emplace_back(id, std::move(job));
        if (shared_->workerRunning) return true;  // the running worker takes it in turn
        shared_->workerRunning = true;
        start = std::make_unique<Start>(Start{shared_, false, 0, Job{}});
      }
    }
    Launch(std::move(start));
    return true;
  }

  // Jobs added whose `done` has not run yet. Results that landed but could
  // not say so (their wake-up was not posted) are delivered here first, so
  // that a lost wake-up never leaves the queue busy for good.
  bool Busy() const {
    mailbox_.Collect();
    return !waiting_.empty();
  }

 private:
  struct Shared {
    CriticalSection lock;
    std::shared_ptr<typename WorkerMailbox<Result>::Slot> mailbox;
    Work work;
    WorkerOrder order = WorkerOrder::InOrder;
    volatile LONG* running = nullptr;
    std::deque<std::pair<std::uint64_t, Job>> asked;  // InOrder: not yet started
    bool workerRunning = false;
    bool closed = false;  // the owner has gone: nothing more is started
  };
  // What a worker thread is given, and owns from then on.
  struct Start {
    std::shared_ptr<Shared> shared;
    bool own = false;  // Together: the worker runs this job, else it takes them from `asked`
    std::uint64_t id = 0;
    Job job;
  };

  static void Post(Shared& shared, std::uint64_t id, Result result) {
    try {
      (void)shared.mailbox->Post(id, std::move(result));
    } catch (...) {
      // No memory to keep the result: it is lost, as when the mailbox is closed.
    }
  }

  static void Run(Shared& shared, std::uint64_t id, const Job& job) {
    Result result{};
    try {
      result = shared.work(job);
    } catch (...) {
      result = Result{};  // out of memory and the like: the job ends all the same
    }
    Post(shared, id, std::move(result));
  }

  static DWORD WINAPI Worker(LPVOID parameter) {
    std::unique_ptr<Start> start(static_cast<Start*>(parameter));
    Shared& shared = *start->shared;
    volatile LONG* running = shared.running;
    if (start->own) {
      Run(shared, start->id, start->job);
    } else {
      for (;;) {
        std::pair<std::uint64_t, Job> next;
        {
          Locked hold(shared.lock);
          if (shared.asked.empty() || shared.closed) {
            shared.asked.clear();
            shared.workerRunning = false;
            break;
          }
          next = std::move(shared.asked.front());
          shared.asked.pop_front();
        }
        Run(shared, next.first, next.second);
      }
    }
    start.reset();  // the last holder frees the work and the mailbox's slot
    if (running != nullptr) ::InterlockedDecrement(running);
    return 0;
  }

  void Launch(std::unique_ptr<Start> start) {
    if (shared_->running != nullptr) ::InterlockedIncrement(shared_->running);
    DWORD threadId = 0;
    UniqueHandleNull thread(::CreateThread(nullptr, 0, &Worker, start.get(), 0, &threadId));
    if (thread) {
      (void)start.release();  // the worker owns it now; nothing ever waits for it
      return;
    }
    if (shared_->running != nullptr) ::InterlockedDecrement(shared_->running);
    // No thread: what it would have run ends without being run, reported
    // like any other job.
    std::deque<std::pair<std::uint64_t, Job>> dropped;
    if (start->own) {
      dropped.emplace_back(start->id, std::move(start->job));
    } else {
      Locked hold(shared_->lock);
      dropped.swap(shared_->asked);
      shared_->workerRunning = false;
    }
    for (auto& asked : dropped) Post(*shared_, asked.first, Result{});
  }

  void Landed(std::uint64_t id, Result result) {
    auto found = waiting_.find(id);
    if (found == waiting_.end()) return;
    Done done = std::move(found->second);
    waiting_.erase(found);
    if (done) done(std::move(result));
  }

  std::shared_ptr<Shared> shared_;
  std::map<std::uint64_t, Done> waiting_;
  std::uint64_t nextId_ = 1;
  // Last, so that it closes first when the queue goes.
  mutable WorkerMailbox<Result> mailbox_;
};

}  // namespace corvane::win32
