#include "tuning/Apply.h"

#include "platform/RegistryAccess.h"
#include "tuning/Plan.h"
#include "tuning/RegistryMap.h"

namespace corvane {

void ChangeValue(IRegistry& registry, RootKey root, std::string_view keyPath,
                 std::string_view valueName, std::uint32_t valueType, std::int64_t value,
                 bool deleteIt, ChangeCounts& counts, std::vector<WrittenValueRef>* written) {
  RegStatus code = SetRegValue(registry, root, keyPath, valueName, valueType, RegValue(value),
                               deleteIt);
  if (code == reg::kSuccess || (deleteIt && code == reg::kFileNotFound)) {
    ++(deleteIt ? counts.removed : counts.written);
    if (!deleteIt && written != nullptr) {
      written->push_back(WrittenValueRef{root, std::string(keyPath), std::string(valueName)});
    }
    return;
  }
  ++counts.failed;
  counts.failures.push_back(
      FailedValue{root, std::string(keyPath), std::string(valueName), code, deleteIt});
}

std::string FailureMessage(const ChangeCounts& counts, std::string_view whatFailed,
                           std::string_view afterwards) {
  if (counts.failed == 0) return std::string();
  const FailedValue& first = counts.failures.front();
  std::string message = std::string(whatFailed) + " (" + std::to_string(counts.failed) + " failed).";
  message += "\nThe first one: " + DescribeValue(first) + " (error " + std::to_string(first.code) +
             (first.code == reg::kAccessDenied ? ", access denied" : "") + ").";
  message += "\nYou may lack the right to change HKEY_LOCAL_MACHINE; an administrator can.";
  if (!afterwards.empty()) message += "\n" + std::string(afterwards);
  return message;
}

std::string JoinMessages(std::string first, const std::string& second) {
  if (first.empty()) return second;
  if (!second.empty()) first += "\n\n" + second;
  return first;
}

ApplyResult ApplyTuningProfile(const TuningContext& context) {
  ApplyResult result;
  const RegistryMap* map = MapForFamily(currentOsFamily);
  if (map == nullptr) {
    result.status = ApplyStatus::NotDetected;
    result.message = "The Windows version has not been recognised, so no network setting "
                     "was changed.";
    return result;
  }
  result.snapshot = TakeSnapshot(context);
  if (result.snapshot.status != SnapshotStatus::Written) {
    result.status = ApplyStatus::SnapshotFailed;
    result.message = result.snapshot.message;
    return result;
  }

  // Read once, when the apply runs: the profile is used unchanged.
  const TuningProfile profile = workingProfile;
  ForEachProfileWrite(context.registry, *map, profile, [&](const PlannedWrite& w) {
    ChangeValue(context.registry, w.root, w.keyPath, w.valueName, w.type, w.value, w.remove,
                result.changes, &result.written);
  });

  // Only values that were really written are named as ignored: a user
  // without the right to change them hears about the failures alone.
  result.message = JoinMessages(
      FailureMessage(result.changes, "Some network settings could not be changed",
                     "The settings from before are kept in the backup " + result.snapshot.name +
                         "."),
      IgnoredValuesNote(currentWindowsVersion,
                        IsNtFamily(currentOsFamily) ? MapGroup::Nt : MapGroup::Windows9x,
                        result.written));
  return result;
}

}  // namespace corvane
