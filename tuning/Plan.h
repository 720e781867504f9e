// A plan: every registry place that an apply or a restore would change, with
// the data there now and the data it would get, worked out without writing
// anything. The apply, the restore and the plan walk the same map and the
// same adapter subkeys (ForEachProfileWrite, ForEachRestoreWrite), so what the
// plan lists is what they write.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/OsVersion.h"
#include "platform/Registry.h"
#include "tuning/HonouredValues.h"
#include "tuning/RegistryMap.h"
#include "tuning/SnapshotFile.h"
#include "tuning/TuningContext.h"
#include "tuning/TuningProfile.h"

namespace corvane {

// One write or removal, as the apply and the restore carry it out.
struct PlannedWrite {
  RootKey root = RootKey::LocalMachine;
  std::string_view keyPath;
  std::string_view valueName;
  std::string_view adapter;  // the adapter subkey name; empty for the others
  std::uint32_t type = reg::kTypeSz;
  std::int64_t value = 0;
  bool remove = false;
};
using WriteVisitor = std::function<void(const PlannedWrite&)>;

// The writes of an apply of profile along map, in the apply's order: the
// entries, then for each adapter subkey (each handed over before the next
// subkey is asked for) its adapter entries, then the trailing entries.
void ForEachProfileWrite(IRegistry& registry, const RegistryMap& map, const TuningProfile& profile,
                         const WriteVisitor& visit);
// The writes of a restore of a whole, checked snapshot, in file order.
void ForEachRestoreWrite(const SnapshotContents& contents, const WriteVisitor& visit);

// Registry data, as it is or as it would be.
struct RegData {
  enum class State { Absent, Present, Unreadable };
  State state = State::Absent;
  std::uint32_t type = reg::kTypeNone;  // Present
  std::uint32_t number = 0;             // Present REG_DWORD
  std::string text;                     // Present REG_SZ, without its NUL
  RegStatus code = 0;                   // Unreadable: the code of the read
  std::string why;                      // Unreadable: what stopped the read
  bool operator==(const RegData&) const = default;
};

// The data of a value, read without writing anything (the key is opened
// for reading only). A missing key or value is absent; no rights, another
// failure, or data that is neither a text nor a 4-byte number is unreadable.
RegData ReadPlanData(IRegistry& registry, RootKey root, std::string_view keyPath,
                     std::string_view valueName);
// The data a write leaves: the number's decimal text for REG_SZ, its low
// 32 bits for REG_DWORD; absent for a removal.
RegData WrittenData(const PlannedWrite& write);
// "1500", "\"576\"", "absent", "cannot be read (access denied)".
std::string DataText(const RegData& data);
// "REG_SZ", "REG_DWORD", "type 3"; empty for data that is not present.
std::string DataTypeText(const RegData& data);

struct PlanEntry {
  RootKey root = RootKey::LocalMachine;
  std::string keyPath;
  std::string valueName;  // empty: the key's default value
  std::string adapter;    // the adapter subkey name; empty for the others
  RegData oldData;
  RegData newData;
  bool changes = false;   // an unreadable old value counts as a change
  Effect effect = Effect::Unknown;  // on the running Windows
  std::string_view reason;          // from the honoured-values table, when it has no effect
  bool operator==(const PlanEntry&) const = default;
};

enum class PlanStatus {
  Ready,
  NotDetected,  // the Windows version is not known: nothing would be written
  OtherFamily,  // a snapshot of another Windows version
  Unreadable,   // the snapshot file could not be read
  Damaged,      // the snapshot is not a whole, well-formed one
  NothingToDo,  // a snapshot whose version code is outside 1-7
};

struct Plan {
  PlanStatus status = PlanStatus::Ready;
  std::string message;  // for the user when status is not Ready
  MapGroup group = MapGroup::Nt;
  WindowsVersion version = WindowsVersion::Unknown;
  // One entry per place, in the order of the first write there; a place
  // written twice holds the data of the last write.
  std::vector<PlanEntry> entries;

  int Changing() const;
  // Changing values that the running Windows ignores.
  int ChangingWithoutEffect() const;
};

// The plan of an apply of profile on the Windows of family and version.
Plan PlanProfile(IRegistry& registry, OsFamily family, WindowsVersion version,
                 const TuningProfile& profile);
// The plan of a restore of fileName from Backups, checked as the restore
// checks it (the same messages).
Plan PlanRestore(const TuningContext& context, std::string_view fileName, OsFamily family,
                 WindowsVersion version);

// Empty when now lists the same places with the same old data as before;
// otherwise a message naming the first difference (a key that vanished, a
// value that another program changed, an adapter added or removed).
std::string PlanDifference(const Plan& before, const Plan& now);

// The display name of a place: its value name, or the last part of its key
// for the default value.
std::string PlaceName(const PlanEntry& entry);

}  // namespace corvane
