// A ping that does not hold up the user-interface thread. The blocking part
// (name resolution and the echo, up to its timeout) runs elsewhere; the
// report comes back on the thread that asked, where the caller shows the
// Windows Sockets messages, plays sounds and touches its windows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "pinger/PingServices.h"

namespace corvane {

// What one ping brought back to the thread that asked.
struct PingReport {
  bool succeeded = false;
  std::uint32_t roundTripMs = 0;  // the reply's time; 0 without an answer
  // The Windows Sockets messages the ping would have shown, in order; the
  // asking thread shows them.
  std::vector<std::pair<std::string, MessageIcon>> messages;
};

class IPingService {
 public:
  using Done = std::function<void(PingReport)>;
  virtual ~IPingService() = default;
  // Starts one ping of `host` with mdlPing's rules and returns at once.
  // `done` runs later on the calling thread (never inside Start), exactly
  // once, unless the service is destroyed first: then it never runs.
  virtual void Start(const std::string& host, std::uint32_t timeoutMs, Done done) = 0;
};

// Collects the Windows Sockets messages of a ping that runs away from the
// user-interface thread, for the report.
class CollectingMessageSink final : public IWinsockMessageSink {
 public:
  void Show(const std::string& text, MessageIcon icon) override { shown.emplace_back(text, icon); }
  std::vector<std::pair<std::string, MessageIcon>> shown;
};

// One whole ping with mdlPing on the current thread, without yields: what a
// service's worker runs.
PingReport RunPing(ISocketsService& sockets, IIcmpService& icmp, const std::string& host,
                   std::uint32_t timeoutMs);

}  // namespace corvane
