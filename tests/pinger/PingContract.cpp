#include "tests/pinger/PingContract.h"

#include <cstdlib>
#include <cstring>

#include "pinger/mdlPing.h"

namespace corvane::testing {

bool InTestNamespace() {
  const char* flag = std::getenv("CORVANE_NETNS");
  return flag != nullptr && std::strcmp(flag, "1") == 0;
}

namespace {

const std::string kLoopbackBytes = std::string("\x7f\x00\x00\x01", 4);
constexpr std::uint32_t kLoopback = 0x0100007Fu;  // 127.0.0.1, first part lowest

// Sends the test payload once to the loopback address through a handle of
// its own, closed again after; the reply lands in `reply`, the count of
// replies in `replies`.
void EchoLoopback(IIcmpService& icmp, std::uint32_t timeoutMs, EchoReplyBuffer& reply,
                  std::uint32_t& replies) {
  std::optional<EchoHandle> handle = icmp.Open();
  ASSERT_TRUE(handle.has_value());
  replies = icmp.Send(*handle, kLoopback, reinterpret_cast<const std::uint8_t*>(kEchoPayload),
                      kEchoPayloadSize, reply.data(), static_cast<std::uint32_t>(reply.size()), timeoutMs);
  EXPECT_TRUE(icmp.Close(*handle));
}

TEST_P(SocketsContract, StartupGrantsVersion11AndSockets) {
  WsaStartupResult started = sockets().Startup(kWinsockVersion11);
  ASSERT_EQ(started.status, 0);
  EXPECT_EQ(started.version, 0x0101);
  EXPECT_GE(started.maxSockets, 1);
  EXPECT_EQ(sockets().Cleanup(), 0);
}

TEST_P(SocketsContract, EachStartupNeedsItsOwnCleanup) {
  ASSERT_EQ(sockets().Startup(kWinsockVersion11).status, 0);
  ASSERT_EQ(sockets().Startup(kWinsockVersion11).status, 0);
  EXPECT_EQ(sockets().Cleanup(), 0);
  EXPECT_EQ(sockets().Cleanup(), 0);
  // One clean-up too many is refused as "not initialised".
  EXPECT_EQ(sockets().Cleanup(), 10093);
}

TEST_P(SocketsContract, ResolvesLocalhostToLoopbackFirst) {
  ASSERT_EQ(sockets().Startup(kWinsockVersion11).status, 0);
  std::vector<std::string> addresses = sockets().GetHostByName("localhost");
  EXPECT_EQ(sockets().Cleanup(), 0);
  ASSERT_FALSE(addresses.empty());
  EXPECT_EQ(addresses.front(), kLoopbackBytes);
}

TEST_P(SocketsContract, DottedTextResolvesToItself) {
  ASSERT_EQ(sockets().Startup(kWinsockVersion11).status, 0);
  std::vector<std::string> addresses = sockets().GetHostByName("127.0.0.1");
  EXPECT_EQ(sockets().Cleanup(), 0);
  ASSERT_EQ(addresses.size(), 1u);
  EXPECT_EQ(addresses.front(), kLoopbackBytes);
}

TEST_P(SocketsContract, UnresolvableNameGivesNoAddress) {
  if (!GetParam().sealedResolver) {
    GTEST_SKIP() << "needs a resolver with no way out (the network-namespace run)";
  }
  ASSERT_EQ(sockets().Startup(kWinsockVersion11).status, 0);
  std::vector<std::string> addresses = sockets().GetHostByName(kUnresolvableName);
  EXPECT_EQ(sockets().Cleanup(), 0);
  EXPECT_TRUE(addresses.empty());
}

TEST_P(EchoContract, HandlesOpenAndClose) {
  std::optional<EchoHandle> first = icmp().Open();
  std::optional<EchoHandle> second = icmp().Open();
  ASSERT_TRUE(first.has_value());
  ASSERT_TRUE(second.has_value());
  EXPECT_NE(*first, *second);
  EXPECT_TRUE(icmp().Close(*first));
  EXPECT_TRUE(icmp().Close(*second));
}

TEST_P(EchoContract, LoopbackEchoesThePayload) {
  if (GetParam().silentLoopback) GTEST_SKIP() << "loopback ignores echoes here";
  EchoReplyBuffer reply{};
  std::uint32_t replies = 0;
  ASSERT_NO_FATAL_FAILURE(EchoLoopback(icmp(), 5000, reply, replies));
  EXPECT_EQ(replies, 1u);
  EXPECT_EQ(EchoReplyStatus(reply), kIpSuccess);
  EXPECT_EQ(EchoReplyAddress(reply), kLoopback);
  EXPECT_EQ(EchoReplyDataSize(reply), kEchoPayloadSize);
  // The echoed data follows the reply record.
  EXPECT_EQ(std::memcmp(reply.data() + kEchoReplyRecordSize, kEchoPayload, kEchoPayloadSize), 0);
}

TEST_P(EchoContract, SilentLoopbackTimesOutWithoutAReply) {
  if (!GetParam().silentLoopback) {
    GTEST_SKIP() << "needs a loopback that ignores echoes (the network-namespace run)";
  }
  EchoReplyBuffer reply{};
  std::uint32_t replies = 0;
  ASSERT_NO_FATAL_FAILURE(EchoLoopback(icmp(), 300, reply, replies));
  EXPECT_EQ(replies, 0u);
  EXPECT_EQ(EchoReplyStatus(reply), kIpReqTimedOut);
}

}  // namespace
}  // namespace corvane::testing
