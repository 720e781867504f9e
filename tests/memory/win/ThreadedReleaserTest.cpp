// Claims off the user-interface thread: in the order asked, one at a time,
// each ending on the asking thread; Busy until the last has ended; a
// releaser going away with claims in flight neither waits nor reports.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "memory/win32/ThreadedMemoryReleaser.h"
#include "platform/win32/MessagePump.h"
#include "tests/support/WholeFile.h"

namespace corvane::testing {
namespace {

constexpr std::int32_t kMegabyte = 1048576;

class ThreadedReleaserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH] = {};
    ::GetTempPathA(sizeof folder, folder);
    log_ = std::string(folder) + "corvane-claims-" + std::to_string(::GetCurrentProcessId()) + ".log";
    ::DeleteFileA(log_.c_str());
  }
  void TearDown() override { ::DeleteFileA(log_.c_str()); }

  // Dispatches this thread's messages until the predicate holds (20 s at most).
  static bool PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 2000 && !done(); ++i) {
      win32::DispatchWaitingMessages();
      ::Sleep(10);
    }
    return done();
  }
  std::string Log() const {
    return ReadWholeFile(log_).value_or("");
  }

  std::string log_;
};

TEST_F(ThreadedReleaserTest, ClaimsEndInTheOrderAskedOnTheAskingThread) {
  win32::ThreadedMemoryReleaser releaser(::GetModuleHandleA(nullptr), log_);
  const DWORD thread = ::GetCurrentThreadId();
  std::vector<int> ended;
  bool otherThread = false;
  for (int i = 1; i <= 3; ++i) {
    releaser.FreeUpMemory(i * kMegabyte, [&, i] {
      ended.push_back(i);
      otherThread |= ::GetCurrentThreadId() != thread;
    });
  }
  EXPECT_TRUE(releaser.Busy());
  EXPECT_TRUE(ended.empty()) << "nothing ends before the asking thread takes its messages";
  ASSERT_TRUE(PumpUntil([&] { return ended.size() == 3; }));
  EXPECT_EQ(ended, (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(otherThread);
  EXPECT_FALSE(releaser.Busy());
  EXPECT_EQ(Log(), "FreeUpMemory 1048576\r\nFreeUpMemory 2097152\r\nFreeUpMemory 3145728\r\n");
  EXPECT_TRUE(PumpUntil([] { return win32::ThreadedMemoryReleaser::RunningWorkers() == 0; }));
}

TEST_F(ThreadedReleaserTest, RealClaimsAndEmptyOnesAllEnd) {
  win32::ThreadedMemoryReleaser releaser;
  int ended = 0;
  releaser.FreeUpMemory(64 * kMegabyte, [&] { ++ended; });
  releaser.FreeUpMemory(0, [&] { ++ended; });  // nothing to claim: ends all the same
  releaser.FreeUpMemory(-5, [&] { ++ended; });
  ASSERT_TRUE(PumpUntil([&] { return ended == 3; }));
  EXPECT_FALSE(releaser.Busy());
  EXPECT_TRUE(Log().empty()) << "no log asked for";
}

// The wake-up of an ended claim cannot be posted (here the mailbox's window
// went while the claim ran; a full queue does the same): the claim still
// ends, once, and the releaser is not left busy.
TEST_F(ThreadedReleaserTest, AClaimWhoseWakeUpCannotBePostedStillEnds) {
  win32::ThreadedMemoryReleaser releaser;
  HWND mailbox = ::FindWindowA("CorvaneMemoryReleaser", nullptr);
  ASSERT_NE(mailbox, nullptr);
  int ended = 0;
  releaser.FreeUpMemory(64 * kMegabyte, [&] { ++ended; });
  ASSERT_TRUE(::DestroyWindow(mailbox));
  for (int i = 0; i < 2000 && win32::ThreadedMemoryReleaser::RunningWorkers() != 0; ++i) ::Sleep(10);
  ASSERT_EQ(win32::ThreadedMemoryReleaser::RunningWorkers(), 0);
  win32::DispatchWaitingMessages();
  EXPECT_FALSE(releaser.Busy()) << "busy for good";
  EXPECT_EQ(ended, 1);
  win32::DispatchWaitingMessages();
  EXPECT_FALSE(releaser.Busy());
  EXPECT_EQ(ended, 1);
}

TEST_F(ThreadedReleaserTest, GoingAwayWithClaimsInFlightReportsNothingAndWaitsForNothing) {
  int ended = 0;
  {
    win32::ThreadedMemoryReleaser releaser;
    for (int i = 0; i < 4; ++i) releaser.FreeUpMemory(256 * kMegabyte, [&] { ++ended; });
  }
  // The queued claims were dropped; the one in flight ends on its own.
  EXPECT_TRUE(PumpUntil([] { return win32::ThreadedMemoryReleaser::RunningWorkers() == 0; }));
  EXPECT_EQ(ended, 0);
}

TEST_F(ThreadedReleaserTest, TheProgramsReleaserLogsWhenTheVariableNamesAFile) {
  ASSERT_TRUE(::SetEnvironmentVariableA(win32::kClaimLogVariable, log_.c_str()));
  auto releaser = win32::MakeMemoryReleaser(::GetModuleHandleA(nullptr));
  ::SetEnvironmentVariableA(win32::kClaimLogVariable, nullptr);
  bool ended = false;
  releaser->FreeUpMemory(10 * kMegabyte, [&] { ended = true; });
  ASSERT_TRUE(PumpUntil([&] { return ended; }));
  EXPECT_EQ(Log(), "FreeUpMemory 10485760\r\n");
}

}  // namespace
}  // namespace corvane::testing
