#include "pinger/win32/Win32PingServices.h"
#include "tests/pinger/PingContract.h"

namespace corvane::testing {
namespace {

INSTANTIATE_TEST_SUITE_P(Win32, SocketsContract,
                         ::testing::Values(SocketsEnvironment{
                             "Wsock32",
                             [] { return std::make_unique<win32::Win32Sockets>(); },
                             InTestNamespace()}),
                         EnvironmentName<SocketsEnvironment>);

INSTANTIATE_TEST_SUITE_P(Win32, EchoContract,
                         ::testing::Values(EchoEnvironment{
                             "IcmpDll", [] { return std::make_unique<win32::Win32Icmp>(); },
                             InTestNamespace()}),
                         EnvironmentName<EchoEnvironment>);

}  // namespace
}  // namespace corvane::testing
