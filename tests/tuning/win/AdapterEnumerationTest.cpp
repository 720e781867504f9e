// The adapter walk against the real registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RegistryAccess.h"
#include "platform/win32/Win32Registry.h"
#include "tests/contract/RegistryContract.h"
#include "tuning/RegistryMap.h"

namespace corvane {
namespace {

TEST(AdapterEnumerationOnWindows, WalksEverySubkeyInIndexOrder) {
  win32::Win32Registry registry;
  const RegHandle HKLM = RootHandle(RootKey::LocalMachine);
  std::string parent(k9xAdapterParent);
  testing::DeleteTree(registry, HKLM, parent);
  std::vector<std::string> none;
  EXPECT_FALSE(EnumerateAdapterSubkeys(registry, k9xAdapterParent,
                                       [&](const std::string& n) { none.push_back(n); }));
  RegKey parentKey;
  ASSERT_EQ(CreateRegKey(registry, HKLM, parent, reg::kKeyAllAccess, parentKey), 0);
  // A name longer than the 255-character buffer is skipped, not an end.
  for (std::string name : {std::string("0002"), std::string("0000"), std::string(256, 'l'),
                           std::string("0001"), std::string("MS TCP")}) {
    RegKey child;
    ASSERT_EQ(CreateRegKey(registry, parentKey.get(), name, reg::kKeyAllAccess, child), 0);
  }
  parentKey.reset();
  std::vector<std::string> seen;
  EXPECT_TRUE(EnumerateAdapterSubkeys(registry, k9xAdapterParent,
                                      [&](const std::string& n) { seen.push_back(n); }));
  EXPECT_EQ(seen, (std::vector<std::string>{"0000", "0001", "0002", "MS TCP"}));
  EXPECT_TRUE(none.empty());
  testing::DeleteTree(registry, HKLM, parent);
}

}  // namespace
}  // namespace corvane
