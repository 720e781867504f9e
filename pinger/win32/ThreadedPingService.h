// Pings on worker threads, reports on the user-interface thread.
//
// Each ping runs mdlPing whole (Windows Sockets start-up, resolution, the
// echo, clean-up) on a thread of its own, with services of its own, so the
// user-interface thread never waits on the resolver or on IcmpSendEcho. The
// report comes back through a WorkerQueue's mailbox and is handed to the caller on
// the thread that made the service.
//
// Nothing waits for a worker: destroying the service (the window going, the
// program ending, Windows restarting) closes the mailbox and returns at
// once; a worker still out finishes on its own, finds the mailbox closed,
// frees what it holds and ends. So exit is never held up by a ping, and no
// report reaches a window that is gone.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "pinger/PingService.h"
#include "platform/win32/WorkerQueue.h"

namespace corvane::win32 {

class ThreadedPingService final : public IPingService {
 public:
  // Makes the hidden window; when it could not be made no report could come
  // back, and Start sends nothing.
  explicit ThreadedPingService(HINSTANCE instance = ::GetModuleHandleA(nullptr));

  void Start(const std::string& host, std::uint32_t timeoutMs, Done done) override;

  // Workers of any service of this process still running (for tests).
  static long RunningWorkers();

 private:
  struct Ping {
    std::string host;
    std::uint32_t timeoutMs = 0;
  };
  WorkerQueue<Ping, PingReport> pings_;
};

}  // namespace corvane::win32
