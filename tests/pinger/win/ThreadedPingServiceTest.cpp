// The threaded ping service under Wine: real pings on worker threads, the
// report on the thread that asked, nothing after the service is gone, and a
// user-interface thread that keeps answering while the echo waits. Echoes go
// to loopback only; the host that never answers is loopback inside the
// test's own network namespace (tools/suites.d/wine-netns.sh).
#include "pinger/win32/ThreadedPingService.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "tests/pinger/PingContract.h"
#include "tests/pinger/win/ResponsivenessProbe.h"

namespace corvane::testing {
namespace {

// Pumps this thread's messages until done() or the time is up.
template <typename Predicate>
bool PumpUntil(Predicate done, DWORD limitMs) {
  DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > limitMs) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  return true;
}

bool WorkersEnd(DWORD limitMs) {
  return PumpUntil([] { return win32::ThreadedPingService::RunningWorkers() == 0; }, limitMs);
}

// A plain window standing for the program's windows, for the probe.
class ProbeTarget {
 public:
  ProbeTarget() {
    window_ = ::CreateWindowExA(0, "STATIC", "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                ::GetModuleHandleA(nullptr), nullptr);
  }
  ~ProbeTarget() { ::DestroyWindow(window_); }
  HWND get() const { return window_; }

 private:
  HWND window_;
};

TEST(ThreadedPingService, LoopbackLandsOnTheAskingThreadNeverInsideStart) {
  if (InTestNamespace()) GTEST_SKIP() << "loopback ignores echoes in the namespace";
  win32::ThreadedPingService service;
  std::optional<PingReport> report;
  DWORD landedOn = 0;
  bool insideStart = true;
  service.Start("127.0.0.1", 10000, [&](PingReport r) {
    EXPECT_FALSE(insideStart);
    landedOn = ::GetCurrentThreadId();
    report = std::move(r);
  });
  insideStart = false;
  ASSERT_TRUE(PumpUntil([&] { return report.has_value(); }, 15000));
  EXPECT_EQ(landedOn, ::GetCurrentThreadId());
  EXPECT_TRUE(report->succeeded);
  EXPECT_LT(report->roundTripMs, 1000u);
  EXPECT_TRUE(report->messages.empty());
  EXPECT_TRUE(WorkersEnd(5000));
}

TEST(ThreadedPingService, SeveralPingsLandEachOnce) {
  win32::ThreadedPingService service;
  int landed[3] = {0, 0, 0};
  std::optional<bool> malformed;
  service.Start("1.2.3", 1000, [&](PingReport r) { ++landed[0]; malformed = r.succeeded; });
  service.Start("", 1000, [&](PingReport r) { ++landed[1]; EXPECT_FALSE(r.succeeded); });
  service.Start("1.2.x.4", 1000, [&](PingReport r) { ++landed[2]; EXPECT_FALSE(r.succeeded); });
  ASSERT_TRUE(PumpUntil([&] { return landed[0] && landed[1] && landed[2]; }, 10000));
  EXPECT_EQ(malformed, false);
  EXPECT_TRUE(WorkersEnd(5000));
  EXPECT_EQ(landed[0] + landed[1] + landed[2], 3);
}

// The service goes while its ping is out: the destructor does not wait, the
// report is dropped, and the worker still ends on its own.
TEST(ThreadedPingService, GoingWhileAPingIsOutNeitherWaitsNorDelivers) {
  bool delivered = false;
  DWORD took = 0;
  {
    win32::ThreadedPingService service;
    // In the namespace loopback never answers, so the worker is surely
    // still waiting when the service goes; elsewhere it may already be done.
    service.Start("127.0.0.1", 3000, [&](PingReport) { delivered = true; });
    DWORD start = ::GetTickCount();
    // the destructor runs here
    (void)start;
    took = ::GetTickCount();
  }
  took = ::GetTickCount() - took;
  EXPECT_LT(took, 1000u);
  EXPECT_TRUE(WorkersEnd(10000));
  PumpUntil([] { return false; }, 100);  // anything still posted
  EXPECT_FALSE(delivered);
}

// In the namespace: 127.0.0.1 ignores echoes. The ping takes its whole
// timeout, while this thread keeps answering messages.
TEST(ThreadedPingService, SilentHostTimesOutWhileTheThreadKeepsAnswering) {
  if (!InTestNamespace()) GTEST_SKIP() << "needs the network-namespace run";
  ProbeTarget target;
  win32::ThreadedPingService service;
  std::optional<PingReport> report;
  DWORD start = ::GetTickCount();
  ResponsivenessProbe probe(target.get());
  service.Start("127.0.0.1", 3000, [&](PingReport r) { report = std::move(r); });
  ASSERT_TRUE(PumpUntil([&] { return report.has_value(); }, 20000));
  DWORD took = ::GetTickCount() - start;
  probe.Stop();
  EXPECT_FALSE(report->succeeded);
  EXPECT_GE(took, 2500u);
  EXPECT_GT(probe.Answered(), 10);
  EXPECT_FALSE(probe.GaveUp());
  // Far below the echo's 3 s: the thread was never the one waiting.
  EXPECT_LT(probe.LongestMs(), 1000u);
  EXPECT_TRUE(WorkersEnd(5000));
}

}  // namespace
}  // namespace corvane::testing
