#include "pinger/PingFlights.h"

#include <utility>

namespace corvane {

PingFlights::PingFlights(IPingService& service, std::uint32_t timeoutMs, Landed landed)
    : service_(service), timeoutMs_(timeoutMs), shared_(std::make_shared<Shared>()) {
  shared_->landed = std::move(landed);
}

PingFlights::~PingFlights() { Abandon(); }

std::string PingFlights::HostKey(std::string_view host) {
  while (!host.empty() && host.front() == ' ') host.remove_prefix(1);
  while (!host.empty() && host.back() == ' ') host.remove_suffix(1);
  std::string key(host);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

bool PingFlights::Send(std::string_view host, PingCause cause) {
  if (!shared_) return false;
  std::string key = HostKey(host);
  auto found = shared_->flights.find(key);
  if (found != shared_->flights.end()) {
    found->second.causes |= cause;
    return false;
  }
  shared_->flights[key] = Flight{std::string(host), cause};
  // The report finds its flight through a weak link: once the flights are
  // abandoned (the window is gone) a late report lands nowhere.
  std::weak_ptr<Shared> link = shared_;
  service_.Start(std::string(host), timeoutMs_, [link, key](PingReport report) {
    std::shared_ptr<Shared> shared = link.lock();
    if (!shared) return;
    auto flight = shared->flights.find(key);
    if (flight == shared->flights.end()) return;
    Flight landed = std::move(flight->second);
    shared->flights.erase(flight);
    if (shared->landed) shared->landed(landed.host, report, landed.causes);
  });
  return true;
}

bool PingFlights::InFlight(std::string_view host) const {
  return shared_ && shared_->flights.count(HostKey(host)) != 0;
}

std::size_t PingFlights::Count() const { return shared_ ? shared_->flights.size() : 0; }

void PingFlights::Abandon() { shared_.reset(); }

}  // namespace corvane
