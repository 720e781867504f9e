// The pings a window has out, at most one per host. A request for a host
// whose ping is still out sends no second echo: it joins the one in flight
// and learns its outcome when that comes back, so a "Ping Now" pressed
// during a scheduled ping (or pressed twice) neither doubles the traffic nor
// loses its answer.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "pinger/PingService.h"

namespace corvane {

// Why a ping was asked for; a ping in flight gathers the causes of every
// request that joined it.
enum PingCause : unsigned {
  kPingCauseTick = 1u << 0,     // the schedule
  kPingCausePingNow = 1u << 1,  // the "Ping Now" button
};

class PingFlights {
 public:
  // host: as first asked for; causes: every cause that asked while it was
  // out, or-ed together.
  using Landed = std::function<void(const std::string& host, const PingReport& report,
                                    unsigned causes)>;

  PingFlights(IPingService& service, std::uint32_t timeoutMs, Landed landed);
  PingFlights(const PingFlights&) = delete;
  PingFlights& operator=(const PingFlights&) = delete;
  // Whatever is still out lands nowhere.
  ~PingFlights();

  // Sends a ping to host for cause; true when an echo went out, false when
  // the cause joined the ping to the same host already out.
  bool Send(std::string_view host, PingCause cause);
  bool InFlight(std::string_view host) const;
  std::size_t Count() const;
  // From now on no report is delivered (the window is going).
  void Abandon();

  // Hosts are the same when they are after trimming blanks and ignoring the
  // case of letters ("Example.com " is "example.com").
  static std::string HostKey(std::string_view host);

 private:
  struct Flight {
    std::string host;
    unsigned causes = 0;
  };
  struct Shared {
    std::map<std::string, Flight> flights;
    Landed landed;
  };

  IPingService& service_;
  std::uint32_t timeoutMs_;
  std::shared_ptr<Shared> shared_;
};

}  // namespace corvane
