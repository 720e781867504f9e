// Any host text a user can type: PingHost must answer without crashing, keep
// Windows Sockets balanced, close every echo handle, and never send to
// address 0.
#include <cstdlib>
#include <string_view>

#include "pinger/mdlPing.h"
#include "tests/pinger/FakePingServices.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  testing::FakeSockets sockets;
  sockets.hosts["box.example.org"] = {testing::RawAddress(127, 0, 0, 2)};
  sockets.hosts["x"] = {testing::RawAddress(1, 2, 3, 4), testing::RawAddress(127, 0, 0, 1)};
  testing::FakeIcmp icmp;
  testing::RecordingMessages messages;
  mdlPing ping(sockets, icmp, messages);
  std::string_view host(reinterpret_cast<const char*>(data), size);
  bool answered = ping.PingHost(host, 100);
  (void)ping.ParseDottedAddress(host);
  if (sockets.active != 0 || !icmp.open.empty() || !messages.shown.empty()) std::abort();
  for (const auto& sent : icmp.sent) {
    if (sent.address == 0) std::abort();
  }
  if (answered && icmp.sent.empty()) std::abort();
  return 0;
}
