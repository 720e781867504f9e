// The worker queue under Wine: in-order jobs one at a time in the order
// added, together jobs all at once, a job whose work throws still ending
// (with a default result), every result on the thread that added the job,
// and every worker gone at the end.
#include "platform/win32/WorkerQueue.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/win32/CriticalSection.h"
#include "platform/win32/MessagePump.h"

namespace corvane::testing {
namespace {

constexpr char kClassName[] = "CorvaneWorkerQueueTest";

// What the workers of one test saw, shared with them.
struct Seen {
  win32::CriticalSection lock;
  std::vector<int> started;
  int active = 0;
  int mostActive = 0;
};

class WorkerQueueTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_TRUE(PumpUntil([] { return ::InterlockedCompareExchange(&running_, 0, 0) == 0; }))
        << "a worker is still out";
  }

  // Dispatches this thread's messages until the predicate holds (20 s at most).
  static bool PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 2000 && !done(); ++i) {
      win32::DispatchWaitingMessages();
      ::Sleep(10);
    }
    return done();
  }

  // job * 10, noting which jobs started and how many ran at once; job 0 throws.
  static std::function<int(const int&)> CountingWork(std::shared_ptr<Seen> seen) {
    return [seen](const int& job) {
      {
        win32::Locked hold(seen->lock);
        seen->started.push_back(job);
        seen->mostActive = std::max(seen->mostActive, ++seen->active);
      }
      ::Sleep(20);  // a little work, so that jobs running together would overlap
      win32::Locked hold(seen->lock);
      --seen->active;
      if (job == 0) throw std::runtime_error("no memory");
      return job * 10;
    };
  }

  static volatile LONG running_;
};

volatile LONG WorkerQueueTest::running_ = 0;

TEST_F(WorkerQueueTest, InOrderJobsRunOneAtATimeAndEndInTheOrderAdded) {
  auto seen = std::make_shared<Seen>();
  win32::WorkerQueue<int, int> queue(::GetModuleHandleA(nullptr), kClassName, win32::WorkerOrder::InOrder,
                                     CountingWork(seen), &running_);
  const DWORD thread = ::GetCurrentThreadId();
  std::vector<int> landed;
  bool otherThread = false;
  for (int job : {1, 2, 0, 3}) {
    ASSERT_TRUE(queue.Add(job, [&](int result) {
      landed.push_back(result);
      otherThread |= ::GetCurrentThreadId() != thread;
    }));
  }
  EXPECT_TRUE(landed.empty()) << "nothing lands inside Add";
  ASSERT_TRUE(PumpUntil([&] { return landed.size() == 4; }));
  EXPECT_EQ(landed, (std::vector<int>{10, 20, 0, 30})) << "the throwing job ends with the default";
  EXPECT_EQ(seen->started, (std::vector<int>{1, 2, 0, 3}));
  EXPECT_EQ(seen->mostActive, 1);
  EXPECT_FALSE(otherThread);
  EXPECT_FALSE(queue.Busy());
}

// Job 1 waits for job 2 to start: one at a time, it would wait in vain.
TEST_F(WorkerQueueTest, TogetherJobsRunAtOnceAndEachLandsOnce) {
  auto seen = std::make_shared<Seen>();
  win32::UniqueHandleNull secondStarted(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(secondStarted);
  HANDLE event = secondStarted.get();
  auto counting = CountingWork(seen);
  win32::WorkerQueue<int, int> queue(
      ::GetModuleHandleA(nullptr), kClassName, win32::WorkerOrder::Together,
      [event, counting](const int& job) {
        if (job == 2) ::SetEvent(event);
        if (job == 1 && ::WaitForSingleObject(event, 20000) != WAIT_OBJECT_0) return -1;
        return counting(job);
      },
      &running_);
  std::vector<int> landed;
  for (int job : {1, 2, 0}) ASSERT_TRUE(queue.Add(job, [&](int result) { landed.push_back(result); }));
  EXPECT_TRUE(queue.Busy());
  ASSERT_TRUE(PumpUntil([&] { return landed.size() == 3; }));
  std::sort(landed.begin(), landed.end());
  EXPECT_EQ(landed, (std::vector<int>{0, 10, 20})) << "job 1 saw job 2 start; job 0 threw";
  EXPECT_FALSE(queue.Busy());
}

// The queue goes while its first job is held: nothing waits, nothing lands,
// the in-order jobs not started are dropped and the workers still end.
TEST_F(WorkerQueueTest, GoingWithJobsOutDeliversNothing) {
  for (win32::WorkerOrder order : {win32::WorkerOrder::InOrder, win32::WorkerOrder::Together}) {
    auto seen = std::make_shared<Seen>();
    win32::UniqueHandleNull gate(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(gate);
    HANDLE event = gate.get();
    auto counting = CountingWork(seen);
    int landed = 0;
    {
      win32::WorkerQueue<int, int> queue(
          ::GetModuleHandleA(nullptr), kClassName, order,
          [event, counting](const int& job) {
            if (job == 1) (void)::WaitForSingleObject(event, 20000);
            return counting(job);
          },
          &running_);
      for (int job = 1; job <= 4; ++job) ASSERT_TRUE(queue.Add(job, [&](int) { ++landed; }));
    }
    ASSERT_TRUE(::SetEvent(event));
    EXPECT_TRUE(PumpUntil([] { return ::InterlockedCompareExchange(&running_, 0, 0) == 0; }));
    win32::DispatchWaitingMessages();
    EXPECT_EQ(landed, 0);
    if (order == win32::WorkerOrder::InOrder) {
      EXPECT_LE(seen->started.size(), 1u) << "queued jobs ran";
    }
  }
}

}  // namespace
}  // namespace corvane::testing
