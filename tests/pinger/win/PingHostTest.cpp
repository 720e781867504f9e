// Real pings under Wine: wsock32 and icmp.dll, with a recording message sink
// so that a Windows Sockets failure shows up as a test failure instead of a
// message box nobody closes. Echo requests go to loopback only; the cases
// that need a silent host or a sealed resolver run inside the test's own
// network namespace (tools/suites.d/wine-netns.sh).
#include <windows.h>

#include <gtest/gtest.h>

#include "pinger/mdlPing.h"
#include "pinger/win32/Win32PingServices.h"
#include "tests/pinger/FakePingServices.h"
#include "tests/pinger/PingContract.h"

namespace corvane::testing {
namespace {

class RealPing : public ::testing::Test {
 protected:
  win32::Win32Sockets sockets;
  win32::Win32Icmp icmp;
  RecordingMessages messages;
  mdlPing ping{sockets, icmp, messages};
};

TEST_F(RealPing, IcmpServiceIsThere) { EXPECT_TRUE(icmp.Available()); }

TEST_F(RealPing, LoopbackAnswers) {
  if (InTestNamespace()) GTEST_SKIP() << "loopback ignores echoes in the namespace";
  EXPECT_TRUE(ping.PingHost("127.0.0.1", 10000));
  EXPECT_TRUE(ping.PingHost("localhost", 10000));
  EXPECT_TRUE(ping.PingHost(" 127.0.0.1 ", 10000));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RealPing, MalformedAndZeroAddressesFailQuickly) {
  EXPECT_FALSE(ping.PingHost("1.2.3", 1000));
  EXPECT_FALSE(ping.PingHost("1.2.3.4.5", 1000));
  EXPECT_FALSE(ping.PingHost("1.2.x.4", 1000));
  EXPECT_FALSE(ping.PingHost("", 1000));
  EXPECT_TRUE(messages.shown.empty());
}

// The sockets are started and cleaned up in pairs: after a run of pings the
// process holds no start-up, so one clean-up more is refused.
TEST_F(RealPing, LeavesNoSocketsStartupBehind) {
  (void)ping.PingHost("1.2.3", 1000);
  (void)ping.PingHost("localhost", 1000);
  EXPECT_EQ(sockets.Cleanup(), 10093);
}

TEST_F(RealPing, SilentHostFailsAfterAboutTheTimeout) {
  if (!InTestNamespace()) GTEST_SKIP() << "needs the network-namespace run";
  DWORD start = ::GetTickCount();
  EXPECT_FALSE(ping.PingHost("127.0.0.1", 1500));
  DWORD took = ::GetTickCount() - start;
  EXPECT_GE(took, 1200u);
  EXPECT_LE(took, 6000u);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RealPing, UnresolvableNameFails) {
  if (!InTestNamespace()) GTEST_SKIP() << "needs the network-namespace run (no way out)";
  EXPECT_FALSE(ping.PingHost(kUnresolvableName, 1500));
  EXPECT_FALSE(ping.PingHost("corvane-nowhere", 1500));
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace corvane::testing
