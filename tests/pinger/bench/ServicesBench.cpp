// What the system services cost under Windows, printed as figures:
//  - one PingHost to 127.0.0.1 against one bare IcmpSendEcho to the same
//    address (goal: at most 1.5 times);
//  - one processor-sampler Query (the status window asks every 300 ms);
//  - FreeUpMemory's fill rate against a plain memset of a block the same size.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "memory/CpuUsage.h"
#include "memory/FreeRAM.h"
#include "memory/win32/Win32MemoryServices.h"
#include "pinger/mdlPing.h"
#include "pinger/win32/Win32PingServices.h"
#include "platform/win32/Win32Registry.h"
#include "tests/support/BenchClock.h"

namespace {

using namespace corvane;

using testing::Now;

// The best of several rounds of n calls, in microseconds per call: the
// machine is shared, and the best round is the one least disturbed.
double MicrosecondsPerCall(int rounds, int n, const std::function<void()>& call) {
  double best = 1e30;
  for (int r = 0; r < rounds; ++r) {
    double start = Now();
    for (int i = 0; i < n; ++i) call();
    best = std::min(best, (Now() - start) * 1e6 / n);
  }
  return best;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

class SilentMessages : public IWinsockMessageSink {
 public:
  void Show(const std::string& text, MessageIcon) override {
    std::printf("  (message: %s)\n", text.c_str());
  }
};

int BenchPing() {
  win32::Win32Sockets sockets;
  win32::Win32Icmp icmp;
  SilentMessages messages;
  mdlPing ping(sockets, icmp, messages);
  if (!ping.PingHost("127.0.0.1", 2000)) {
    std::printf("ping: 127.0.0.1 does not answer here; no figures\n");
    return 1;
  }
  const std::uint32_t loopback = 0x0100007Fu;
  std::optional<EchoHandle> handle = icmp.Open();
  if (!handle) return 1;
  // Echo latency under Wine swings with the scheduling of its network
  // driver process, so the two are measured alternately, call by call, and
  // compared by their medians.
  int failures = 0;
  std::vector<double> bareTimes;
  std::vector<double> fullTimes;
  for (int i = 0; i < 20 + 400; ++i) {
    EchoReplyBuffer reply{};
    double start = Now();
    if (icmp.Send(*handle, loopback, reinterpret_cast<const std::uint8_t*>(kEchoPayload),
                  kEchoPayloadSize, reply.data(), static_cast<std::uint32_t>(reply.size()),
                  2000) == 0) {
      ++failures;
    }
    double middle = Now();
    if (!ping.PingHost("127.0.0.1", 2000)) ++failures;
    double end = Now();
    if (i < 20) continue;  // warming up
    bareTimes.push_back((middle - start) * 1e6);
    fullTimes.push_back((end - middle) * 1e6);
  }
  (void)icmp.Close(*handle);
  double bare = Median(bareTimes);
  double full = Median(fullTimes);
  // Where the difference goes: Windows Sockets start-up and clean-up, and
  // an echo handle per request.
  double sockets11 = MicrosecondsPerCall(5, 100, [&] {
    (void)sockets.Startup(kWinsockVersion11);
    (void)sockets.Cleanup();
  });
  double openClose = MicrosecondsPerCall(5, 100, [&] {
    if (auto h = icmp.Open()) (void)icmp.Close(*h);
  });
  std::printf("ping: PingHost(127.0.0.1) %.1f us, bare IcmpSendEcho %.1f us (medians), ratio %.2f "
              "(goal <= 1.5)%s\n",
              full, bare, full / bare, failures ? "  SOME ECHOES FAILED" : "");
  std::printf("ping:   of which WSAStartup+WSACleanup %.1f us, IcmpCreateFile+IcmpCloseHandle "
              "%.1f us\n",
              sockets11, openClose);
  return failures == 0 ? 0 : 1;
}

void BenchSamplers() {
  win32::Win32NtSystemInformation information;
  clsCPUUsageNT nt(information);
  nt.Initialize();
  volatile std::int32_t sink = 0;
  double ntQuery = MicrosecondsPerCall(5, 2000, [&] { sink = nt.Query(); });
  std::printf("cpu: clsCPUUsageNT Query %.2f us (asked every 300 ms)\n", ntQuery);

  // The 95/98/ME sampler over counters planted in HKEY_DYN_DATA, which
  // lives only as long as this run's wineserver.
  win32::Win32Registry registry;
  const RegHandle dyn = RootHandle(RootKey::DynData);
  const std::uint32_t planted = 42;
  for (const char* path : {"PerfStats\\StartStat", "PerfStats\\StatData"}) {
    RegKey key;
    if (CreateRegKey(registry, dyn, path, reg::kKeyAllAccess, key) == 0) {
      (void)registry.SetValue(key.get(), "KERNEL\\CPUUsage", reg::kTypeBinary,
                              reinterpret_cast<const std::uint8_t*>(&planted), 4);
    }
  }
  clsCPUUsage nine(registry);
  nine.Initialize();
  double nineQuery = MicrosecondsPerCall(5, 2000, [&] { sink = nine.Query(); });
  nine.Terminate();
  std::printf("cpu: clsCPUUsage Query %.2f us (planted counter read %d)\n", nineQuery,
              static_cast<int>(sink));
  (void)registry.DeleteKey(dyn, "PerfStats\\StartStat");
}

void BenchFreeUpMemory() {
  const std::int32_t amount = 32 * 1048576;  // a 64 MiB block
  const std::size_t bytes = 2 * static_cast<std::size_t>(amount);
  win32::Win32MemoryStatus status;
  win32::VirtualBlockAllocator allocator;
  FreeRAM ram(status, allocator);
  const double mib = static_cast<double>(bytes) / 1048576.0;

  std::int32_t claimed = 0;
  double free = MicrosecondsPerCall(5, 1, [&] { claimed = ram.FreeUpMemory(amount); });
  // The same work done plainly: commit, memset, release.
  double fresh = MicrosecondsPerCall(5, 1, [&] {
    void* block = ::VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (block == nullptr) return;
    std::memset(block, ' ', bytes);
    ::VirtualFree(block, 0, MEM_RELEASE);
  });
  // And memset alone, into memory that is already there.
  void* warm = ::VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  double warmSet = 0;
  if (warm != nullptr) {
    std::memset(warm, 0, bytes);
    warmSet = MicrosecondsPerCall(5, 1, [&] { std::memset(warm, ' ', bytes); });
    ::VirtualFree(warm, 0, MEM_RELEASE);
  }
  auto rate = [&](double us) { return us > 0 ? mib / (us / 1e6) : 0.0; };
  std::printf("memory: FreeUpMemory(%d) claimed %d: %.1f ms, %.0f MiB/s\n", amount, claimed,
              free / 1000, rate(free));
  std::printf("memory: VirtualAlloc+memset+VirtualFree of %.0f MiB: %.1f ms, %.0f MiB/s; "
              "ratio %.2f\n",
              mib, fresh / 1000, rate(fresh), free / fresh);
  std::printf("memory: memset into committed memory: %.1f ms, %.0f MiB/s; ratio %.2f\n",
              warmSet / 1000, rate(warmSet), warmSet > 0 ? free / warmSet : 0.0);
}

}  // namespace

int main() {
  int result = BenchPing();
  BenchSamplers();
  BenchFreeUpMemory();
  std::fflush(stdout);
  return result;
}
