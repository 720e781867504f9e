#include "tuning/Plan.h"

#include <algorithm>

#include "platform/RegistryAccess.h"
#include "tuning/BackupManager.h"

namespace corvane {

namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool EqualFolded(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

bool StartsFolded(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualFolded(text.substr(0, prefix.size()), prefix);
}

bool SamePlace(const PlanEntry& entry, const PlannedWrite& write) {
  return entry.root == write.root && EqualFolded(entry.keyPath, write.keyPath) &&
         EqualFolded(entry.valueName, write.valueName);
}

// The adapter subkey name of a key that one of the map's adapter entries
// makes; empty for any other key.
std::string AdapterOfKey(const RegistryMap& map, std::string_view keyPath) {
  for (const AdapterEntry& entry : map.adapterEntries) {
    if (!StartsFolded(keyPath, entry.keyPrefix)) continue;
    std::string_view rest = keyPath.substr(entry.keyPrefix.size());
    if (rest.size() < entry.keySuffix.size()) continue;
    std::string_view name = rest.substr(0, rest.size() - entry.keySuffix.size());
    if (!EqualFolded(rest.substr(name.size()), entry.keySuffix)) continue;
    if (name.empty() || name.find('\\') != std::string_view::npos) continue;
    return std::string(name);
  }
  return std::string();
}

std::string RootText(RootKey root) {
  switch (root) {
    case RootKey::LocalMachine: return "HKEY_LOCAL_MACHINE";
    case RootKey::CurrentUser: return "HKEY_CURRENT_USER";
    case RootKey::ClassesRoot: return "HKEY_CLASSES_ROOT";
    case RootKey::Users: return "HKEY_USERS";
    case RootKey::DynData: return "HKEY_DYN_DATA";
  }
  return "HKEY";
}

std::string PlaceText(const PlanEntry& entry) {
  return RootText(entry.root) + "\\" + entry.keyPath + "\\" +
         (entry.valueName.empty() ? std::string("(Default)") : entry.valueName);
}

bool SameData(const RegData& a, const RegData& b) {
  if (a.state != b.state) return false;
  if (a.state != RegData::State::Present) return true;
  if (a.type != b.type) return false;
  return a.type == reg::kTypeDword ? a.number == b.number : a.text == b.text;
}

std::string CodeText(RegStatus code) {
  if (code == reg::kAccessDenied) return "access denied";
  return "error " + std::to_string(code);
}

// Collects the writes into entries, one per place.
class PlanBuilder {
 public:
  PlanBuilder(IRegistry& registry, Plan& plan) : registry_(registry), plan_(plan) {}

  void Add(const PlannedWrite& write) {
    RegData data = WrittenData(write);
    for (PlanEntry& entry : plan_.entries) {
      if (SamePlace(entry, write)) {
        entry.newData = std::move(data);
        return;
      }
    }
    PlanEntry entry;
    entry.root = write.root;
    entry.keyPath = std::string(write.keyPath);
    entry.valueName = std::string(write.valueName);
    entry.adapter = std::string(write.adapter);
    entry.oldData = ReadPlanData(registry_, write.root, write.keyPath, write.valueName);
    entry.newData = std::move(data);
    if (const HonouredRow* row =
            FindHonouredRow(plan_.group, write.root, write.keyPath, write.valueName)) {
      entry.effect = EffectOn(*row, plan_.version);
      if (HasNoEffect(entry.effect)) entry.reason = row->instead;
    }
    plan_.entries.push_back(std::move(entry));
  }

  void Finish() {
    for (PlanEntry& entry : plan_.entries) {
      entry.changes = entry.oldData.state == RegData::State::Unreadable ||
                      !SameData(entry.oldData, entry.newData);
    }
  }

 private:
  IRegistry& registry_;
  Plan& plan_;
};

}  // namespace

void ForEachProfileWrite(IRegistry& registry, const RegistryMap& map, const TuningProfile& profile,
                         const WriteVisitor& visit) {
  auto entryWrite = [&](const MapEntry& entry) {
    visit(PlannedWrite{entry.root, entry.keyPath, entry.valueName, {}, map.valueType,
                       WrittenValue(profile, entry.field, entry.fixedValue),
                       IsRemoved(profile, entry.removedBy)});
  };
  for (const MapEntry& entry : map.entries) entryWrite(entry);
  // The MTU and MSS values go with the mtu field: USE_DEFAULT there removes
  // both, whatever mss holds.
  const bool removeAdapterValues = IsRemoved(profile, RemovedBy::Mtu);
  (void)EnumerateAdapterSubkeys(registry, map.adapterParent, [&](const std::string& name) {
    for (const AdapterEntry& entry : map.adapterEntries) {
      const std::string keyPath = AdapterKeyPath(entry, name);
      visit(PlannedWrite{RootKey::LocalMachine, keyPath, entry.valueName, name, map.valueType,
                         WrittenValue(profile, entry.field, 0), removeAdapterValues});
    }
  });
  for (const MapEntry& entry : map.trailingEntries) entryWrite(entry);
}

void ForEachRestoreWrite(const SnapshotContents& contents, const WriteVisitor& visit) {
  const bool nt = IsNtFamily(contents.family);
  const std::uint32_t type = nt ? reg::kTypeDword : reg::kTypeSz;
  const RegistryMap& map = nt ? MapNt() : Map9x();
  for (const SnapshotGroup& group : contents.groups) {
    const std::string adapter = AdapterOfKey(map, group.keyPath);
    for (const SnapshotPair& pair : group.pairs) {
      // NT: the 32 bits as recorded, whether in signed or unsigned form. 9x:
      // the text of the number as recorded.
      std::int64_t value = nt ? static_cast<std::int32_t>(static_cast<std::uint32_t>(pair.value))
                              : pair.value;
      bool remove = value == 0 && RestoresZeroAsRemoval(pair.name);
      visit(PlannedWrite{group.root, group.keyPath, pair.name, adapter, type, value, remove});
    }
  }
}

RegData ReadPlanData(IRegistry& registry, RootKey root, std::string_view keyPath,
                     std::string_view valueName) {
  RegData data;
  auto unreadable = [&](RegStatus code, std::string why) {
    data.state = RegData::State::Unreadable;
    data.code = code;
    data.why = std::move(why);
    return data;
  };
  RegKey key;
  RegStatus code = OpenRegKey(registry, RootHandle(root), keyPath, reg::kKeyRead, key);
  if (code == reg::kFileNotFound) return data;
  if (code != reg::kSuccess) return unreadable(code, CodeText(code));
  std::uint32_t type = reg::kTypeNone;
  std::uint32_t size = 0;
  code = registry.QueryValue(key.get(), valueName, &type, nullptr, &size);
  if (code == reg::kFileNotFound) return data;
  if (code != reg::kSuccess && code != reg::kMoreData) return unreadable(code, CodeText(code));
  std::vector<std::uint8_t> bytes(size);
  code = registry.QueryValue(key.get(), valueName, &type, bytes.empty() ? nullptr : bytes.data(),
                             &size);
  if (code == reg::kFileNotFound) return data;
  if (code != reg::kSuccess) return unreadable(code, CodeText(code));
  bytes.resize(std::min<std::size_t>(size, bytes.size()));
  if (type == reg::kTypeDword && bytes.size() == 4) {
    data.number = static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                  static_cast<std::uint32_t>(bytes[2]) << 16 |
                  static_cast<std::uint32_t>(bytes[3]) << 24;
  } else if (type == reg::kTypeSz) {
    std::string text(bytes.begin(), bytes.end());
    while (!text.empty() && text.back() == '\0') text.pop_back();
    data.text = std::move(text);
  } else {
    std::string what = type == reg::kTypeDword ? "REG_DWORD" : "type " + std::to_string(type);
    return unreadable(0, what + " of " + std::to_string(bytes.size()) + " bytes");
  }
  data.state = RegData::State::Present;
  data.type = type;
  return data;
}

RegData WrittenData(const PlannedWrite& write) {
  RegData data;
  if (write.remove) return data;
  data.state = RegData::State::Present;
  data.type = write.type;
  if (write.type == reg::kTypeDword) {
    data.number = static_cast<std::uint32_t>(write.value);
  } else {
    data.text = RegValue(write.value).Text();
  }
  return data;
}

std::string DataText(const RegData& data) {
  switch (data.state) {
    case RegData::State::Absent: return "absent";
    case RegData::State::Unreadable: return "cannot be read (" + data.why + ")";
    case RegData::State::Present: break;
  }
  if (data.type == reg::kTypeDword) return std::to_string(data.number);
  return "\"" + data.text + "\"";
}

std::string DataTypeText(const RegData& data) {
  if (data.state != RegData::State::Present) return std::string();
  if (data.type == reg::kTypeDword) return "REG_DWORD";
  if (data.type == reg::kTypeSz) return "REG_SZ";
  return "type " + std::to_string(data.type);
}

int Plan::Changing() const {
  return static_cast<int>(
      std::count_if(entries.begin(), entries.end(), [](const PlanEntry& e) { return e.changes; }));
}

int Plan::ChangingWithoutEffect() const {
  return static_cast<int>(std::count_if(entries.begin(), entries.end(), [](const PlanEntry& e) {
    return e.changes && e.newData.state == RegData::State::Present && HasNoEffect(e.effect);
  }));
}

Plan PlanProfile(IRegistry& registry, OsFamily family, WindowsVersion version,
                 const TuningProfile& profile) {
  Plan plan;
  plan.version = version;
  const RegistryMap* map = MapForFamily(family);
  if (map == nullptr) {
    plan.status = PlanStatus::NotDetected;
    plan.message = "The Windows version has not been recognised, so no network setting "
                   "would be changed.";
    return plan;
  }
  plan.group = IsNtFamily(family) ? MapGroup::Nt : MapGroup::Windows9x;
  PlanBuilder builder(registry, plan);
  ForEachProfileWrite(registry, *map, profile, [&](const PlannedWrite& w) { builder.Add(w); });
  builder.Finish();
  return plan;
}

Plan PlanRestore(const TuningContext& context, std::string_view fileName, OsFamily family,
                 WindowsVersion version) {
  Plan plan;
  plan.version = version;
  LoadedSnapshot loaded = LoadSnapshotForRestore(context, fileName, family);
  switch (loaded.status) {
    case RestoreStatus::Restored: break;
    case RestoreStatus::OtherFamily: plan.status = PlanStatus::OtherFamily; break;
    case RestoreStatus::Unreadable: plan.status = PlanStatus::Unreadable; break;
    case RestoreStatus::Damaged: plan.status = PlanStatus::Damaged; break;
    case RestoreStatus::NothingToDo: plan.status = PlanStatus::NothingToDo; break;
  }
  if (plan.status != PlanStatus::Ready) {
    plan.message = loaded.message;
    if (plan.status == PlanStatus::NothingToDo) {
      plan.message = "The backup file " + std::string(fileName) +
                     " holds no settings for this Windows, so nothing would be changed.";
    }
    return plan;
  }
  plan.group = IsNtFamily(loaded.contents.family) ? MapGroup::Nt : MapGroup::Windows9x;
  PlanBuilder builder(context.registry, plan);
  ForEachRestoreWrite(loaded.contents, [&](const PlannedWrite& w) { builder.Add(w); });
  builder.Finish();
  return plan;
}

std::string PlanDifference(const Plan& before, const Plan& now) {
  const std::string again = "\nNothing was written. Look at the changes again before applying.";
  if (now.status != PlanStatus::Ready) return now.message;
  const std::string head = "The registry has changed since the changes were worked out: ";
  auto adapters = [](const Plan& plan) {
    std::vector<std::string> names;
    for (const PlanEntry& e : plan.entries) {
      if (!e.adapter.empty() && std::find(names.begin(), names.end(), e.adapter) == names.end()) {
        names.push_back(e.adapter);
      }
    }
    return names;
  };
  const std::vector<std::string> adaptersBefore = adapters(before);
  const std::vector<std::string> adaptersNow = adapters(now);
  for (const std::string& name : adaptersBefore) {
    if (std::find(adaptersNow.begin(), adaptersNow.end(), name) == adaptersNow.end()) {
      return head + "the adapter " + name + " is gone." + again;
    }
  }
  for (const std::string& name : adaptersNow) {
    if (std::find(adaptersBefore.begin(), adaptersBefore.end(), name) == adaptersBefore.end()) {
      return head + "the adapter " + name + " is new." + again;
    }
  }
  std::size_t shared = std::min(before.entries.size(), now.entries.size());
  for (std::size_t i = 0; i < shared; ++i) {
    const PlanEntry& a = before.entries[i];
    const PlanEntry& b = now.entries[i];
    if (a.root != b.root || !EqualFolded(a.keyPath, b.keyPath) ||
        !EqualFolded(a.valueName, b.valueName)) {
      const PlanEntry& which = a.adapter.empty() ? b : a;
      return head + "the adapters are not the same (" + which.adapter + ")." + again;
    }
    if (!SameData(a.oldData, b.oldData)) {
      std::string what = b.oldData.state == RegData::State::Absent ? "is gone" : "now holds " +
                                                                        DataText(b.oldData);
      return head + PlaceText(b) + " " + what + "." + again;
    }
  }
  if (before.entries.size() != now.entries.size()) {
    const PlanEntry& extra =
        before.entries.size() > now.entries.size() ? before.entries[shared] : now.entries[shared];
    std::string where = extra.adapter.empty() ? PlaceText(extra) : "adapter " + extra.adapter;
    return head + where + (before.entries.size() > now.entries.size() ? " is gone." : " is new.") +
           again;
  }
  return std::string();
}

std::string PlaceName(const PlanEntry& entry) {
  if (!entry.valueName.empty()) return entry.valueName;
  std::size_t slash = entry.keyPath.rfind('\\');
  return slash == std::string::npos ? entry.keyPath : entry.keyPath.substr(slash + 1);
}

}  // namespace corvane
