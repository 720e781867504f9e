#include "pinger/mdlPing.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <utility>

#include "platform/Text.h"

namespace corvane {

namespace {

// A part of dotted text read as a 32-bit signed number; nothing when it is
// not one (a non-numeric part, or one too large), which ends the ping.
std::optional<std::int32_t> ReadPart(std::string_view part) {
  part = TrimSpaces(part);
  if (!part.empty() && part.front() == '+') part.remove_prefix(1);
  if (part.empty()) return std::nullopt;
  std::int64_t value = 0;
  auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
  if (error != std::errc() || end != part.data() + part.size()) return std::nullopt;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

// Dotted text only: at most four parts, exactly four make an address.
std::optional<std::uint32_t> ParseDotted(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t dot = text.find('.', start);
    parts.push_back(text.substr(start, dot == std::string_view::npos ? dot : dot - start));
    if (parts.size() > 4) return std::nullopt;
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  if (parts.size() != 4) return 0u;
  std::uint32_t address = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    std::optional<std::int32_t> value = ReadPart(parts[i]);
    if (!value) return std::nullopt;
    // Only the low eight bits count (a negative part by its two's complement).
    std::uint32_t lowByte = static_cast<std::uint32_t>(*value) & 0xFFu;
    address |= lowByte << (8 * i);
  }
  return address;
}

}  // namespace

bool IsWholeNumber(std::string_view text) {
  text = TrimSpaces(text);
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

mdlPing::mdlPing(ISocketsService& sockets, IIcmpService& icmp, IWinsockMessageSink& messages,
                 YieldStep yield)
    : sockets_(sockets), icmp_(icmp), messages_(messages), yield_(std::move(yield)) {}

void mdlPing::YieldThreeTimes() {
  if (!yield_) return;
  for (int i = 0; i < 3; ++i) yield_();
}

bool mdlPing::StartSockets() {
  WsaStartupResult started = sockets_.Startup(kWinsockVersion11);
  if (started.status != 0) {
    messages_.Show("Windows Sockets for 32 bit Windows "
                   "environments is not successfully responding.",
                   MessageIcon::None);
    return false;
  }
  const int major = started.version & 0xFF;
  const int minor = started.version >> 8;
  if (major < 1 || (major == 1 && minor < 1)) {
    (void)sockets_.Cleanup();  // the platform did start: keep its count balanced
    messages_.Show("Windows Sockets Version " + std::to_string(major) + "." +
                       std::to_string(minor) + " is not supported by Windows " +
                       "Sockets for 32 bit Windows environments.",
                   MessageIcon::Warning);
    return false;
  }
  if (started.maxSockets < 1) {
    (void)sockets_.Cleanup();
    messages_.Show("This application requires a minimum of " + std::to_string(1) +
                       " supported sockets.",
                   MessageIcon::Warning);
    return false;
  }
  return true;
}

void mdlPing::StopSockets() {
  std::int32_t result = sockets_.Cleanup();
  if (result != 0) {
    messages_.Show("Windows Sockets error " + std::to_string(result) + " occurred in Cleanup.",
                   MessageIcon::Warning);
  }
}

std::optional<std::vector<std::string>> mdlPing::ResolveHostAddresses(std::string_view name) {
  if (!StartSockets()) return std::nullopt;
  std::vector<std::string> addresses;
  try {
    for (const std::string& raw : sockets_.GetHostByName(std::string(name))) {
      std::string text;
      for (unsigned char byte : raw) {
        if (!text.empty()) text += '.';
        text += std::to_string(static_cast<unsigned>(byte));
      }
      addresses.push_back(std::move(text));
    }
  } catch (...) {
    StopSockets();
    throw;
  }
  StopSockets();
  return addresses;
}

std::optional<std::uint32_t> mdlPing::ParseDottedAddress(std::string_view text) {
  if (text.find('.') != std::string_view::npos) return ParseDotted(text);
  std::optional<std::vector<std::string>> addresses = ResolveHostAddresses(text);
  if (!addresses || addresses->empty()) return 0u;
  // The resolver's text is always dotted; anything else counts as no address.
  std::optional<std::uint32_t> first = ParseDotted(addresses->front());
  return first.value_or(0u);
}

std::optional<EchoOutcome> mdlPing::SendEcho(std::string_view addressText,
                                             std::uint32_t timeoutMs) {
  std::optional<std::uint32_t> address = ParseDottedAddress(addressText);
  if (!address) return std::nullopt;
  EchoOutcome outcome;
  // Address 0 (too few parts, or a name that did not resolve) is no
  // destination: asking the stack to echo it would reach this machine itself
  // on some systems and report a host that was never pinged as alive.
  if (*address == 0) return outcome;
  std::optional<EchoHandle> handle = icmp_.Open();
  if (!handle) return outcome;
  EchoHandleGuard guard(icmp_, *handle);
  YieldThreeTimes();
  outcome.replies = icmp_.Send(*handle, *address,
                               reinterpret_cast<const std::uint8_t*>(kEchoPayload),
                               kEchoPayloadSize, outcome.reply.data(),
                               static_cast<std::uint32_t>(outcome.reply.size()), timeoutMs);
  YieldThreeTimes();
  return outcome;
}

bool mdlPing::PingHost(std::string_view host, std::uint32_t timeoutMs) {
  return Ping(host, timeoutMs).succeeded;
}

PingAnswer mdlPing::Ping(std::string_view host, std::uint32_t timeoutMs) {
  std::string text(TrimSpaces(host));
  if (text.empty()) return {};
  bool started = false;
  try {
    YieldThreeTimes();
    if (!StartSockets()) return {};
    started = true;
    YieldThreeTimes();
    std::size_t dot = text.find('.');
    if (dot != std::string::npos && !IsWholeNumber(std::string_view(text).substr(0, dot))) {
      std::optional<std::vector<std::string>> addresses = ResolveHostAddresses(text);
      YieldThreeTimes();
      if (!addresses || addresses->empty()) {
        started = false;
        StopSockets();
        return {};
      }
      text = addresses->front();
    }
    std::optional<EchoOutcome> outcome = SendEcho(text, timeoutMs);
    YieldThreeTimes();
    started = false;
    StopSockets();
    if (!outcome || !outcome->Succeeded()) return {};
    return PingAnswer{true, EchoReplyRoundTrip(outcome->reply)};
  } catch (...) {
    // A run-time error ends the ping with False and no message.
    if (started) {
      try {
        StopSockets();
      } catch (...) {
      }
    }
    return {};
  }
}

}  // namespace corvane
