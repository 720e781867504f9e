#include "tuning/Apply.h"

#include <utility>

#include "platform/RegistryAccess.h"
#include "tuning/Plan.h"
#include "tuning/RegistryMap.h"

namespace corvane {

void CountChange(RegStatus code, RootKey root, std::string_view keyPath, std::string_view valueName,
                 bool deleteIt, ChangeCounts& counts, std::vector<WrittenValueRef>* written) {
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

void ChangeValue(IRegistry& registry, RootKey root, std::string_view keyPath,
                 std::string_view valueName, std::uint32_t valueType, std::int64_t value,
                 bool deleteIt, ChangeCounts& counts, std::vector<WrittenValueRef>* written) {
  RegStatus code = SetRegValue(registry, root, keyPath, valueName, valueType, RegValue(value),
                               deleteIt);
  CountChange(code, root, keyPath, valueName, deleteIt, counts, written);
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

std::string IgnoredHereNote(const std::vector<WrittenValueRef>& written) {
  return IgnoredValuesNote(currentWindowsVersion,
                           IsNtFamily(currentOsFamily) ? MapGroup::Nt : MapGroup::Windows9x, written);
}

ApplyResult RefusedApply(std::string message) {
  ApplyResult result;
  result.status = ApplyStatus::NotDetected;
  result.message = std::move(message);
  return result;
}

ApplyResult ApplyAfterSnapshot(const TuningContext& context,
                               const std::function<void(ApplyResult&)>& write) {
  ApplyResult result;
  result.snapshot = TakeSnapshot(context);
  if (result.snapshot.status != SnapshotStatus::Written) {
    result.status = ApplyStatus::SnapshotFailed;
    result.message = result.snapshot.message;
    return result;
  }
  write(result);
  result.message = FailureMessage(result.changes, "Some network settings could not be changed",
                                  "The settings from before are kept in the backup " +
                                      result.snapshot.name + ".");
  return result;
}

ApplyResult ApplyTuningProfile(const TuningContext& context) {
  const RegistryMap* map = MapForFamily(currentOsFamily);
  if (map == nullptr) {
    return RefusedApply("The Windows version has not been recognised, so no network setting "
                        "was changed.");
  }
  // Read once, when the apply runs: the profile is used unchanged.
  const TuningProfile profile = workingProfile;
  ApplyResult result = ApplyAfterSnapshot(context, [&](ApplyResult& applying) {
    ForEachProfileWrite(context.registry, *map, profile, [&](const PlannedWrite& w) {
      ChangeValue(context.registry, w.root, w.keyPath, w.valueName, w.type, w.value, w.remove,
                  applying.changes, &applying.written);
    });
  });
  // Only values that were really written are named as ignored: a user
  // without the right to change them hears about the failures alone.
  if (result.status == ApplyStatus::Applied) {
    result.message = JoinMessages(std::move(result.message), IgnoredHereNote(result.written));
  }
  return result;
}

}  // namespace corvane
