// Where every tuning parameter lives in the registry, for each Windows
// family, in the order in which the apply writes them; and the walk over the
// per-adapter subkeys.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/OsVersion.h"
#include "platform/Registry.h"
#include "tuning/TuningProfile.h"

namespace corvane {

enum class TuningField {
  Fixed,  // the same number on every apply, whatever the profile holds
  Mss,
  Mtu,
  ReceiveWindow,
  DefaultTtl,
  KeepAliveTime,
  KeepAliveInterval,
  SynAttackProtect,
  NdiCacheSize,
  PmtuDiscovery,
  PmtuBlackHoleDetect,
  MaxConnPer10Server,
  MaxConnPer11Server,
  IcmpRedirects,
};

// A value that USE_DEFAULT in this field removes instead of writing.
enum class RemovedBy { Never, ReceiveWindow, Mtu };

struct MapEntry {
  TuningField field;
  RootKey root;
  std::string_view keyPath;
  std::string_view valueName;  // empty: the key's default value
  std::int32_t fixedValue;     // for TuningField::Fixed
  RemovedBy removedBy;
};

// A per-adapter value: written under key (keyPrefix + subkey name +
// keySuffix) of HKEY_LOCAL_MACHINE for each adapter subkey.
struct AdapterEntry {
  TuningField field;
  std::string_view keyPrefix;
  std::string_view keySuffix;
  std::string_view valueName;
};

struct RegistryMap {
  std::span<const MapEntry> entries;         // written first, in this order
  std::string_view adapterParent;            // under HKEY_LOCAL_MACHINE
  std::span<const AdapterEntry> adapterEntries;  // per subkey, in this order
  std::span<const MapEntry> trailingEntries;  // written after the adapters
  std::uint32_t valueType;                   // 1 (REG_SZ) or 4 (REG_DWORD)
};

inline constexpr std::string_view k9xAdapterParent =
    "System\\CurrentControlSet\\Services\\Class\\NetTrans";
inline constexpr std::string_view kNtAdapterParent =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";

const RegistryMap& Map9x();
const RegistryMap& MapNt();
// The map of a family code: 1-4 the 9x map, 5-7 the NT map, else none.
const RegistryMap* MapForFamily(OsFamily family);

// The number written for a field: booleans through BoolToFlag, the fixed
// value for TuningField::Fixed, every other field unchanged.
std::int32_t WrittenValue(const TuningProfile& profile, TuningField field, std::int32_t fixedValue);
// Whether the profile asks for the entry's removal (USE_DEFAULT).
bool IsRemoved(const TuningProfile& profile, RemovedBy removedBy);

// The full key path of an adapter entry for subkey name.
std::string AdapterKeyPath(const AdapterEntry& entry, std::string_view subkeyName);

// Calls handle for each subkey name of the open key, in the registry's
// enumeration order (index 0, 1, ...), each before the next index is asked
// for. Stops at the end of the subkeys or at a failure; a name that does not
// fit the 255-character buffer is skipped.
void ForEachSubkeyName(IRegistry& registry, RegHandle parent,
                       const std::function<void(const std::string&)>& handle);

// Opens the adapter parent key under HKEY_LOCAL_MACHINE and walks its
// subkeys. Returns false, having called nothing, when it cannot be opened.
bool EnumerateAdapterSubkeys(IRegistry& registry, std::string_view parentPath,
                             const std::function<void(const std::string&)>& handle);

}  // namespace corvane
