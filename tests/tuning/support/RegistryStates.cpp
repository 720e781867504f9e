#include "tests/tuning/support/RegistryStates.h"

#include <algorithm>

#include "tests/support/SubkeyNames.h"
#include "tests/tuning/support/FixedClock.h"
#include "tuning/RegistryMap.h"
#include "tuning/Snapshot.h"

namespace corvane::testing {

StoredValue Sz(std::string_view text) {
  StoredValue v{reg::kTypeSz, std::vector<std::uint8_t>(text.begin(), text.end())};
  v.data.push_back(0);
  return v;
}

StoredValue Dword(std::uint32_t value) {
  return StoredValue{reg::kTypeDword,
                     {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                      static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)}};
}

std::vector<ValueLocation> MapLocations(OsFamily family, const std::vector<std::string>& adapters) {
  std::vector<ValueLocation> where;
  const RegistryMap* map = MapForFamily(family);
  if (map == nullptr) return where;
  auto add = [&](ValueLocation v) {
    // The two spellings of the NT parameters key name the same key.
    auto same = [&](const ValueLocation& w) {
      auto fold = [](std::string s) {
        for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        return s;
      };
      return w.root == v.root && fold(w.keyPath) == fold(v.keyPath) &&
             fold(w.valueName) == fold(v.valueName);
    };
    if (std::none_of(where.begin(), where.end(), same)) where.push_back(std::move(v));
  };
  for (const MapEntry& e : map->entries) add({e.root, std::string(e.keyPath), std::string(e.valueName)});
  for (const std::string& n : adapters) {
    for (const AdapterEntry& e : map->adapterEntries) {
      add({RootKey::LocalMachine, AdapterKeyPath(e, n), std::string(e.valueName)});
    }
  }
  for (const MapEntry& e : map->trailingEntries) {
    add({e.root, std::string(e.keyPath), std::string(e.valueName)});
  }
  return where;
}

RegistryState ReadState(IRegistry& registry, const std::vector<ValueLocation>& where) {
  RegistryState state;
  for (const ValueLocation& v : where) {
    ValueState value;
    RegKey key;
    if (OpenRegKey(registry, RootHandle(v.root), v.keyPath, reg::kKeyRead, key) == reg::kSuccess) {
      std::uint32_t type = 0;
      std::uint32_t size = 0;
      if (registry.QueryValue(key.get(), v.valueName, &type, nullptr, &size) == reg::kSuccess) {
        StoredValue stored{type, std::vector<std::uint8_t>(size)};
        if (registry.QueryValue(key.get(), v.valueName, &type, stored.data.data(), &size) ==
            reg::kSuccess) {
          stored.data.resize(size);
          value = stored;
        }
      }
    }
    state.emplace_back(v, value);
  }
  return state;
}

void WriteState(IRegistry& registry, const RegistryState& state) {
  for (const auto& [v, value] : state) {
    RegKey key;
    if (value) {
      if (CreateRegKey(registry, RootHandle(v.root), v.keyPath, reg::kKeyAllAccess, key) == 0) {
        (void)registry.SetValue(key.get(), v.valueName, value->type, value->data.data(),
                                static_cast<std::uint32_t>(value->data.size()));
      }
    } else if (OpenRegKey(registry, RootHandle(v.root), v.keyPath, reg::kKeyAllAccess, key) == 0) {
      (void)registry.DeleteValue(key.get(), v.valueName);
    }
  }
}

void DeleteKeyTree(IRegistry& registry, RootKey root, const std::string& path) {
  {
    RegKey key;
    if (OpenRegKey(registry, RootHandle(root), path, reg::kKeyAllAccess, key) != reg::kSuccess) return;
    for (const auto& child : SubkeyNames(registry, key.get())) DeleteKeyTree(registry, root, path + "\\" + child);
  }
  std::size_t slash = path.rfind('\\');
  RegKey parent;
  if (slash == std::string::npos) {
    (void)registry.DeleteKey(RootHandle(root), path);
  } else if (OpenRegKey(registry, RootHandle(root), path.substr(0, slash), reg::kKeyAllAccess,
                        parent) == reg::kSuccess) {
    (void)registry.DeleteKey(parent.get(), path.substr(slash + 1));
  }
}

