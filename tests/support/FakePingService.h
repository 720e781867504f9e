// A ping service for native model tests: pings stay out until the test lands
// them, in any order, with the report it chooses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "pinger/PingService.h"

namespace corvane::testing {

class FakePingService final : public IPingService {
 public:
  struct Started {
    std::string host;
    std::uint32_t timeoutMs;
    Done done;
    bool landed = false;
  };

  void Start(const std::string& host, std::uint32_t timeoutMs, Done done) override {
    started.push_back({host, timeoutMs, std::move(done)});
  }

  // Pings not yet landed.
  std::size_t Outstanding() const {
    std::size_t count = 0;
    for (const Started& s : started) count += s.landed ? 0 : 1;
    return count;
  }
  // Lands ping `index` (in order of starting) with the report.
  void Land(std::size_t index, PingReport report) {
    Started& s = started.at(index);
    if (s.landed) return;
    s.landed = true;
    Done done = std::move(s.done);
    done(std::move(report));
  }
  // Lands the oldest ping still out.
  void LandNext(PingReport report) {
    for (std::size_t i = 0; i < started.size(); ++i) {
      if (!started[i].landed) return Land(i, std::move(report));
    }
  }
  static PingReport Answer(std::uint32_t roundTripMs) { return PingReport{true, roundTripMs, {}}; }
  static PingReport NoAnswer() { return PingReport{}; }

  std::vector<Started> started;
};

}  // namespace corvane::testing
