// How long the user-interface thread leaves messages unanswered during a
// ping (goal: under 50 ms). A probe thread sends WM_NULL to a window of
// this thread every 2 ms while the thread pumps its messages and a ping is
// out, and keeps the longest wait. Printed for:
//  - the program's way: the threaded ping service;
//  - for comparison, a ping on this thread with mdlPing's yields between its
//    steps (the way the ping would run without the worker).
// Hosts: 127.0.0.1, answering; with CORVANE_NETNS=1 (inside a network
// namespace whose loopback ignores echoes, tools/bench.d/pinger.sh) the
// same address never answers and each ping waits its 10000 ms timeout.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "pinger/mdlPing.h"
#include "pinger/win32/ThreadedPingService.h"
#include "pinger/win32/Win32PingServices.h"
#include "tests/pinger/win/ResponsivenessProbe.h"

namespace {

using namespace corvane;

void DispatchWaiting() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

class SilentMessages : public IWinsockMessageSink {
 public:
  void Show(const std::string& text, MessageIcon) override { std::printf("  (message: %s)\n", text.c_str()); }
};

struct Figures {
  DWORD longestMs;
  long answered;
  DWORD pingMs;
  bool succeeded;
};

Figures Threaded(HWND target, const char* host, DWORD timeoutMs, int pings) {
  win32::ThreadedPingService service;
  testing::ResponsivenessProbe probe(target);
  DWORD start = ::GetTickCount();
  bool succeeded = true;
  for (int i = 0; i < pings; ++i) {
    std::optional<PingReport> report;
    service.Start(host, timeoutMs, [&](PingReport r) { report = std::move(r); });
    while (!report) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      DispatchWaiting();
    }
    succeeded = succeeded && report->succeeded;
  }
  DWORD took = ::GetTickCount() - start;
  probe.Stop();
  return {probe.LongestMs(), probe.Answered(), took / static_cast<DWORD>(pings), succeeded};
}

Figures OnThisThread(HWND target, const char* host, DWORD timeoutMs, int pings) {
  win32::Win32Sockets sockets;
  win32::Win32Icmp icmp;
  SilentMessages messages;
  mdlPing ping(sockets, icmp, messages, [] { DispatchWaiting(); });
  testing::ResponsivenessProbe probe(target);
  DWORD start = ::GetTickCount();
  bool succeeded = true;
  for (int i = 0; i < pings; ++i) succeeded = ping.PingHost(host, timeoutMs) && succeeded;
  DWORD took = ::GetTickCount() - start;
  probe.Stop();
  return {probe.LongestMs(), probe.Answered(), took / static_cast<DWORD>(pings), succeeded};
}

void Print(const char* what, const Figures& f) {
  std::printf("%-44s longest unanswered %5lu ms  (%ld answers, ping %lu ms, %s)%s\n", what,
              static_cast<unsigned long>(f.longestMs), f.answered, static_cast<unsigned long>(f.pingMs),
              f.succeeded ? "answered" : "no answer", f.longestMs < 50 ? "" : "  [goal: < 50 ms]");
}

}  // namespace

int main() {
  HWND target = ::CreateWindowExA(0, "STATIC", "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
  const char* flag = std::getenv("CORVANE_NETNS");
  const bool silent = flag != nullptr && std::string(flag) == "1";
  if (!silent) {
    Print("127.0.0.1, threaded service (20 pings)", Threaded(target, "127.0.0.1", 10000, 20));
    Print("127.0.0.1, on the UI thread with yields", OnThisThread(target, "127.0.0.1", 10000, 20));
  } else {
    Print("never answering host, threaded service", Threaded(target, "127.0.0.1", 10000, 1));
    Print("never answering host, on the UI thread", OnThisThread(target, "127.0.0.1", 10000, 1));
  }
  ::DestroyWindow(target);
  return 0;
}
