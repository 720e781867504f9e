// Starting states for the round trip apply -> restore, and the comparison
// that knows what a snapshot file cannot say: a flag, the SYN protection
// level or the NDI cache size that was absent comes back as a stored 0; the
// fixed values come back as the numbers every apply writes; keys that the
// apply created stay (values are compared, not keys).
#pragma once

#include <random>
#include <string>
#include <vector>

#include "tests/tuning/support/RegistryStates.h"

namespace corvane::testing {

struct RoundTripStart {
  OsFamily family = 0;
  std::vector<std::string> adapters;
  RegistryState state;  // every value of the map, present or absent
};

RoundTripStart GenerateStart(OsFamily family, std::mt19937& random);
// The adapters made afresh and every value set or removed.
void PrepareStart(IRegistry& registry, const RoundTripStart& start);
// One line per value that differs from the start where it should not.
std::vector<std::string> CompareWithStart(IRegistry& registry, const RoundTripStart& start);

}  // namespace corvane::testing
