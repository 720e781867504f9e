#include "pinger/win32/ThreadedPingService.h"

#include <utility>

#include "pinger/win32/Win32PingServices.h"

namespace corvane::win32 {

namespace {

constexpr char kServiceClassName[] = "CorvanePingService";

volatile LONG g_runningWorkers = 0;

}  // namespace

ThreadedPingService::ThreadedPingService(HINSTANCE instance)
    : pings_(instance, kServiceClassName, WorkerOrder::Together,
             [](const Ping& ping) {
               Win32Sockets sockets;
               Win32Icmp icmp;
               return RunPing(sockets, icmp, ping.host, ping.timeoutMs);
             },
             &g_runningWorkers) {}

long ThreadedPingService::RunningWorkers() {
  return ::InterlockedCompareExchange(&g_runningWorkers, 0, 0);
}

void ThreadedPingService::Start(const std::string& host, std::uint32_t timeoutMs, Done done) {
  // Without the mailbox no report can come back: the ping is not sent.
  (void)pings_.Add(Ping{host, timeoutMs}, std::move(done));
}

}  // namespace corvane::win32
