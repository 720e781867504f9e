#include "pinger/MtuFinder.h"

#include <algorithm>

#include "pinger/PingService.h"
#include "pinger/mdlPing.h"
#include "platform/Text.h"

namespace corvane {

namespace {

constexpr int kMaxRounds = 3;  // the search and at most two more after a failed check

std::string Seconds(std::uint64_t ms) {
  return std::to_string(ms / 1000) + "." + std::to_string(ms % 1000 / 100) + " s";
}

// The pinger's resolution: a name with a domain goes to the resolver, dotted
// text and single names through ParseDottedAddress. Windows Sockets are
// started.
std::optional<std::uint32_t> ResolveFirst(mdlPing& ping, const std::string& host) {
  const std::size_t dot = host.find('.');
  if (dot == std::string::npos || IsWholeNumber(std::string_view(host).substr(0, dot))) {
    return ping.ParseDottedAddress(host);
  }
  std::optional<std::vector<std::string>> addresses = ping.ResolveHostAddresses(host);
  if (!addresses || addresses->empty()) return std::nullopt;
  return ping.ParseDottedAddress(addresses->front());
}

}  // namespace

std::string MtuTryingText(std::uint16_t packetSize) {
  return "Trying " + std::to_string(packetSize) + "-byte packets...";
}

std::string MtuReportText(const MtuReport& report) {
  const std::string host = "\"" + report.host + "\"";
  const std::string tally = " (" + std::to_string(report.probes) + " probes in " +
                            Seconds(report.elapsedMs) + ")";
  switch (report.outcome) {
    case MtuOutcome::Found:
      if (report.mtu >= kMtuLargestPayload + kMtuHeaderBytes) {
        return "The path to " + host + " allows 1500 bytes, the most this search tries: an MTU "
               "of 1500 is right for it." + tally;
      }
      return "The largest packet that reaches " + host + " unfragmented is " +
             std::to_string(report.mtu) + " bytes: an MTU of " + std::to_string(report.mtu) +
             " suits this path." + tally;
    case MtuOutcome::NoAnswer:
      return "The host " + host + " does not answer echo requests, so its MTU cannot be "
             "found." + tally;
    case MtuOutcome::BelowSmallest:
      return "Even 576-byte packets do not reach " + host + " unfragmented; the MTU cannot "
             "be found this way." + tally;
    case MtuOutcome::HostNotFound:
      return "The host " + host + " could not be found. Check the name or type an address.";
    case MtuOutcome::NoIcmp:
      return "The ICMP echo service (icmp.dll) is not available on this computer, so no "
             "packets can be sent.";
    case MtuOutcome::NoSockets:
      return report.messages.empty() ? "Windows Sockets did not start."
                                     : report.messages.front().first;
    case MtuOutcome::Cancelled:
      return "The search was cancelled.";
  }
  return {};
}

MtuFinder::MtuFinder(ISocketsService& sockets, IIcmpService& icmp, MtuFinderHooks hooks,
                     std::uint32_t timeoutMs)
    : sockets_(sockets),
      icmp_(icmp),
      hooks_(std::move(hooks)),
      timeoutMs_(timeoutMs),
      payload_(kMtuLargestPayload),
      // The reply record (40 bytes in a 64-bit program), the echoed data,
      // and room for an ICMP error's 8 bytes and options.
      reply_(std::size_t{kMtuLargestPayload} + 128) {
  for (std::size_t i = 0; i < payload_.size(); ++i) {
    payload_[i] = static_cast<std::uint8_t>('a' + i % 23);
  }
}

MtuProbe MtuFinder::Probe(EchoHandle handle, std::uint32_t address, std::uint16_t payload) {
  std::fill(reply_.begin(), reply_.end(), std::uint8_t{0});
  EchoOptions options;
  options.flags = kIpFlagDontFragment;
  const std::uint32_t replies =
      icmp_.SendWithOptions(handle, address, payload_.data(), payload, options, reply_.data(),
                            static_cast<std::uint32_t>(reply_.size()), timeoutMs_);
  const std::uint32_t status = ReadLittleEndian32(reply_.data() + 4);
  if (status == kIpPacketTooBig) return MtuProbe::TooBig;
  if (replies > 0 && status == kIpSuccess) return MtuProbe::Passed;
  return MtuProbe::Unanswered;
}

std::optional<MtuProbe> MtuFinder::ProbeTwice(EchoHandle handle, std::uint32_t address,
                                              std::uint16_t payload, MtuReport& report) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (Cancelled()) return std::nullopt;
    if (hooks_.trying) hooks_.trying(static_cast<std::uint16_t>(payload + kMtuHeaderBytes));
    ++report.probes;
    const MtuProbe result = Probe(handle, address, payload);
    if (result != MtuProbe::Unanswered) return result;
  }
  return MtuProbe::Unanswered;
}

