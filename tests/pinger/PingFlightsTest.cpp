#include "pinger/PingFlights.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/pinger/FakePingServices.h"
#include "tests/support/FakePingService.h"

namespace corvane::testing {
namespace {

struct Landing {
  std::string host;
  bool succeeded;
  unsigned causes;
};

class PingFlightsTest : public ::testing::Test {
 protected:
  FakePingService service;
  std::vector<Landing> landings;
  PingFlights flights{service, 10000, [this](const std::string& host, const PingReport& report,
                                             unsigned causes) {
                        landings.push_back({host, report.succeeded, causes});
                      }};
};

TEST_F(PingFlightsTest, OnePingPerHostWhileItIsOut) {
  // Each row: requests in order (host, cause); echoes that go out; the one
  // landing's causes.
  struct Row {
    const char* name;
    std::vector<std::pair<const char*, PingCause>> requests;
    std::size_t echoes;
    unsigned causes;
  };
  const Row rows[] = {
      {"tick alone", {{"127.0.0.1", kPingCauseTick}}, 1, kPingCauseTick},
      {"Ping Now during a tick's ping",
       {{"127.0.0.1", kPingCauseTick}, {"127.0.0.1", kPingCausePingNow}}, 1,
       kPingCauseTick | kPingCausePingNow},
      {"tick during a Ping Now",
       {{"127.0.0.1", kPingCausePingNow}, {"127.0.0.1", kPingCauseTick}}, 1,
       kPingCauseTick | kPingCausePingNow},
      {"Ping Now pressed twice",
       {{"127.0.0.1", kPingCausePingNow}, {"127.0.0.1", kPingCausePingNow}}, 1, kPingCausePingNow},
      {"the same host in other letters and blanks",
       {{"Host.Example", kPingCauseTick}, {" host.example ", kPingCausePingNow}}, 1,
       kPingCauseTick | kPingCausePingNow},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakePingService fresh;
    std::vector<Landing> landed;
    PingFlights f(fresh, 10000, [&](const std::string& host, const PingReport& report,
                                    unsigned causes) {
      landed.push_back({host, report.succeeded, causes});
    });
    for (auto [host, cause] : row.requests) f.Send(host, cause);
    EXPECT_EQ(fresh.started.size(), row.echoes);
    EXPECT_EQ(fresh.started.front().timeoutMs, 10000u);
    EXPECT_EQ(f.Count(), 1u);
    fresh.LandNext(FakePingService::Answer(1));
    ASSERT_EQ(landed.size(), 1u);
    EXPECT_EQ(landed[0].causes, row.causes);
    EXPECT_EQ(landed[0].host, row.requests.front().first);  // as first asked for
    EXPECT_EQ(f.Count(), 0u);
  }
}

TEST_F(PingFlightsTest, DifferentHostsFlyTogetherAndLandInAnyOrder) {
  EXPECT_TRUE(flights.Send("127.0.0.1", kPingCauseTick));
  EXPECT_TRUE(flights.Send("127.0.0.2", kPingCausePingNow));
  EXPECT_TRUE(flights.InFlight("127.0.0.1"));
  EXPECT_TRUE(flights.InFlight("127.0.0.2"));
  service.Land(1, FakePingService::NoAnswer());
  service.Land(0, FakePingService::Answer(3));
  ASSERT_EQ(landings.size(), 2u);
  EXPECT_EQ(landings[0].host, "127.0.0.2");
  EXPECT_FALSE(landings[0].succeeded);
  EXPECT_EQ(landings[1].host, "127.0.0.1");
  EXPECT_TRUE(landings[1].succeeded);
}

TEST_F(PingFlightsTest, AHostCanBePingedAgainOnceItsPingLanded) {
  EXPECT_TRUE(flights.Send("127.0.0.1", kPingCauseTick));
  service.LandNext(FakePingService::NoAnswer());
  EXPECT_FALSE(flights.InFlight("127.0.0.1"));
  EXPECT_TRUE(flights.Send("127.0.0.1", kPingCausePingNow));
  EXPECT_EQ(service.started.size(), 2u);
  service.LandNext(FakePingService::Answer(2));
  ASSERT_EQ(landings.size(), 2u);
  EXPECT_EQ(landings[1].causes, static_cast<unsigned>(kPingCausePingNow));
}

// A report that lands after the window went is dropped, whether the flights
// were abandoned or destroyed.
TEST_F(PingFlightsTest, NothingLandsAfterAbandonOrDestruction) {
  flights.Send("127.0.0.1", kPingCauseTick);
  flights.Abandon();
  EXPECT_EQ(flights.Count(), 0u);
  EXPECT_FALSE(flights.Send("127.0.0.2", kPingCausePingNow));
  service.LandNext(FakePingService::Answer(1));
  EXPECT_TRUE(landings.empty());

  FakePingService other;
  int landed = 0;
  {
    PingFlights shortLived(other, 10000, [&](const std::string&, const PingReport&, unsigned) {
      ++landed;
    });
    shortLived.Send("127.0.0.1", kPingCauseTick);
  }
  other.LandNext(FakePingService::Answer(1));
  EXPECT_EQ(landed, 0);
}

// The landing may ask again for the same host (a tick that comes due at once).
TEST_F(PingFlightsTest, TheLandingMaySendAgain) {
  FakePingService fresh;
  PingFlights* self = nullptr;
  int landed = 0;
  PingFlights f(fresh, 10000, [&](const std::string& host, const PingReport&, unsigned) {
    if (++landed == 1) {
      EXPECT_TRUE(self->Send(host, kPingCauseTick));
    }
  });
  self = &f;
  f.Send("127.0.0.1", kPingCauseTick);
  fresh.LandNext(FakePingService::NoAnswer());
  EXPECT_EQ(fresh.started.size(), 2u);
  EXPECT_TRUE(f.InFlight("127.0.0.1"));
}

// What a worker runs: mdlPing's answer with the messages collected instead
// of shown.
TEST(RunPing, ReportsTheAnswerAndCollectsTheSocketsMessages) {
  FakeSockets sockets;
  FakeIcmp icmp;
  icmp.roundTripMs = 4;
  PingReport answered = RunPing(sockets, icmp, "127.0.0.1", 10000);
  EXPECT_TRUE(answered.succeeded);
  EXPECT_EQ(answered.roundTripMs, 4u);
  EXPECT_TRUE(answered.messages.empty());
  ASSERT_EQ(icmp.sent.size(), 1u);
  EXPECT_EQ(icmp.sent[0].timeoutMs, 10000u);

  sockets.startupResult.status = 10091;  // WSASYSNOTREADY
  PingReport refused = RunPing(sockets, icmp, "127.0.0.1", 10000);
  EXPECT_FALSE(refused.succeeded);
  ASSERT_EQ(refused.messages.size(), 1u);
  EXPECT_EQ(refused.messages[0].first,
            "Windows Sockets for 32 bit Windows environments is not successfully responding.");
  EXPECT_EQ(sockets.active, 0);
}

}  // namespace
}  // namespace corvane::testing
