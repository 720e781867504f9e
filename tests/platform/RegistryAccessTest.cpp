// Rules of the registry helpers that need no registry to check.
#include <gtest/gtest.h>

#include "platform/RegistryAccess.h"
#include "tests/support/MemoryRegistry.h"

namespace corvane {
namespace {

TEST(RegValue, ConvertsToText) {
  EXPECT_EQ(RegValue(536).Text(), "536");
  EXPECT_EQ(RegValue(-1).Text(), "-1");
  EXPECT_EQ(RegValue("Sorbek").Text(), "Sorbek");
}

TEST(RegValue, ConvertsTo32BitIntegersOnlyInRange) {
  EXPECT_EQ(RegValue(-2147483647 - 1).ToInt32(), -2147483647 - 1);
  EXPECT_EQ(RegValue(2147483647).ToInt32(), 2147483647);
  EXPECT_FALSE(RegValue(2147483648LL).ToInt32());
  EXPECT_EQ(RegValue("1500").ToInt32(), 1500);
  EXPECT_FALSE(RegValue("15x").ToInt32());
  EXPECT_FALSE(RegValue("").ToInt32());
}

TEST(SetRegValue, RefusesANumberThatDoesNotFitADword) {
  testing::MemoryRegistry registry;
  EXPECT_EQ(SetRegValue(registry, RootKey::LocalMachine, "K", "v", reg::kTypeDword, 4294967296LL,
                        false),
            reg::kInvalidParameter);
  EXPECT_FALSE(registry.KeyExists(RootKey::LocalMachine, "K"));
}

TEST(SetRegValue, ReportsAKeyThatCannotBeCreated) {
  testing::MemoryRegistry registry;
  EXPECT_EQ(SetRegValue(registry, RootKey::LocalMachine, "\\Bad", "v", reg::kTypeSz, 1, false),
            reg::kBadPathname);
}

// A stored text reads back whole at any length the writer allows, on both
// kinds of registry; only a value that cannot be read gives the default.
TEST(GetAppSetting, ReadsBackTextsOfAnyLengthTheWriterStores) {
  for (auto flavor : {testing::RegistryFlavor::Nt, testing::RegistryFlavor::Win9x}) {
    for (std::size_t length : {0u, 1u, 254u, 255u, 256u, 1000u, 70000u}) {
      testing::MemoryRegistry registry(flavor);
      std::string text(length, 'h');
      if (length > 2) text.back() = 'z';
      ASSERT_EQ(SaveAppSetting(registry, "Software\\Corvane\\Pinger", "Host", RegValue(text)), reg::kSuccess)
          << "length " << length;
      EXPECT_EQ(GetAppSetting(registry, "Software\\Corvane\\Pinger", "Host", "www.google.com"), text)
          << "length " << length;
    }
  }
}

}  // namespace
}  // namespace corvane
