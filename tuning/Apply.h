// Applying workingProfile: a snapshot first, then every parameter of the
// running family's registry map written or, for USE_DEFAULT, removed.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tuning/HonouredValues.h"
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
  // The values written (not removed), in order; the result message names
  // those that the running Windows ignores.
  std::vector<WrittenValueRef> written;
  // For the user: why the apply was refused, which values could not be
  // changed, and which written values the running Windows ignores. Empty
  // when everything was written and every written value acts.
  std::string message;
};

// Reads workingProfile and currentOsFamily. Every write and removal goes
// through SetRegValue, which creates a missing key first.
ApplyResult ApplyTuningProfile(const TuningContext& context);

// The guard of every apply: takes the snapshot and, only when it was
// written, runs write (which changes values, counting them in the result);
// the result's message is then the failures' (FailureMessage), naming the
// backup. Without a snapshot nothing is written: SnapshotFailed, with the
// snapshot's message.
ApplyResult ApplyAfterSnapshot(const TuningContext& context,
                               const std::function<void(ApplyResult&)>& write);

// An apply refused before anything was done (NotDetected), and why.
ApplyResult RefusedApply(std::string message);

// IgnoredValuesNote for the running Windows (currentWindowsVersion and
// currentOsFamily's group).
std::string IgnoredHereNote(const std::vector<WrittenValueRef>& written);

// Writes or removes one value through SetRegValue and counts the outcome:
// removing a value that is already absent counts as removed. A value that
// was written (not removed) is added to `written` when one is given.
void ChangeValue(IRegistry& registry, RootKey root, std::string_view keyPath,
                 std::string_view valueName, std::uint32_t valueType, std::int64_t value,
                 bool deleteIt, ChangeCounts& counts,
                 std::vector<WrittenValueRef>* written = nullptr);
// How ChangeValue counts the outcome code of one write or removal.
void CountChange(RegStatus code, RootKey root, std::string_view keyPath, std::string_view valueName,
                 bool deleteIt, ChangeCounts& counts, std::vector<WrittenValueRef>* written);

// The result message: the failures first, then the note on the written
// values that the running Windows ignores (IgnoredValuesNote).
std::string JoinMessages(std::string first, const std::string& second);

// The message for values that could not be changed; empty when none failed.
std::string FailureMessage(const ChangeCounts& counts, std::string_view whatFailed,
                           std::string_view afterwards);

}  // namespace corvane
