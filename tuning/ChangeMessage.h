// What the tuning windows tell the user after a run of registry writes that
// did not all succeed: how many failed out of how many, and which.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "tuning/TuningContext.h"

namespace corvane {

// The failed values named in a message; more are counted, not named.
inline constexpr std::size_t kNamedFailures = 12;

// Empty when nothing failed. Otherwise `what` with the count ("3 of 27"),
// one line per failed value (up to kNamedFailures), the hint about
// administrator rights when one was refused, and `afterwards`.
std::string ChangeFailureMessage(const ChangeCounts& counts, std::string_view what,
                                 std::string_view afterwards);

}  // namespace corvane