void RemoveAdapters(IRegistry& registry, OsFamily family, const std::vector<std::string>& adapters) {
  const RegistryMap* map = MapForFamily(family);
  if (map == nullptr) return;
  DeleteKeyTree(registry, RootKey::LocalMachine, std::string(map->adapterParent));
  if (IsNtFamily(family)) {
    for (const std::string& n : adapters) {
      DeleteKeyTree(registry, RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\" + n);
    }
  }
}

void ResetAdapters(IRegistry& registry, OsFamily family, const std::vector<std::string>& adapters) {
  RemoveAdapters(registry, family, adapters);
  const RegistryMap* map = MapForFamily(family);
  if (map == nullptr) return;
  RegKey parent;
  if (CreateRegKey(registry, RootHandle(RootKey::LocalMachine), map->adapterParent,
                   reg::kKeyAllAccess, parent) != reg::kSuccess) {
    return;
  }
  for (const std::string& n : adapters) {
    RegKey child;
    (void)CreateRegKey(registry, parent.get(), n, reg::kKeyAllAccess, child);
  }
}

namespace {

const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kInternet9x = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kInternetNt = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kCache = "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters";
const std::string kNetTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\";
const std::string kInterfaces = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
const std::string kServices = "SYSTEM\\CurrentControlSet\\Services\\";

const std::vector<std::string> k9xAdapters = {"0000", "0001", "0002"};
const std::vector<std::string> kNtAdapters = {"{3A5C0F2E-1111-4B2D-9C6E-00000000000A}",
                                              "{3A5C0F2E-1111-4B2D-9C6E-00000000000B}",
                                              "{3A5C0F2E-1111-4B2D-9C6E-00000000000C}"};

std::vector<std::string> First(const std::vector<std::string>& all, std::size_t n) {
  return std::vector<std::string>(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(n));
}

}  // namespace

std::vector<GoldenCase> GoldenCases() {
  return {
      {"win98-no-adapter.BCK", 3, {}, 32},
      {"win98-one-adapter.BCK", 3, First(k9xAdapters, 1), 37},
      {"win98-three-adapters.BCK", 3, k9xAdapters, 47},
      {"winxp-no-interface.BCK", 7, {}, 38},
      {"winxp-one-interface.BCK", 7, First(kNtAdapters, 1), 48},
      {"winxp-three-interfaces.BCK", 7, kNtAdapters, 68},
  };
}

LocalDateTime GoldenTime() { return LocalDateTime{{2008, 1, 21}, {14, 5, 9}}; }

RegistryState GoldenState(const GoldenCase& c) {
  const auto LM = RootKey::LocalMachine;
  const auto CU = RootKey::CurrentUser;
  RegistryState s;
  auto put = [&](RootKey root, const std::string& path, const std::string& name, ValueState v) {
    s.push_back({ValueLocation{root, path, name}, std::move(v)});
  };
  std::size_t n = c.adapters.size();
  if (Is9xFamily(c.family)) {
    put(LM, kMstcp, "SackOpts", Sz("0"));  // recorded as the constant 1 all the same
    put(LM, kMstcp, "Tcp1323Opts", std::nullopt);
    put(LM, kMstcp, "DefaultTTL", Sz("128"));
    put(LM, kMstcp, "DefaultRcvWindow", Sz("8760"));
    put(LM, kMstcp, "GlobalMaxTcpWindowSize", std::nullopt);
    put(LM, kMstcp, "PMTUBlackHoleDetect", Sz("0"));
    put(LM, kMstcp, "PMTUDiscovery", Sz("2"));  // a flag: recorded 1
    put(LM, kMstcp, "KeepAliveTime", Sz("7200000 ms"));  // the leading number
    put(LM, kMstcp, "KeepAliveInterval", std::nullopt);
    put(CU, kInternet9x, "MaxConnectionsPer1_0Server", Sz("4"));
    put(CU, kInternet9x, "MaxConnectionsPerServer", std::nullopt);
    put(LM, kCache, "", Sz("-16"));
    const ValueState mtu[] = {Sz("1500"), Sz("576"), std::nullopt};
    const ValueState mss[] = {Sz("1460"), std::nullopt, Sz("x")};
    for (std::size_t i = 0; i < n; ++i) {
      put(LM, kNetTrans + c.adapters[i], "MaxMTU", mtu[i]);
      put(LM, kNetTrans + c.adapters[i], "MaxMSS", mss[i]);
    }
  } else {
    put(LM, kTcpip, "TcpMaxDupAcks", Dword(5));  // a constant in the file
    put(LM, kTcpip, "DefaultTTL", Dword(64));
    put(LM, kTcpip, "GlobalMaxTcpWindowSize", Dword(65535));
    put(LM, kTcpip, "TcpWindowSize", std::nullopt);
    put(LM, kTcpip, "EnablePMTUBHDetect", Dword(0));
    put(LM, kTcpip, "EnablePMTUDiscovery", Dword(1));
    put(LM, kTcpip, "KeepAliveTime", Dword(7200000));
    put(LM, kTcpip, "KeepAliveInterval", Dword(1000));
    put(LM, kTcpip, "SYNAttackProtect", std::nullopt);
    put(LM, kTcpip, "EnableICMPRedirects", Dword(0xFFFFFFFFu));  // recorded -1
    put(CU, kInternetNt, "MaxConnectionsPer1_0Server", Dword(10));
    put(CU, kInternetNt, "MaxConnectionsPerServer", std::nullopt);
    put(LM, kCache, "", Dword(0x80000000u));  // recorded -2147483648
    const ValueState interfaceMtu[] = {Dword(1500), Dword(576), std::nullopt};
    const ValueState interfaceMss[] = {std::nullopt, Dword(536), std::nullopt};
    const ValueState serviceMtu[] = {std::nullopt, std::nullopt, std::nullopt};
    const ValueState serviceMss[] = {Dword(1460), std::nullopt, std::nullopt};
    for (std::size_t i = 0; i < n; ++i) {
      put(LM, kInterfaces + c.adapters[i], "MTU", interfaceMtu[i]);
      put(LM, kInterfaces + c.adapters[i], "MSS", interfaceMss[i]);
      // The second interface has no service key at all.
      if (i == 1) continue;
      put(LM, kServices + c.adapters[i] + "\\Parameters\\Tcpip", "MTU", serviceMtu[i]);
      put(LM, kServices + c.adapters[i] + "\\Parameters\\Tcpip", "MSS", serviceMss[i]);
    }
  }
  return s;
}

std::string TakeGoldenSnapshot(IRegistry& registry, IFileSystem& files,
                               const std::string& programFolder, const GoldenCase& c) {
  ResetAdapters(registry, c.family, c.adapters);
  WriteState(registry, GoldenState(c));
  FixedClock clock(GoldenTime());
  OsFamily saved = currentOsFamily;
  currentOsFamily = c.family;
  SnapshotResult result = TakeSnapshot(TuningContext{registry, files, clock, programFolder});
  currentOsFamily = saved;
  RemoveAdapters(registry, c.family, c.adapters);
  if (result.status != SnapshotStatus::Written) return "ERROR " + result.message;
  std::string data;
  if (files.ReadFileText(result.path, 1u << 20, data) != fs::kSuccess) return "ERROR unreadable";
  (void)files.RemoveFile(result.path);
  return data;
}

}  // namespace corvane::testing
