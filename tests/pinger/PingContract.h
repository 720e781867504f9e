// The contracts of the echo client's system services: what mdlPing relies on
// from Windows Sockets and from the ICMP echo service, checked against the
// fakes natively and against wsock32 and icmp.dll under Wine, so that the
// fakes cannot drift from the real services.
//
// Some cases need a network of the test's own: a loopback that ignores
// echoes, and a resolver with no way out of the machine. Under Wine these
// run only inside a network namespace made by tools/suites.d/wine-netns.sh,
// which sets CORVANE_NETNS=1; elsewhere they are skipped.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "pinger/PingServices.h"

namespace corvane::testing {

// A name that never resolves: the .invalid domain is reserved for that.
inline constexpr char kUnresolvableName[] = "corvane-nowhere.invalid";

struct SocketsEnvironment {
  std::string name;
  std::function<std::unique_ptr<ISocketsService>()> make;
  // Whether this resolver is sealed off (a fake, or a namespace without a
  // way out), so that looking up a name that does not exist sends nothing.
  bool sealedResolver = false;
};

struct EchoEnvironment {
  std::string name;
  std::function<std::unique_ptr<IIcmpService>()> make;
  // Whether loopback ignores echo requests here (a namespace with
  // net.ipv4.icmp_echo_ignore_all=1, or a silent fake).
  bool silentLoopback = false;
};

class SocketsContract : public ::testing::TestWithParam<SocketsEnvironment> {
 protected:
  void SetUp() override { sockets_ = GetParam().make(); }
  ISocketsService& sockets() { return *sockets_; }
  std::unique_ptr<ISocketsService> sockets_;
};

class EchoContract : public ::testing::TestWithParam<EchoEnvironment> {
 protected:
  void SetUp() override { icmp_ = GetParam().make(); }
  IIcmpService& icmp() { return *icmp_; }
  std::unique_ptr<IIcmpService> icmp_;
};

// Whether this run is the one inside the test's own network namespace.
bool InTestNamespace();

template <typename Param>
std::string EnvironmentName(const ::testing::TestParamInfo<Param>& info) {
  return info.param.name;
}

}  // namespace corvane::testing
