#include "platform/RegistryAccess.h"
#include "tests/contract/RegistryContract.h"
#include "tests/support/MemoryRegistry.h"

namespace corvane::testing {
namespace {

class MemoryEnvironment : public RegistryTestEnvironment {
 public:
  explicit MemoryEnvironment(RegistryFlavor flavor) : registry_(flavor) {}
  IRegistry& registry() override { return registry_; }
  bool Is9x() const override { return registry_.flavor() == RegistryFlavor::Win9x; }
  bool MakeReadOnly(RootKey root, const std::string& path) override {
    return registry_.SetReadOnly(root, path);
  }

 private:
  MemoryRegistry registry_;
};

INSTANTIATE_TEST_SUITE_P(InMemory, RegistryContract,
                         ::testing::Values(
                             RegistryEnvironmentFactory{
                                 "MemoryRegistryNt",
                                 [] {
                                   return std::make_unique<MemoryEnvironment>(RegistryFlavor::Nt);
                                 }},
                             RegistryEnvironmentFactory{"MemoryRegistry9x",
                                                        [] {
                                                          return std::make_unique<MemoryEnvironment>(
                                                              RegistryFlavor::Win9x);
                                                        }}),
                         ContractName);

// What only the fake can show: every handle the helpers open is closed again.
TEST(MemoryRegistry, HelpersCloseEveryKeyTheyOpen) {
  MemoryRegistry registry;
  EXPECT_EQ(SetRegValue(registry, RootKey::CurrentUser, "A\\B", "v", reg::kTypeDword, 1, false), reg::kSuccess);
  EXPECT_EQ(SetRegValue(registry, RootKey::CurrentUser, "A\\B", "v", reg::kTypeSz, 1, true), reg::kSuccess);
  EXPECT_EQ(WriteRegString(registry, RootKey::CurrentUser, "A", "t", "x"), reg::kSuccess);
  (void)ReadRegString(registry, RootKey::CurrentUser, "A", "t", "");
  CRegister r(registry);
  EXPECT_TRUE(r.REGSaveSetting(RootKey::CurrentUser, "A\\C", "*", "v"));
  (void)r.REGGetSetting(RootKey::CurrentUser, "A\\C", "*");
  (void)r.myREGGetSetting(RootKey::CurrentUser, "A\\C", "*");
  (void)r.GetAllKeys(RootKey::CurrentUser, "A");
  EXPECT_TRUE(r.REGDeleteSetting(RootKey::CurrentUser, "A\\C", "*"));
  EXPECT_TRUE(r.REGDeleteSetting(RootKey::CurrentUser, "A\\C", ""));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(MemoryRegistry, AHandleToADeletedKeyNoLongerWorks) {
  MemoryRegistry registry;
  RegKey key;
  ASSERT_EQ(CreateRegKey(registry, RootHandle(RootKey::CurrentUser), "Gone", reg::kKeyAllAccess, key),
            0);
  ASSERT_EQ(registry.DeleteKey(RootHandle(RootKey::CurrentUser), "Gone"), 0);
  std::uint8_t byte = 1;
  EXPECT_NE(registry.SetValue(key.get(), "v", reg::kTypeBinary, &byte, 1), 0);
}

}  // namespace
}  // namespace corvane::testing
