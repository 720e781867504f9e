// The MTU finder's search against a scripted echo path (FakeIcmp's
// SendWithOptions): paths that report "packet too big" and paths that drop
// what they cannot pass, timeouts that clear on a retry and ones that do
// not, a path that shrinks during the search, and cancellation.
#include "pinger/MtuFinder.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/pinger/FakePingServices.h"

namespace corvane {
namespace {

using testing::FakeIcmp;
using testing::FakeSockets;

class MtuFinderTest : public ::testing::Test {
 protected:
  MtuReport Find(const std::string& host = "127.0.0.1") {
    MtuFinderHooks hooks;
    hooks.trying = [this](std::uint16_t size) { tried.push_back(size); };
    hooks.cancelled = [this] { return cancelAfter >= 0 && static_cast<int>(icmp.probed.size()) >= cancelAfter; };
    hooks.nowMs = [this] { return clock += 250; };
    MtuFinder finder(sockets, icmp, hooks, 300);
    return finder.Run(host);
  }

  FakeSockets sockets;
  FakeIcmp icmp;
  std::vector<std::uint16_t> tried;
  int cancelAfter = -1;
  std::uint64_t clock = 0;
};

struct PathCase {
  const char* name;
  std::uint16_t pathPayload;
  bool pathReports;
  std::uint16_t mtu;
};

class MtuFinderPaths : public MtuFinderTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(MtuFinderPaths, FindsTheLargestPacketThatPasses) {
  icmp.pathPayload = GetParam().pathPayload;
  icmp.pathReports = GetParam().pathReports;
  const MtuReport report = Find();
  EXPECT_EQ(report.outcome, MtuOutcome::Found);
  EXPECT_EQ(report.mtu, GetParam().mtu);
  EXPECT_EQ(report.probes, static_cast<int>(icmp.probed.size()));
  // Bisection: the two ends, at most 10 halvings, each sent twice at most.
  EXPECT_LE(report.probes, 2 * (2 + 10 + 1));
  for (const FakeIcmp::Probed& p : icmp.probed) {
    EXPECT_EQ(p.options.flags & kIpFlagDontFragment, kIpFlagDontFragment);
    EXPECT_GE(p.payload, kMtuSmallestPayload);
    EXPECT_LE(p.payload, kMtuLargestPayload);
    EXPECT_EQ(p.timeoutMs, 300u);
  }
  ASSERT_EQ(tried.size(), icmp.probed.size());
  for (std::size_t i = 0; i < tried.size(); ++i) EXPECT_EQ(tried[i], icmp.probed[i].payload + 28);
  EXPECT_TRUE(icmp.open.empty());
  EXPECT_EQ(sockets.active, 0);
  EXPECT_EQ(report.elapsedMs, clock - 250);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, MtuFinderPaths,
    ::testing::Values(PathCase{"Ethernet", 1472, true, 1500}, PathCase{"Wider", 8972, false, 1500},
                      PathCase{"Pppoe", 1464, true, 1492}, PathCase{"Veth1400Silent", 1372, false, 1400},
                      PathCase{"Veth1400Reported", 1372, true, 1400},
                      PathCase{"JustAboveSmallest", 549, false, 577},
                      PathCase{"Smallest", 548, true, 576}, PathCase{"OneBelowLargest", 1471, false, 1499}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(MtuFinderTest, TooBigRepliesAreNotRetried) {
  icmp.pathPayload = 1372;
  icmp.pathReports = true;
  const MtuReport report = Find();
  for (std::size_t i = 1; i < icmp.probed.size(); ++i) {
    EXPECT_NE(icmp.probed[i].payload, icmp.probed[i - 1].payload) << "probe " << i;
  }
  EXPECT_EQ(report.mtu, 1400);
}

TEST_F(MtuFinderTest, AnUnansweredProbeIsTooBigOnlyAfterARetry) {
  icmp.pathPayload = 1372;
  icmp.pathReports = false;
  const MtuReport report = Find();
  int pairs = 0;
  for (std::size_t i = 1; i < icmp.probed.size(); ++i) {
    if (icmp.probed[i].payload == icmp.probed[i - 1].payload) {
      ++pairs;
      EXPECT_GT(icmp.probed[i].payload, 1372) << "only sizes the path drops are sent twice";
    }
  }
  EXPECT_GT(pairs, 0);
  EXPECT_EQ(report.mtu, 1400);
}

TEST_F(MtuFinderTest, ATimeoutThatClearsOnRetryLosesNothing) {
  for (int dropAt : {0, 1, 2, 5}) {
    FakeIcmp fresh;
    fresh.pathPayload = 1372;
    fresh.onProbe = [&fresh, dropAt](std::size_t probe) {
      if (probe == static_cast<std::size_t>(dropAt)) fresh.dropNext = 1;
    };
    FakeSockets freshSockets;
    MtuFinder finder(freshSockets, fresh, {}, 300);
    const MtuReport report = finder.Run("127.0.0.1");
    EXPECT_EQ(report.outcome, MtuOutcome::Found) << dropAt;
    EXPECT_EQ(report.mtu, 1400) << dropAt;
  }
}

TEST_F(MtuFinderTest, ASmallestProbeUnansweredTwiceIsNoAnswer) {
  icmp.mode = FakeIcmp::Mode::Silent;
  const MtuReport report = Find();
  EXPECT_EQ(report.outcome, MtuOutcome::NoAnswer);
  EXPECT_EQ(report.mtu, 0);
  EXPECT_EQ(report.probes, 2);
  EXPECT_NE(MtuReportText(report).find("does not answer"), std::string::npos);
  EXPECT_TRUE(icmp.open.empty());
}

TEST_F(MtuFinderTest, ASmallestProbeUnansweredOnceIsRetried) {
  icmp.pathPayload = 1472;
  icmp.dropNext = 1;
  const MtuReport report = Find();
  EXPECT_EQ(report.outcome, MtuOutcome::Found);
  EXPECT_EQ(report.mtu, 1500);
  EXPECT_EQ(report.probes, 3);
}

TEST_F(MtuFinderTest, APathTooNarrowForTheSmallestProbeGivesNoSize) {
  icmp.pathPayload = 500;
  const MtuReport report = Find();
  EXPECT_EQ(report.outcome, MtuOutcome::BelowSmallest);
  EXPECT_EQ(report.mtu, 0);
}

TEST_F(MtuFinderTest, APathThatShrinksDuringTheSearchIsFollowed) {
  // 1500 until the fourth probe, then 1028: the sizes that passed early no
  // longer do, and the check at the end finds that out.
  icmp.pathPayload = 1372;
  icmp.pathReports = true;
  icmp.onProbe = [this](std::size_t probe) {
    if (probe == 4) icmp.pathPayload = 1000;
  };
  const MtuReport report = Find();
  EXPECT_EQ(report.outcome, MtuOutcome::Found);
  EXPECT_EQ(report.mtu, 1028);
  EXPECT_TRUE(report.pathChanged);
}

TEST_F(MtuFinderTest, APathThatWidensDuringTheSearchKeepsWhatPassed) {
  icmp.pathPayload = 1000;
  icmp.onProbe = [this](std::size_t probe) {
    if (probe == 3) icmp.pathPayload = 1472;
  };
  const MtuReport report = Find();
  EXPECT_EQ(report.outcome, MtuOutcome::Found);
  EXPECT_GE(report.mtu, 1028);
  EXPECT_FALSE(report.pathChanged);
}

TEST_F(MtuFinderTest, CancellingStopsBeforeTheNextProbe) {
  for (int after : {0, 1, 3, 7}) {
    FakeIcmp fresh;
    fresh.pathPayload = 1372;
    FakeSockets freshSockets;
    MtuFinderHooks hooks;
    hooks.cancelled = [&] { return static_cast<int>(fresh.probed.size()) >= after; };
    MtuFinder finder(freshSockets, fresh, hooks, 300);
    const MtuReport report = finder.Run("127.0.0.1");
    EXPECT_EQ(report.outcome, MtuOutcome::Cancelled) << after;
    EXPECT_EQ(report.mtu, 0) << after;
    EXPECT_EQ(static_cast<int>(fresh.probed.size()), after);
    EXPECT_TRUE(fresh.open.empty());
    EXPECT_EQ(freshSockets.active, 0);
  }
}

struct FailureCase {
  const char* name;
  const char* host;
  bool openFails;
  MtuOutcome outcome;
  const char* text;
};

class MtuFinderFailures : public MtuFinderTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(MtuFinderFailures, SendsNothingAndSaysWhy) {
  icmp.openFails = GetParam().openFails;
  const MtuReport report = Find(GetParam().host);
  EXPECT_EQ(report.outcome, GetParam().outcome);
  EXPECT_TRUE(icmp.probed.empty());
  EXPECT_NE(MtuReportText(report).find(GetParam().text), std::string::npos) << MtuReportText(report);
  EXPECT_EQ(sockets.active, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, MtuFinderFailures,
    ::testing::Values(
        FailureCase{"Empty", "   ", false, MtuOutcome::HostNotFound, "could not be found"},
        FailureCase{"UnknownDomain", "nowhere.invalid", false, MtuOutcome::HostNotFound, "\"nowhere.invalid\" could not be found"},
        FailureCase{"UnknownName", "nowhere", false, MtuOutcome::HostNotFound, "could not be found"},
        FailureCase{"FiveParts", "1.2.3.4.5", false, MtuOutcome::HostNotFound, "could not be found"},
        FailureCase{"NoIcmpLibrary", "127.0.0.1", true, MtuOutcome::NoIcmp, "icmp.dll"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(MtuFinderTest, SocketsThatWillNotStartGiveThePingersMessage) {
  sockets.startupResult.status = 10091;
  const MtuReport report = Find();
  EXPECT_EQ(report.outcome, MtuOutcome::NoSockets);
  EXPECT_EQ(MtuReportText(report), "Windows Sockets for 32 bit Windows environments is not successfully responding.");
}

TEST_F(MtuFinderTest, ANameIsResolvedFirst) {
  icmp.pathPayload = 1472;
  const MtuReport report = Find(" localhost ");
  EXPECT_EQ(report.outcome, MtuOutcome::Found);
  EXPECT_EQ(report.host, "localhost");
  EXPECT_NE(MtuReportText(report).find("allows 1500 bytes"), std::string::npos);
}

TEST_F(MtuFinderTest, TheReportSaysTheSizeTheProbesAndTheTime) {
  MtuReport report;
  report.outcome = MtuOutcome::Found;
  report.host = "10.77.0.2";
  report.mtu = 1400;
  report.probes = 17;
  report.elapsedMs = 10250;
  EXPECT_EQ(MtuReportText(report),
            "The largest packet that reaches \"10.77.0.2\" unfragmented is 1400 bytes: an MTU of "
            "1400 suits this path. (17 probes in 10.2 s)");
  EXPECT_EQ(MtuTryingText(1400), "Trying 1400-byte packets...");
}

}  // namespace
}  // namespace corvane
