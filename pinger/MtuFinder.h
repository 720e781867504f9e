// The MTU finder: the largest packet that reaches a host in one piece.
//
// Echo requests with the don't-fragment flag set go to the host, their
// payload bisected between 548 and 1472 bytes (packets of 576 to 1500 bytes:
// the payload plus 20 bytes of IP header and 8 of ICMP header). A probe
// passes when its echo comes back; it is too big when the path says so
// ("packet too big") or when it stays unanswered twice in a row, since a
// path that drops what it cannot pass says nothing at all. A host that does
// not answer even the smallest probe (twice) is reported as such: the finder
// does not guess. The size found is probed once more at the end; when the
// path has shrunk meanwhile, the search goes on below it.
//
// The finder blocks for up to the timeout per probe: it runs on a worker
// thread (pinger/win32/ThreadedMtuFinder.h), never on a window's.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pinger/PingServices.h"

namespace corvane {

inline constexpr std::uint16_t kMtuHeaderBytes = 28;  // IP (20) and ICMP (8) headers
inline constexpr std::uint16_t kMtuSmallestPayload = 548;   // a 576-byte packet
inline constexpr std::uint16_t kMtuLargestPayload = 1472;   // a 1500-byte packet
inline constexpr std::uint32_t kMtuProbeTimeoutMs = 1000;

// What one probe of one size brought back.
enum class MtuProbe { Passed, TooBig, Unanswered };

enum class MtuOutcome {
  Found,          // mtu holds the largest packet that passed
  NoAnswer,       // not even the smallest probe was answered
  BelowSmallest,  // the smallest probe was too big for the path
  HostNotFound,   // the name did not resolve, or the text is no address
  NoIcmp,         // the ICMP echo service could not be opened
  NoSockets,      // Windows Sockets would not start (messages say why)
  Cancelled,
};

struct MtuReport {
  MtuOutcome outcome = MtuOutcome::NoAnswer;
  std::string host;           // as the user gave it, without blanks around it
  std::uint16_t mtu = 0;      // the largest packet that passed; 0 unless Found
  int probes = 0;             // echo requests sent
  std::uint64_t elapsedMs = 0;
  bool pathChanged = false;   // the final check failed and the search went on
  // The Windows Sockets messages the search would have shown, in order.
  std::vector<std::pair<std::string, MessageIcon>> messages;
};

// The report as the finder's window shows it.
std::string MtuReportText(const MtuReport& report);
// The line shown while a size is being tried.
std::string MtuTryingText(std::uint16_t packetSize);

struct MtuFinderHooks {
  // Before each probe, with the packet size about to be tried.
  std::function<void(std::uint16_t packetSize)> trying;
  // Asked before each probe; true ends the search as Cancelled.
  std::function<bool()> cancelled;
  // A clock in milliseconds, for the report's time; none reports 0.
  std::function<std::uint64_t()> nowMs;
};

class MtuFinder {
 public:
  MtuFinder(ISocketsService& sockets, IIcmpService& icmp, MtuFinderHooks hooks = {},
            std::uint32_t timeoutMs = kMtuProbeTimeoutMs);

  // Resolves the host as the pinger does (dotted text, or a name), opens the
  // echo service and searches. Never throws.
  MtuReport Run(std::string_view host);

  // The search alone, over an open echo handle, to an address in network
  // byte order; adds to `report` (its probes, outcome and size).
  void Search(EchoHandle handle, std::uint32_t address, MtuReport& report);

  // One echo request of `payload` bytes with don't-fragment set.
  MtuProbe Probe(EchoHandle handle, std::uint32_t address, std::uint16_t payload);

 private:
  // A probe, and a second one when the first stays unanswered; counts both.
  // Nothing when the search was cancelled first.
  std::optional<MtuProbe> ProbeTwice(EchoHandle handle, std::uint32_t address,
                                     std::uint16_t payload, MtuReport& report);
  bool Cancelled() const { return hooks_.cancelled && hooks_.cancelled(); }

  ISocketsService& sockets_;
  IIcmpService& icmp_;
  MtuFinderHooks hooks_;
  std::uint32_t timeoutMs_;
  std::vector<std::uint8_t> payload_;
  std::vector<std::uint8_t> reply_;
};

// A search that runs elsewhere; its reports come back on the window's
// thread. Start drops the reports of a search still out.
class IMtuSearch {
 public:
  using Trying = std::function<void(std::uint16_t packetSize)>;
  using Done = std::function<void(MtuReport)>;
  virtual ~IMtuSearch() = default;
  virtual void Start(const std::string& host, Trying trying, Done done) = 0;
  // Stops the search before its next probe; its reports are dropped.
  virtual void Cancel() = 0;
};

}  // namespace corvane
