#include "pinger/PingService.h"

#include "pinger/mdlPing.h"

namespace corvane {

PingReport RunPing(ISocketsService& sockets, IIcmpService& icmp, const std::string& host,
                   std::uint32_t timeoutMs) {
  CollectingMessageSink messages;
  mdlPing ping(sockets, icmp, messages);
  PingAnswer answer = ping.Ping(host, timeoutMs);
  PingReport report;
  report.succeeded = answer.succeeded;
  report.roundTripMs = answer.roundTripMs;
  report.messages = std::move(messages.shown);
  return report;
}

}  // namespace corvane
