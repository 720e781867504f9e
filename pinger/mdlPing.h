// mdlPing: one ICMP echo request to a host named by the user (dotted IPv4
// text or a host name), answering whether a reply came back. Nothing
// survives a call: each ping starts Windows Sockets and cleans up again.
//
// The module never touches windows. Where a ping waits (before and after the
// echo, which blocks for up to the timeout) it calls the caller's yield step,
// if one is given, so that a window could pump its messages in between. The
// program's own pings run on a worker thread (ThreadedPingService) and give
// none: the window's thread never waits for an echo.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pinger/PingServices.h"

namespace corvane {

// The request payload: 9 single-byte characters, no terminator.
inline constexpr char kEchoPayload[] = "Echo This";
inline constexpr std::uint16_t kEchoPayloadSize = 9;
// Windows Sockets 1.1, the version the module asks for.
inline constexpr std::uint16_t kWinsockVersion11 = 0x0101;

// What one echo request brought back.
struct EchoOutcome {
  std::uint32_t replies = 0;  // IcmpSendEcho's result
  EchoReplyBuffer reply{};    // cleared before the request
  // A failed request may leave the cleared buffer (status 0) untouched, so
  // the count of replies decides as well as the status.
  bool Succeeded() const { return replies > 0 && EchoReplyStatus(reply) == kIpSuccess; }
};

// What a ping brought back: whether an answer came, and if so its time.
struct PingAnswer {
  bool succeeded = false;
  std::uint32_t roundTripMs = 0;  // the echo reply's time; 0 without an answer
};

class mdlPing {
 public:
  using YieldStep = std::function<void()>;

  mdlPing(ISocketsService& sockets, IIcmpService& icmp, IWinsockMessageSink& messages,
          YieldStep yield = {});

  // True exactly when an echo reply with status 0 came back within the
  // timeout; False in every other case. Never throws.
  bool PingHost(std::string_view host, std::uint32_t timeoutMs);
  // PingHost with the reply's round-trip time, for a caller that tells the
  // user how long the answer took.
  PingAnswer Ping(std::string_view host, std::uint32_t timeoutMs);

  // WSAStartup for 1.1 with the version and socket-count checks; shows the
  // failure's message and returns false. A start-up that succeeded at the
  // platform but is refused here is cleaned up at once, so that the
  // platform's start-up count stays balanced.
  bool StartSockets();
  // WSACleanup; a failure shows its message.
  void StopSockets();

  // Every IPv4 address of a name as dotted decimal text, in the resolver's
  // order; empty when the name does not resolve; nothing when Windows
  // Sockets would not start.
  std::optional<std::vector<std::string>> ResolveHostAddresses(std::string_view name);

  // Dotted text (four parts, low eight bits of each, first part in the
  // lowest byte) or, without a dot, a host name's first address. 0 for fewer
  // than four parts or a name that does not resolve. Nothing for malformed
  // text: a fifth part, or a part that is not a number.
  std::optional<std::uint32_t> ParseDottedAddress(std::string_view text);

  // One echo request through the ICMP service; the handle is closed before
  // it returns. Nothing when the address text is malformed.
  std::optional<EchoOutcome> SendEcho(std::string_view addressText, std::uint32_t timeoutMs);

 private:
  void YieldThreeTimes();

  ISocketsService& sockets_;
  IIcmpService& icmp_;
  IWinsockMessageSink& messages_;
  YieldStep yield_;
};

// Whether a text reads as a whole number: optional blanks around an optional
// sign and decimal digits. Decides between a dotted address and a host name.
bool IsWholeNumber(std::string_view text);

}  // namespace corvane
