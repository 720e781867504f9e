#include "pinger/mdlPing.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "tests/pinger/FakePingServices.h"

namespace corvane::testing {
namespace {

constexpr std::uint32_t kLoopback = 0x0100007Fu;

class PingTest : public ::testing::Test {
 protected:
  // Every start-up cleaned up, every echo handle closed, whatever the path.
  void TearDown() override {
    EXPECT_EQ(sockets.active, 0) << "a successful WSAStartup was not cleaned up";
    EXPECT_TRUE(icmp.open.empty()) << "an echo handle was left open";
  }

  FakeSockets sockets;
  FakeIcmp icmp;
  RecordingMessages messages;
  int yields = 0;
  mdlPing ping{sockets, icmp, messages, [this] { ++yields; }};
};

// --- ParseDottedAddress -----------------------------------------------------

TEST_F(PingTest, DottedTextPutsTheFirstPartInTheLowestByte) {
  EXPECT_EQ(ping.ParseDottedAddress("127.0.0.1"), kLoopback);
  EXPECT_EQ(ping.ParseDottedAddress("10.20.30.40"), 0x281E140Au);
  EXPECT_EQ(sockets.startupCalls, 0) << "dotted text needs no resolver";
}

TEST_F(PingTest, OnlyTheLowEightBitsOfEachPartCount) {
  EXPECT_EQ(ping.ParseDottedAddress("256.1.1.1"), 0x01010100u);
  EXPECT_EQ(ping.ParseDottedAddress("511.1.1.1"), 0x010101FFu);
  EXPECT_EQ(ping.ParseDottedAddress("-1.0.0.1"), 0x010000FFu);
}

TEST_F(PingTest, FewerThanFourPartsGiveAddressZero) {
  EXPECT_EQ(ping.ParseDottedAddress("1.2.3"), 0u);
  EXPECT_EQ(ping.ParseDottedAddress("1.x"), 0u);
  EXPECT_EQ(ping.ParseDottedAddress("123.example.com"), 0u);
}

TEST_F(PingTest, MalformedDottedTextIsAnError) {
  EXPECT_EQ(ping.ParseDottedAddress("1.2.3.4.5"), std::nullopt);
  EXPECT_EQ(ping.ParseDottedAddress("1.2.3.4."), std::nullopt);
  EXPECT_EQ(ping.ParseDottedAddress("1.2.x.4"), std::nullopt);
  EXPECT_EQ(ping.ParseDottedAddress("1..3.4"), std::nullopt);
  EXPECT_EQ(ping.ParseDottedAddress("1.2.3.99999999999"), std::nullopt);
}

TEST_F(PingTest, TextWithoutADotIsResolvedToItsFirstAddress) {
  sockets.hosts["gateway"] = {RawAddress(192, 168, 0, 1), RawAddress(10, 0, 0, 1)};
  EXPECT_EQ(ping.ParseDottedAddress("gateway"), 0x0100A8C0u);
  EXPECT_EQ(ping.ParseDottedAddress("nowhere"), 0u);
}

// --- PingHost ---------------------------------------------------------------

TEST_F(PingTest, LoopbackAnswersWithThePayloadAndTheWholeBuffer) {
  EXPECT_TRUE(ping.PingHost("127.0.0.1", 10000));
  ASSERT_EQ(icmp.sent.size(), 1u);
  EXPECT_EQ(icmp.sent[0].address, kLoopback);
  EXPECT_EQ(icmp.sent[0].payload, "Echo This");
  EXPECT_EQ(icmp.sent[0].replySize, 278u);
  EXPECT_EQ(icmp.sent[0].timeoutMs, 10000u);
  EXPECT_EQ(sockets.requested.front(), 0x0101);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PingTest, EmptyOrBlankHostFailsWithoutStartingSockets) {
  EXPECT_FALSE(ping.PingHost("", 10000));
  EXPECT_FALSE(ping.PingHost("    ", 10000));
  EXPECT_EQ(sockets.startupCalls, 0);
  EXPECT_EQ(yields, 0);
}

TEST_F(PingTest, BlanksAroundTheHostAreIgnored) {
  EXPECT_TRUE(ping.PingHost("  127.0.0.1  ", 10000));
}

TEST_F(PingTest, NameWithDomainIsResolvedAndOnlyTheFirstAddressPinged) {
  sockets.hosts["box.example.org"] = {RawAddress(127, 0, 0, 9), RawAddress(127, 0, 0, 10)};
  EXPECT_TRUE(ping.PingHost("box.example.org", 10000));
  ASSERT_EQ(icmp.sent.size(), 1u);
  EXPECT_EQ(icmp.sent[0].address, 0x0900007Fu);
  // The resolver's own start-up nests inside the ping's.
  EXPECT_EQ(sockets.deepest, 2);
}

TEST_F(PingTest, NameWithoutADotIsResolvedWhileParsing) {
  EXPECT_TRUE(ping.PingHost("localhost", 10000));
  ASSERT_EQ(icmp.sent.size(), 1u);
  EXPECT_EQ(icmp.sent[0].address, kLoopback);
  EXPECT_EQ(sockets.lookups, std::vector<std::string>{"localhost"});
}

TEST_F(PingTest, UnresolvableNameFailsQuietlyWithoutAnEcho) {
  EXPECT_FALSE(ping.PingHost("nowhere.invalid", 10000));
  EXPECT_FALSE(ping.PingHost("nowhere", 10000));
  EXPECT_EQ(icmp.openCalls, 0);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PingTest, NumericFirstPartIsTakenAsAnAddressNotAName) {
  EXPECT_FALSE(ping.PingHost("123.example.com", 10000));
  EXPECT_TRUE(sockets.lookups.empty());
  // Its address is 0, which is never sent to.
  EXPECT_TRUE(icmp.sent.empty());
}

TEST_F(PingTest, MalformedAddressesFailWithoutAMessage) {
  EXPECT_FALSE(ping.PingHost("1.2.3.4.5", 10000));
  EXPECT_FALSE(ping.PingHost("1.2.x.4", 10000));
  EXPECT_FALSE(ping.PingHost("1.2.3", 10000));
  EXPECT_TRUE(icmp.sent.empty());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(sockets.startupCalls, sockets.cleanupCalls);
}

TEST_F(PingTest, TimeOutAndErrorStatusesFail) {
  EXPECT_FALSE(ping.PingHost("10.1.2.3", 500));  // the fake answers loopback only
  icmp.mode = FakeIcmp::Mode::Silent;
  EXPECT_FALSE(ping.PingHost("127.0.0.1", 500));
  icmp.mode = FakeIcmp::Mode::ErrorStatus;
  EXPECT_FALSE(ping.PingHost("127.0.0.1", 500));
  EXPECT_TRUE(messages.shown.empty());
}

// A failed request can leave the cleared buffer alone, and a cleared buffer
// reads as status 0: the count of replies must decide too.
TEST_F(PingTest, FailureThatLeavesTheClearedBufferIsNotSuccess) {
  icmp.mode = FakeIcmp::Mode::Untouched;
  EXPECT_FALSE(ping.PingHost("127.0.0.1", 500));
  EXPECT_EQ(icmp.sent.size(), 1u);
}

// The round trip comes from the reply that decided; no answer reports none.
TEST_F(PingTest, PingReportsTheRoundTripOfAnAnswerOnly) {
  icmp.roundTripMs = 37;
  PingAnswer answered = ping.Ping("127.0.0.1", 500);
  EXPECT_TRUE(answered.succeeded);
  EXPECT_EQ(answered.roundTripMs, 37u);
  for (FakeIcmp::Mode mode : {FakeIcmp::Mode::Silent, FakeIcmp::Mode::ErrorStatus}) {
    icmp.mode = mode;
    PingAnswer silent = ping.Ping("127.0.0.1", 500);
    EXPECT_FALSE(silent.succeeded);
    EXPECT_EQ(silent.roundTripMs, 0u);
  }
  EXPECT_FALSE(ping.Ping("  ", 500).succeeded);
}

TEST_F(PingTest, EchoServiceThatWillNotOpenFails) {
  icmp.openFails = true;
  EXPECT_FALSE(ping.PingHost("127.0.0.1", 500));
}

TEST_F(PingTest, YieldsSurroundTheBlockingEcho) {
  std::vector<std::string> events;
  icmp.onEvent = [&](const char* what) { events.emplace_back(what); };
  mdlPing observed(sockets, icmp, messages, [&] { events.emplace_back("yield"); });
  EXPECT_TRUE(observed.PingHost("127.0.0.1", 500));
  const std::vector<std::string> aroundEcho{"open",  "yield", "yield", "yield", "send",
                                            "yield", "yield", "yield", "close"};
  auto at = std::search(events.begin(), events.end(), aroundEcho.begin(), aroundEcho.end());
  EXPECT_NE(at, events.end());
  EXPECT_EQ(events.front(), "yield") << "the window gets a turn before sockets start";
}

// A run-time error anywhere ends the ping with False; what was started is
// still cleaned up and closed.
TEST_F(PingTest, RunTimeErrorsEndThePingCleanly) {
  int calls = 0;
  mdlPing failing(sockets, icmp, messages, [&] {
    if (++calls == 7) throw std::runtime_error("window gone");  // between open and send
  });
  EXPECT_FALSE(failing.PingHost("127.0.0.1", 500));
  EXPECT_EQ(icmp.openCalls, 1);

  sockets.onLookup = [] { throw std::bad_alloc(); };
  EXPECT_FALSE(ping.PingHost("box.example.org", 500));
  EXPECT_FALSE(ping.PingHost("localhost", 500));
  EXPECT_TRUE(messages.shown.empty());
}

// --- Windows Sockets messages -----------------------------------------------

TEST_F(PingTest, SocketsThatDoNotRespondAreReported) {
  sockets.startupResult = {10091, 0, 0};  // WSASYSNOTREADY
  EXPECT_FALSE(ping.PingHost("127.0.0.1", 500));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            "Windows Sockets for 32 bit Windows environments is not successfully responding.");
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
  EXPECT_EQ(sockets.cleanupCalls, 0) << "nothing started, nothing to clean";
  EXPECT_TRUE(icmp.sent.empty());
}

TEST_F(PingTest, TooOldAVersionIsReportedAndItsStartupUndone) {
  sockets.startupResult = {0, 0x0001, 100};  // 1.0
  EXPECT_FALSE(ping.PingHost("127.0.0.1", 500));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            "Windows Sockets Version 1.0 is not supported by Windows Sockets for 32 bit Windows "
            "environments.");
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
  EXPECT_EQ(sockets.cleanupCalls, 1);