void MtuFinder::Search(EchoHandle handle, std::uint32_t address, MtuReport& report) {
  auto cancelled = [&] {
    report.outcome = MtuOutcome::Cancelled;
    report.mtu = 0;
  };
  std::optional<MtuProbe> first = ProbeTwice(handle, address, kMtuSmallestPayload, report);
  if (!first) return cancelled();
  if (*first == MtuProbe::Unanswered) {
    report.outcome = MtuOutcome::NoAnswer;
    return;
  }
  if (*first == MtuProbe::TooBig) {
    report.outcome = MtuOutcome::BelowSmallest;
    return;
  }
  // Most paths pass 1500 bytes: try the largest size first.
  std::optional<MtuProbe> largest = ProbeTwice(handle, address, kMtuLargestPayload, report);
  if (!largest) return cancelled();
  if (*largest == MtuProbe::Passed) {
    report.outcome = MtuOutcome::Found;
    report.mtu = kMtuLargestPayload + kMtuHeaderBytes;
    return;
  }
  // lo has passed, hi is too big.
  std::uint16_t lo = kMtuSmallestPayload;
  std::uint16_t hi = kMtuLargestPayload;
  for (int round = 0; round < kMaxRounds; ++round) {
    bool lastPassed = false;  // whether the latest probe was lo, passing
    while (hi - lo > 1) {
      const auto mid = static_cast<std::uint16_t>(lo + (hi - lo) / 2);
      std::optional<MtuProbe> result = ProbeTwice(handle, address, mid, report);
      if (!result) return cancelled();
      lastPassed = *result == MtuProbe::Passed;
      (lastPassed ? lo : hi) = mid;
    }
    // A size that passed early in the search is checked again, for a path
    // that shrank meanwhile; the smallest was checked at the start.
    if (lastPassed || lo == kMtuSmallestPayload) break;
    std::optional<MtuProbe> check = ProbeTwice(handle, address, lo, report);
    if (!check) return cancelled();
    if (*check == MtuProbe::Passed) break;
    report.pathChanged = true;
    hi = lo;
    lo = kMtuSmallestPayload;
  }
  report.outcome = MtuOutcome::Found;
  report.mtu = static_cast<std::uint16_t>(lo + kMtuHeaderBytes);
}

MtuReport MtuFinder::Run(std::string_view host) {
  MtuReport report;
  report.host = std::string(TrimSpaces(host));
  const std::uint64_t start = hooks_.nowMs ? hooks_.nowMs() : 0;
  auto finish = [&](MtuOutcome outcome) {
    report.outcome = outcome;
    if (hooks_.nowMs) report.elapsedMs = hooks_.nowMs() - start;
    return report;
  };
  try {
    if (report.host.empty()) return finish(MtuOutcome::HostNotFound);
    CollectingMessageSink messages;
    mdlPing ping(sockets_, icmp_, messages);
    std::optional<std::uint32_t> address;
    if (!ping.StartSockets()) {
      report.messages = std::move(messages.shown);
      return finish(MtuOutcome::NoSockets);
    }
    address = ResolveFirst(ping, report.host);
    ping.StopSockets();
    report.messages = std::move(messages.shown);
    if (!address || *address == 0) return finish(MtuOutcome::HostNotFound);

    std::optional<EchoHandle> handle = icmp_.Open();
    if (!handle) return finish(MtuOutcome::NoIcmp);
    EchoHandleGuard guard(icmp_, *handle);
    Search(*handle, *address, report);
  } catch (...) {
    // Out of memory and the like: as good as no answer.
    report.outcome = MtuOutcome::NoAnswer;
    report.mtu = 0;
  }
  if (hooks_.nowMs) report.elapsedMs = hooks_.nowMs() - start;
  return report;
}

}  // namespace corvane
