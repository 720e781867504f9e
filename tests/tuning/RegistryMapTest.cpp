#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RegistryAccess.h"
#include "tests/support/MemoryRegistry.h"
#include "tuning/RegistryMap.h"

namespace corvane {
namespace {

std::vector<std::string> Names(std::span<const MapEntry> entries) {
  std::vector<std::string> names;
  for (const auto& e : entries) names.emplace_back(e.valueName);
  return names;
}

TEST(TuningProfile, FieldsInDeclaredOrderAndWidths) {
  TuningProfile p;
  static_assert(sizeof(p.mss) == 4 && sizeof(p.mtu) == 4 && sizeof(p.receiveWindow) == 4);
  static_assert(sizeof(p.synAttackProtect) == 2 && sizeof(p.pmtuDiscovery) == 2);
  static_assert(sizeof(p.pmtuBlackHoleDetect) == 2 && sizeof(p.icmpRedirects) == 2);
  static_assert(offsetof(TuningProfile, mss) < offsetof(TuningProfile, mtu));
  static_assert(offsetof(TuningProfile, keepAliveInterval) < offsetof(TuningProfile, synAttackProtect));
  static_assert(offsetof(TuningProfile, ndiCacheSize) < offsetof(TuningProfile, pmtuDiscovery));
  static_assert(offsetof(TuningProfile, maxConnPer11Server) < offsetof(TuningProfile, icmpRedirects));
  EXPECT_EQ(p, TuningProfile{});  // all zero until the wizard loads
}

TEST(TuningProfile, BoolToFlagIsOneOnlyForMinusOne) {
  EXPECT_EQ(BoolToFlag(-1), 1);
  EXPECT_EQ(BoolToFlag(0), 0);
  EXPECT_EQ(BoolToFlag(1), 0);
  EXPECT_EQ(BoolToFlag(2), 0);
}

TEST(RegistryMap, The9xMapInWriteOrder) {
  const RegistryMap& map = Map9x();
  EXPECT_EQ(map.valueType, reg::kTypeSz);
  EXPECT_EQ(Names(map.entries),
            (std::vector<std::string>{"SackOpts", "Tcp1323Opts", "DefaultTTL", "DefaultRcvWindow",
                                      "GlobalMaxTcpWindowSize", "PMTUBlackHoleDetect",
                                      "PMTUDiscovery", "KeepAliveTime", "KeepAliveInterval",
                                      "MaxConnectionsPer1_0Server", "MaxConnectionsPerServer", ""}));
  for (std::size_t i = 0; i < 9; ++i) {
    EXPECT_EQ(map.entries[i].keyPath, "System\\CurrentControlSet\\Services\\VxD\\MSTCP");
    EXPECT_EQ(map.entries[i].root, RootKey::LocalMachine);
  }
  EXPECT_EQ(map.entries[9].root, RootKey::CurrentUser);
  EXPECT_EQ(map.entries[9].keyPath, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings");
  EXPECT_EQ(map.entries[11].keyPath,
            "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize");
  EXPECT_TRUE(map.trailingEntries.empty());
  EXPECT_EQ(map.adapterParent, "System\\CurrentControlSet\\Services\\Class\\NetTrans");
  ASSERT_EQ(map.adapterEntries.size(), 2u);
  EXPECT_EQ(AdapterKeyPath(map.adapterEntries[0], "0000"),
            "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000");
  EXPECT_EQ(map.adapterEntries[0].valueName, "MaxMTU");
  EXPECT_EQ(map.adapterEntries[1].valueName, "MaxMSS");
  // SYN attack protection and ICMP redirects have no place on 9x.
  for (const auto& e : map.entries) {
    EXPECT_NE(e.field, TuningField::SynAttackProtect);
    EXPECT_NE(e.field, TuningField::IcmpRedirects);
  }
}

TEST(RegistryMap, TheNtMapInWriteOrder) {
  const RegistryMap& map = MapNt();
  EXPECT_EQ(map.valueType, reg::kTypeDword);
  EXPECT_EQ(Names(map.entries),
            (std::vector<std::string>{"SackOpts", "Tcp1323Opts", "TcpMaxDupAcks",
                                      "DefaultReceiveWindow", "DefaultTTL",
                                      "GlobalMaxTcpWindowSize", "TcpWindowSize",
                                      "EnablePMTUBHDetect", "EnablePMTUDiscovery", "KeepAliveTime",
                                      "KeepAliveInterval", "SYNAttackProtect",
                                      "EnableICMPRedirects", "MaxConnectionsPer1_0Server",
                                      "MaxConnectionsPerServer"}));
  const std::int32_t fixed[] = {1, 1, 2, 8192};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(map.entries[i].field, TuningField::Fixed);
    EXPECT_EQ(map.entries[i].fixedValue, fixed[i]);
    EXPECT_EQ(map.entries[i].keyPath, "System\\CurrentControlSet\\Services\\Tcpip\\Parameters");
  }
  for (std::size_t i = 4; i < 13; ++i) {
    EXPECT_EQ(map.entries[i].keyPath, "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters");
  }
  EXPECT_EQ(map.entries[13].keyPath, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings");
  ASSERT_EQ(map.trailingEntries.size(), 1u);
  EXPECT_EQ(map.trailingEntries[0].field, TuningField::NdiCacheSize);
  ASSERT_EQ(map.adapterEntries.size(), 4u);
  EXPECT_EQ(AdapterKeyPath(map.adapterEntries[0], "{A}"),
            "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{A}");
  EXPECT_EQ(AdapterKeyPath(map.adapterEntries[1], "{A}"),
            "SYSTEM\\CurrentControlSet\\Services\\{A}\\Parameters\\Tcpip");
  EXPECT_EQ(map.adapterEntries[0].field, TuningField::Mtu);
  EXPECT_EQ(map.adapterEntries[1].field, TuningField::Mtu);
  EXPECT_EQ(map.adapterEntries[2].field, TuningField::Mss);
  EXPECT_EQ(map.adapterEntries[3].field, TuningField::Mss);
}

TEST(RegistryMap, FamiliesChooseTheirMap) {
  EXPECT_EQ(MapForFamily(0), nullptr);
  EXPECT_EQ(MapForFamily(1), &Map9x());
  EXPECT_EQ(MapForFamily(4), &Map9x());
  EXPECT_EQ(MapForFamily(5), &MapNt());
  EXPECT_EQ(MapForFamily(7), &MapNt());
  EXPECT_EQ(MapForFamily(8), nullptr);
}

TEST(RegistryMap, WrittenValuesAndRemovals) {
  TuningProfile p;
  p.mss = -1;
  p.mtu = 1500;
  p.pmtuDiscovery = 1;  // not -1: written as 0
  p.pmtuBlackHoleDetect = -1;
  p.synAttackProtect = 2;
  EXPECT_EQ(WrittenValue(p, TuningField::Mss, 0), -1);  // an ordinary number outside mtu/RWIN
  EXPECT_EQ(WrittenValue(p, TuningField::PmtuDiscovery, 0), 0);
  EXPECT_EQ(WrittenValue(p, TuningField::PmtuBlackHoleDetect, 0), 1);
  EXPECT_EQ(WrittenValue(p, TuningField::SynAttackProtect, 0), 2);
  EXPECT_EQ(WrittenValue(p, TuningField::Fixed, 8192), 8192);
  EXPECT_FALSE(IsRemoved(p, RemovedBy::Mtu));
  p.mtu = USE_DEFAULT;
  p.receiveWindow = USE_DEFAULT;
  EXPECT_TRUE(IsRemoved(p, RemovedBy::Mtu));
  EXPECT_TRUE(IsRemoved(p, RemovedBy::ReceiveWindow));
  EXPECT_FALSE(IsRemoved(p, RemovedBy::Never));
}

// The stored form of a value for each family, through the registry layer.
TEST(RegistryMap, EncodingOfAWrittenValue) {
  testing::MemoryRegistry registry;
  EXPECT_EQ(SetRegValue(registry, RootKey::LocalMachine, "K", "MaxMSS", Map9x().valueType, 536, false), reg::kSuccess);
  EXPECT_EQ(SetRegValue(registry, RootKey::LocalMachine, "K", "MSS", MapNt().valueType, 536, false), reg::kSuccess);
  EXPECT_EQ(SetRegValue(registry, RootKey::LocalMachine, "K", "Neg", MapNt().valueType, -1, false), reg::kSuccess);
  EXPECT_EQ(registry.GetValue(RootKey::LocalMachine, "K", "MaxMSS"),
            (testing::StoredValue{1, {'5', '3', '6', 0}}));
  EXPECT_EQ(registry.GetValue(RootKey::LocalMachine, "K", "MSS"),
            (testing::StoredValue{4, {0x18, 0x02, 0, 0}}));
  EXPECT_EQ(registry.GetValue(RootKey::LocalMachine, "K", "Neg"),
            (testing::StoredValue{4, {0xFF, 0xFF, 0xFF, 0xFF}}));
}

TEST(AdapterEnumeration, MissingOrEmptyParentYieldsNothing) {
  testing::MemoryRegistry registry;
  int calls = 0;
  EXPECT_FALSE(EnumerateAdapterSubkeys(registry, k9xAdapterParent, [&](auto&) { ++calls; }));
  EXPECT_EQ(SetRegValue(registry, RootKey::LocalMachine, std::string(k9xAdapterParent), "x", 1, 1, false), reg::kSuccess);
  EXPECT_TRUE(EnumerateAdapterSubkeys(registry, k9xAdapterParent, [&](auto&) { ++calls; }));
  EXPECT_EQ(calls, 0);
}

TEST(AdapterEnumeration, SkipsNamesTooLongForTheBufferAndGoesOn) {
  testing::MemoryRegistry registry;
  std::string parent(kNtAdapterParent);
  for (std::string name : {std::string("{B}"), std::string(255, 'L'), std::string("{A}"),
                           std::string("0001")}) {
    // Only the keys matter here; the 255-character one answers 234 to the write.
    (void)SetRegValue(registry, RootKey::LocalMachine, parent + "\\" + name, "x", 1, 1, false);
  }
  std::vector<std::string> seen;
  EXPECT_TRUE(EnumerateAdapterSubkeys(registry, kNtAdapterParent,
                                      [&](const std::string& n) { seen.push_back(n); }));
  EXPECT_EQ(seen, (std::vector<std::string>{"0001", "{A}", "{B}"}));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

// A registry that fails every enumeration with an unexpected code must not
// keep the walk going for ever.
class BrokenEnumRegistry : public testing::MemoryRegistry {
 public:
  RegStatus EnumKey(RegHandle, std::uint32_t, char*, std::uint32_t*) override { return 1010; }
};

TEST(AdapterEnumeration, StopsAtAnUnexpectedFailure) {
  BrokenEnumRegistry registry;
  EXPECT_EQ(SetRegValue(registry, RootKey::LocalMachine, std::string(k9xAdapterParent) + "\\0000", "x", 1, 1,
              false), reg::kSuccess);
  int calls = 0;
  EXPECT_TRUE(EnumerateAdapterSubkeys(registry, k9xAdapterParent, [&](auto&) { ++calls; }));
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace corvane