  sockets.startupResult = {0, 0x0000, 100};
  EXPECT_FALSE(ping.StartSockets());
  EXPECT_EQ(messages.shown.back().text.substr(0, 28), "Windows Sockets Version 0.0 ");
}

TEST_F(PingTest, NewerVersionsAreAccepted) {
  sockets.startupResult = {0, 0x0002, 100};  // 2.0
  EXPECT_TRUE(ping.StartSockets());
  ping.StopSockets();
  sockets.startupResult = {0, 0x0201, 100};  // 1.2
  EXPECT_TRUE(ping.PingHost("127.0.0.1", 500));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PingTest, TooFewSocketsAreReportedAndTheStartupUndone) {
  sockets.startupResult = {0, 0x0101, 0};
  EXPECT_FALSE(ping.PingHost("127.0.0.1", 500));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "This application requires a minimum of 1 supported sockets.");
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
}

TEST_F(PingTest, FailedCleanupIsReportedButDoesNotChangeTheAnswer) {
  sockets.cleanupFailure = 10093;
  EXPECT_TRUE(ping.PingHost("127.0.0.1", 500));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Windows Sockets error 10093 occurred in Cleanup.");
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
}

TEST_F(PingTest, ResolverGivesEveryAddressAsDottedText) {
  sockets.hosts["multi.example.org"] = {RawAddress(10, 0, 0, 255), RawAddress(192, 168, 1, 2)};
  std::optional<std::vector<std::string>> addresses = ping.ResolveHostAddresses("multi.example.org");
  ASSERT_TRUE(addresses.has_value());
  EXPECT_EQ(*addresses, (std::vector<std::string>{"10.0.0.255", "192.168.1.2"}));
  EXPECT_EQ(ping.ResolveHostAddresses("nowhere.invalid"), std::vector<std::string>{});

  sockets.startupResult = {10091, 0, 0};
  EXPECT_EQ(ping.ResolveHostAddresses("multi.example.org"), std::nullopt);
}

}  // namespace
}  // namespace corvane::testing
