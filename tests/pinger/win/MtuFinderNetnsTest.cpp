// The MTU finder against real paths, under Wine: the namespaces of
// tools/lib/mtu-netns.sh give hosts whose path MTU is known (1400, 1500)
// and one that never answers. The lane hook tools/suites.d/wine-mtu-netns.sh
// names them in CORVANE_MTU_HOSTS ("address=mtu", "address=none"); without
// it these tests are skipped. Echoes go only to those hosts.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "pinger/MtuFinder.h"
#include "pinger/win32/ThreadedMtuFinder.h"
#include "pinger/win32/Win32PingServices.h"

namespace corvane::testing {
namespace {

struct MtuHost {
  std::string address;
  std::uint16_t mtu;  // 0: never answers
};

std::vector<MtuHost> TestHosts() {
  std::vector<MtuHost> hosts;
  const char* text = std::getenv("CORVANE_MTU_HOSTS");
  if (text == nullptr) return hosts;
  std::istringstream words(text);
  std::string word;
  while (words >> word) {
    const std::size_t equals = word.find('=');
    if (equals == std::string::npos) continue;
    const std::string size = word.substr(equals + 1);
    hosts.push_back({word.substr(0, equals),
                     size == "none" ? std::uint16_t{0} : static_cast<std::uint16_t>(std::stoi(size))});
  }
  return hosts;
}

// Short probes: the namespaces answer within a millisecond.
constexpr std::uint32_t kTestTimeoutMs = 250;

class MtuFinderOnWine : public ::testing::Test {
 protected:
  void SetUp() override {
    hosts_ = TestHosts();
    if (hosts_.empty()) GTEST_SKIP() << "no MTU test network (tools/suites.d/wine-mtu-netns.sh)";
  }
  std::vector<MtuHost> hosts_;
};

TEST_F(MtuFinderOnWine, FindsEachPathsMtuOrSaysTheHostDoesNotAnswer) {
  for (const MtuHost& host : hosts_) {
    win32::Win32Sockets sockets;
    win32::Win32Icmp icmp;
    ASSERT_TRUE(icmp.Available());
    MtuFinderHooks hooks;
    hooks.nowMs = [] { return static_cast<std::uint64_t>(::GetTickCount()); };
    MtuFinder finder(sockets, icmp, hooks, kTestTimeoutMs);
    const MtuReport report = finder.Run(host.address);
    SCOPED_TRACE(host.address + ": " + MtuReportText(report));
    if (host.mtu == 0) {
      EXPECT_EQ(report.outcome, MtuOutcome::NoAnswer);
      EXPECT_EQ(report.probes, 2);
    } else {
      EXPECT_EQ(report.outcome, MtuOutcome::Found);
      EXPECT_EQ(report.mtu, host.mtu);
      EXPECT_LE(report.probes, 2 * 13);
    }
  }
}

TEST_F(MtuFinderOnWine, TheThreadedFinderReportsEachSizeThenTheResultOnThisThread) {
  const MtuHost& host = hosts_.front();
  win32::ThreadedMtuFinder search(::GetModuleHandleA(nullptr), kTestTimeoutMs);
  std::vector<std::uint16_t> tried;
  std::optional<MtuReport> report;
  const DWORD thread = ::GetCurrentThreadId();
  DWORD landedOn = 0;
  search.Start(
      host.address, [&](std::uint16_t size) { tried.push_back(size); },
      [&](MtuReport r) {
        landedOn = ::GetCurrentThreadId();
        report = std::move(r);
      });
  const DWORD start = ::GetTickCount();
  while (!report && ::GetTickCount() - start < 30000) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
  }
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(landedOn, thread);
  EXPECT_EQ(report->mtu, host.mtu);
  ASSERT_FALSE(tried.empty());
  EXPECT_EQ(tried.front(), 576);
  EXPECT_EQ(static_cast<int>(tried.size()), report->probes);
}

TEST_F(MtuFinderOnWine, ANameThatDoesNotResolveSendsNothing) {
  win32::Win32Sockets sockets;
  win32::Win32Icmp icmp;
  MtuFinder finder(sockets, icmp, {}, kTestTimeoutMs);
  const MtuReport report = finder.Run("corvane-nowhere.invalid");
  EXPECT_EQ(report.outcome, MtuOutcome::HostNotFound);
  EXPECT_EQ(report.probes, 0);
}

}  // namespace
}  // namespace corvane::testing
