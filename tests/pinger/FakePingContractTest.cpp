#include "tests/pinger/FakePingServices.h"
#include "tests/pinger/PingContract.h"

namespace corvane::testing {
namespace {

INSTANTIATE_TEST_SUITE_P(Fake, SocketsContract,
                         ::testing::Values(SocketsEnvironment{
                             "FakeSockets", [] { return std::make_unique<FakeSockets>(); }, true}),
                         EnvironmentName<SocketsEnvironment>);

INSTANTIATE_TEST_SUITE_P(
    Fake, EchoContract,
    ::testing::Values(EchoEnvironment{"FakeIcmp", [] { return std::make_unique<FakeIcmp>(); },
                                      false},
                      EchoEnvironment{"SilentFakeIcmp",
                                      [] {
                                        auto icmp = std::make_unique<FakeIcmp>();
                                        icmp->mode = FakeIcmp::Mode::Silent;
                                        return icmp;
                                      },
                                      true}),
    EnvironmentName<EchoEnvironment>);

}  // namespace
}  // namespace corvane::testing
