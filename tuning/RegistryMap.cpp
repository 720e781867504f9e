#include "tuning/RegistryMap.h"

#include <array>

namespace corvane {

namespace {

constexpr std::string_view kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
constexpr std::string_view kInternet9x =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr std::string_view kInternetNt =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr std::string_view kNdiCache =
    "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
// Two spellings of the same key; both are kept as the program has always
// written them, since snapshot files record the key paths as text.
constexpr std::string_view kTcpipFixed = "System\\CurrentControlSet\\Services\\Tcpip\\Parameters";
constexpr std::string_view kTcpip = "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters";

constexpr RootKey HKLM = RootKey::LocalMachine;
constexpr RootKey HKCU = RootKey::CurrentUser;
using F = TuningField;
using R = RemovedBy;

constexpr std::array<MapEntry, 12> k9xEntries{{
    {F::Fixed, HKLM, kMstcp, "SackOpts", 1, R::Never},
    {F::Fixed, HKLM, kMstcp, "Tcp1323Opts", 1, R::Never},
    {F::DefaultTtl, HKLM, kMstcp, "DefaultTTL", 0, R::Never},
    {F::ReceiveWindow, HKLM, kMstcp, "DefaultRcvWindow", 0, R::ReceiveWindow},
    {F::ReceiveWindow, HKLM, kMstcp, "GlobalMaxTcpWindowSize", 0, R::ReceiveWindow},
    {F::PmtuBlackHoleDetect, HKLM, kMstcp, "PMTUBlackHoleDetect", 0, R::Never},
    {F::PmtuDiscovery, HKLM, kMstcp, "PMTUDiscovery", 0, R::Never},
    {F::KeepAliveTime, HKLM, kMstcp, "KeepAliveTime", 0, R::Never},
    {F::KeepAliveInterval, HKLM, kMstcp, "KeepAliveInterval", 0, R::Never},
    {F::MaxConnPer10Server, HKCU, kInternet9x, "MaxConnectionsPer1_0Server", 0, R::Never},
    {F::MaxConnPer11Server, HKCU, kInternet9x, "MaxConnectionsPerServer", 0, R::Never},
    {F::NdiCacheSize, HKLM, kNdiCache, "", 0, R::Never},
}};

constexpr std::string_view k9xAdapterPrefix = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\";
constexpr std::array<AdapterEntry, 2> k9xAdapterEntries{{
    {F::Mtu, k9xAdapterPrefix, "", "MaxMTU"},
    {F::Mss, k9xAdapterPrefix, "", "MaxMSS"},
}};

constexpr std::array<MapEntry, 15> kNtEntries{{
    {F::Fixed, HKLM, kTcpipFixed, "SackOpts", 1, R::Never},
    {F::Fixed, HKLM, kTcpipFixed, "Tcp1323Opts", 1, R::Never},
    {F::Fixed, HKLM, kTcpipFixed, "TcpMaxDupAcks", 2, R::Never},
    {F::Fixed, HKLM, kTcpipFixed, "DefaultReceiveWindow", 8192, R::Never},
    {F::DefaultTtl, HKLM, kTcpip, "DefaultTTL", 0, R::Never},
    {F::ReceiveWindow, HKLM, kTcpip, "GlobalMaxTcpWindowSize", 0, R::ReceiveWindow},
    {F::ReceiveWindow, HKLM, kTcpip, "TcpWindowSize", 0, R::ReceiveWindow},
    {F::PmtuBlackHoleDetect, HKLM, kTcpip, "EnablePMTUBHDetect", 0, R::Never},
    {F::PmtuDiscovery, HKLM, kTcpip, "EnablePMTUDiscovery", 0, R::Never},
    {F::KeepAliveTime, HKLM, kTcpip, "KeepAliveTime", 0, R::Never},
    {F::KeepAliveInterval, HKLM, kTcpip, "KeepAliveInterval", 0, R::Never},
    {F::SynAttackProtect, HKLM, kTcpip, "SYNAttackProtect", 0, R::Never},
    {F::IcmpRedirects, HKLM, kTcpip, "EnableICMPRedirects", 0, R::Never},
    {F::MaxConnPer10Server, HKCU, kInternetNt, "MaxConnectionsPer1_0Server", 0, R::Never},
    {F::MaxConnPer11Server, HKCU, kInternetNt, "MaxConnectionsPerServer", 0, R::Never},
}};

constexpr std::string_view kNtInterfacePrefix =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
constexpr std::string_view kNtServicePrefix = "SYSTEM\\CurrentControlSet\\Services\\";
constexpr std::string_view kNtServiceSuffix = "\\Parameters\\Tcpip";
constexpr std::array<AdapterEntry, 4> kNtAdapterEntries{{
    {F::Mtu, kNtInterfacePrefix, "", "MTU"},
    {F::Mtu, kNtServicePrefix, kNtServiceSuffix, "MTU"},
    {F::Mss, kNtInterfacePrefix, "", "MSS"},
    {F::Mss, kNtServicePrefix, kNtServiceSuffix, "MSS"},
}};

// On the NT family the NDI cache size comes last, after the interfaces.
constexpr std::array<MapEntry, 1> kNtTrailingEntries{{
    {F::NdiCacheSize, HKLM, kNdiCache, "", 0, R::Never},
}};

}  // namespace

const RegistryMap& Map9x() {
  static const RegistryMap map{k9xEntries, k9xAdapterParent, k9xAdapterEntries, {}, 1};
  return map;
}

const RegistryMap& MapNt() {
  static const RegistryMap map{kNtEntries, kNtAdapterParent, kNtAdapterEntries,
                                kNtTrailingEntries, 4};
  return map;
}

const RegistryMap* MapForFamily(OsFamily family) {
  if (Is9xFamily(family)) return &Map9x();
  if (IsNtFamily(family)) return &MapNt();
  return nullptr;
}

std::int32_t WrittenValue(const TuningProfile& p, TuningField field, std::int32_t fixedValue) {
  switch (field) {
    case F::Fixed: return fixedValue;
    case F::Mss: return p.mss;
    case F::Mtu: return p.mtu;
    case F::ReceiveWindow: return p.receiveWindow;
    case F::DefaultTtl: return p.defaultTtl;
    case F::KeepAliveTime: return p.keepAliveTime;
    case F::KeepAliveInterval: return p.keepAliveInterval;
    case F::SynAttackProtect: return p.synAttackProtect;
    case F::NdiCacheSize: return p.ndiCacheSize;
    case F::PmtuDiscovery: return BoolToFlag(p.pmtuDiscovery);
    case F::PmtuBlackHoleDetect: return BoolToFlag(p.pmtuBlackHoleDetect);
    case F::MaxConnPer10Server: return p.maxConnPer10Server;
    case F::MaxConnPer11Server: return p.maxConnPer11Server;
    case F::IcmpRedirects: return BoolToFlag(p.icmpRedirects);
  }
  return 0;
}

bool IsRemoved(const TuningProfile& profile, RemovedBy removedBy) {
  switch (removedBy) {
    case R::Never: return false;
    case R::ReceiveWindow: return profile.receiveWindow == USE_DEFAULT;
    case R::Mtu: return profile.mtu == USE_DEFAULT;
  }
  return false;
}

std::string AdapterKeyPath(const AdapterEntry& entry, std::string_view subkeyName) {
  std::string path;
  path.reserve(entry.keyPrefix.size() + subkeyName.size() + entry.keySuffix.size());
  path.append(entry.keyPrefix).append(subkeyName).append(entry.keySuffix);
  return path;
}

void ForEachSubkeyName(IRegistry& registry, RegHandle parent,
                       const std::function<void(const std::string&)>& handle) {
  for (std::uint32_t index = 0;; ++index) {
    char name[reg::kMaxKeyNameLength];
    std::uint32_t length = reg::kMaxKeyNameLength;
    RegStatus status = registry.EnumKey(parent, index, name, &length);
    if (status == reg::kMoreData) continue;  // too long to be an adapter: skip it
    if (status != reg::kSuccess) return;     // the end, or a key we cannot walk
    if (length > reg::kMaxKeyNameLength) length = reg::kMaxKeyNameLength;
    handle(std::string(name, length));
  }
}

bool EnumerateAdapterSubkeys(IRegistry& registry, std::string_view parentPath,
                             const std::function<void(const std::string&)>& handle) {
  RegKey parent;
  if (OpenRegKey(registry, RootHandle(RootKey::LocalMachine), parentPath, reg::kKeyRead,
                 parent) != reg::kSuccess) {
    return false;
  }
  ForEachSubkeyName(registry, parent.get(), handle);
  return true;
}

}  // namespace corvane
