// Applying workingProfile: a snapshot first, then every parameter of the
// running family's registry map written or, for USE_DEFAULT, removed.
#pragma once

#include <string>

#include "tuning/Snapshot.h"
#include "tuning/TuningContext.h"

namespace corvane {

enum class ApplyStatus {
  Applied,          // the snapshot was taken and every value was attempted
  NotDetected,      // currentOsFamily is 0 or unknown: nothing was done
  SnapshotFailed,   // no snapshot, so nothing was written
};

struct ApplyResult {
  ApplyStatus status = ApplyStatus::Applied;
  SnapshotResult snapshot;
  ChangeCounts changes;
  // For the user: why the apply was refused, or which values could not be
  // changed. Empty when everything was written.
  std::string message;
};

// Reads workingProfile and currentOsFamily. Every write and removal goes
// through SetRegValue, which creates a missing key first.
ApplyResult ApplyTuningProfile(const TuningContext& context);

// Writes or removes one value through SetRegValue and counts the outcome:
// removing a value that is already absent counts as removed.
void ChangeValue(IRegistry& registry, RootKey root, std::string_view keyPath,
                 std::string_view valueName, std::uint32_t valueType, std::int64_t value,
                 bool deleteIt, ChangeCounts& counts);

// The message for values that could not be changed; empty when none failed.
std::string FailureMessage(const ChangeCounts& counts, std::string_view whatFailed,
                           std::string_view afterwards);

}  // namespace corvane
