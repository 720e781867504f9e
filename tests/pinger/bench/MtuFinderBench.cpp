// The MTU finder's cost (tools/bench.d/mtu.sh): a whole search to the host
// on the 1400 path against as many bare echo requests (no options, the
// pinger's 9 bytes) to the same host. The search may take no more than 1.2
// times the bare echoes plus the timeouts it has to wait out (the probes
// that went unanswered, each waiting its full timeout). The host comes as
// the first argument; it must be one of the test network's own.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "pinger/MtuFinder.h"
#include "pinger/mdlPing.h"
#include "pinger/win32/Win32PingServices.h"

namespace {

using corvane::EchoHandle;
using corvane::EchoOptions;

double NowMs() {
  LARGE_INTEGER frequency, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The real echo service, with the time spent in probes that came back
// without an answer (what the search waits out).
class TimedIcmp final : public corvane::IIcmpService {
 public:
  std::optional<EchoHandle> Open() override { return icmp.Open(); }
  std::uint32_t Send(EchoHandle handle, std::uint32_t address, const std::uint8_t* data,
                     std::uint16_t dataSize, std::uint8_t* reply, std::uint32_t replySize,
                     std::uint32_t timeoutMs) override {
    return icmp.Send(handle, address, data, dataSize, reply, replySize, timeoutMs);
  }
  std::uint32_t SendWithOptions(EchoHandle handle, std::uint32_t address, const std::uint8_t* data,
                                std::uint16_t dataSize, const EchoOptions& options,
                                std::uint8_t* reply, std::uint32_t replySize,
                                std::uint32_t timeoutMs) override {
    sizes.push_back(dataSize);
    const double start = NowMs();
    const std::uint32_t count =
        icmp.SendWithOptions(handle, address, data, dataSize, options, reply, replySize, timeoutMs);
    if (count == 0) {
      waitedMs += NowMs() - start;
      ++unanswered;
    }
    return count;
  }
  bool Close(EchoHandle handle) override { return icmp.Close(handle); }

  corvane::win32::Win32Icmp icmp;
  double waitedMs = 0;
  int unanswered = 0;
  std::vector<std::uint16_t> sizes;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: corvane_mtu_bench <host on the 1400 path> [timeout ms]\n");
    return 2;
  }
  const std::string host = argv[1];
  const std::uint32_t timeoutMs = argc > 2 ? static_cast<std::uint32_t>(std::atoi(argv[2])) : 250;

  corvane::win32::Win32Sockets sockets;
  TimedIcmp icmp;
  if (!icmp.icmp.Available()) {
    std::printf("no ICMP echo service\n");
    return 1;
  }
  // The search alone over an open handle (the resolution is the pinger's
  // and is not measured here).
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (std::sscanf(host.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d) != 4) return 2;
  const std::uint32_t address = a | b << 8 | c << 16 | d << 24;
  std::optional<EchoHandle> handle = icmp.Open();
  if (!handle) return 1;
  corvane::MtuFinder finder(sockets, icmp, {}, timeoutMs);
  corvane::MtuReport report;
  const double searchStart = NowMs();
  finder.Search(*handle, address, report);
  const double searchMs = NowMs() - searchStart;
  if (report.outcome != corvane::MtuOutcome::Found) {
    report.host = host;
    std::printf("search failed: %s\n", corvane::MtuReportText(report).c_str());
    return 1;
  }

  // As many bare echoes (no options) of the same sizes, those the path
  // drops cut to the size found, so that every one is answered.
  std::vector<std::uint8_t> data(corvane::kMtuLargestPayload, 'x');
  std::vector<std::uint8_t> reply(std::size_t{corvane::kMtuLargestPayload} + 128);
  const auto largest = static_cast<std::uint16_t>(report.mtu - corvane::kMtuHeaderBytes);
  int answered = 0;
  const double bareStart = NowMs();
  for (std::uint16_t size : icmp.sizes) {
    answered += icmp.Send(*handle, address, data.data(), std::min(size, largest), reply.data(),
                          static_cast<std::uint32_t>(reply.size()), timeoutMs) > 0 ? 1 : 0;
  }
  const double bareMs = NowMs() - bareStart;
  (void)icmp.Close(*handle);

  const double answeredPartMs = searchMs - icmp.waitedMs;
  const double ratio = bareMs > 0 ? answeredPartMs / bareMs : 0;
  const double budgetMs = 1.2 * bareMs + icmp.waitedMs;
  std::printf("MTU found: %u (%d probes, %d unanswered, timeout %u ms)\n",
              static_cast<unsigned>(report.mtu), report.probes, icmp.unanswered,
              static_cast<unsigned>(timeoutMs));
  std::printf("search: %.1f ms, of which waiting out timeouts: %.1f ms\n", searchMs, icmp.waitedMs);
  std::printf("%d bare echoes: %.1f ms (%d answered)\n", report.probes, bareMs, answered);
  std::printf("search less timeouts / bare echoes: %.2fx (goal <= 1.2x); search %.1f ms against "
              "a budget of %.1f ms: %s\n",
              ratio, searchMs, budgetMs, searchMs <= budgetMs ? "within" : "OVER");

  return 0;
}
