// Stored settings as a table: what each stored text loads as (missing,
// junk, letter case), what is written back, and under which key.
#include <gtest/gtest.h>

#include <string>

#include "platform/RegistryAccess.h"
#include "platform/ui/StoredSettings.h"
#include "tests/support/KitTestLayout.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/MemoryView.h"

namespace corvane::ui {
namespace {

using testing::kKitTestLayout;

TEST(StoredSettings, TheKeyIsTheProgramsKeyPlusTheSection) {
  EXPECT_EQ(SettingsKey("NetPinger"), "SOFTWARE\\Tarvik\\Pellavon\\Settings\\NetPinger");
  EXPECT_EQ(SettingsKey("RamSettings"), "SOFTWARE\\Tarvik\\Pellavon\\Settings\\RamSettings");
}

TEST(StoredSettings, EachFormReadsItsOwnSpellingsOnly) {
  struct Case {
    As as;
    const char* stored;
    std::optional<int> loads;
  };
  const Case cases[] = {
      {As::Check, "1", 1},         {As::Check, "0", 0},         {As::Check, "2", std::nullopt},
      {As::Check, "True", std::nullopt}, {As::Check, " 1", std::nullopt}, {As::Check, "", std::nullopt},
      {As::Option, "True", 1},     {As::Option, "false", 0},    {As::Option, "TRUE", 1},
      {As::Option, "FaLsE", 0},    {As::Option, "1", std::nullopt}, {As::Option, "Truex", std::nullopt},
      {As::Option, "", std::nullopt},
      {As::Index, "0", 0},         {As::Index, "7", 7},         {As::Index, "-1", std::nullopt},
      {As::Index, "+1", std::nullopt}, {As::Index, "2x", std::nullopt}, {As::Index, " 2", std::nullopt},
      {As::Index, "99999999999", std::nullopt}, {As::Index, "", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseStored(c.as, c.stored), c.loads) << static_cast<int>(c.as) << " \"" << c.stored << '"';
  }
  EXPECT_EQ(StoredText(As::Check, 1), "1");
  EXPECT_EQ(StoredText(As::Check, 0), "0");
  EXPECT_EQ(StoredText(As::Option, 1), "True");
  EXPECT_EQ(StoredText(As::Option, 0), "False");
  EXPECT_EQ(StoredText(As::Index, 3), "3");
}

constexpr Stored kTable[] = {
    {testing::kKitCheck, As::Check, "1"},
    {testing::kKitOptA, As::Option, "False"},
    {testing::kKitOptB, As::Option, "True"},
    {testing::kKitText, As::Text, "30"},
    {testing::kKitCombo, As::Index, "1"},
};

class StoredSettingsTable : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string speeds[] = {"Slow", "Medium", "Fast"};
    view.SetItems(testing::kKitCombo, speeds);
  }
  void Store(const char* name, const char* text) { EXPECT_EQ(SaveAppSetting(registry, SettingsKey("KitTest"), name, text), reg::kSuccess); }
  std::string Stored(const char* name) { return GetAppSetting(registry, SettingsKey("KitTest"), name, "(missing)"); }
  // Loads the table into the view; then each control shows what is given.
  void ExpectLoadShows(int check, int optA, int optB, const std::string& text, int combo) {
    LoadStoredSettings(registry, "KitTest", kKitTestLayout, kTable, view);
    EXPECT_EQ(view.Value(testing::kKitCheck), check);
    EXPECT_EQ(view.Value(testing::kKitOptA), optA);
    EXPECT_EQ(view.Value(testing::kKitOptB), optB);
    EXPECT_EQ(view.Text(testing::kKitText), text);
    EXPECT_EQ(view.Value(testing::kKitCombo), combo);
  }

  testing::MemoryRegistry registry;
  testing::MemoryView view{kKitTestLayout};
};

TEST_F(StoredSettingsTable, NothingStoredLoadsEveryDefault) {
  ExpectLoadShows(1, 0, 1, "30", 1);
  EXPECT_EQ(Stored("chkKeep"), "(missing)") << "a load writes nothing";
}

TEST_F(StoredSettingsTable, StoredValuesLoadAndJunkFallsBackRowByRow) {
  Store("chkKeep", "0");
  Store("optFirst", "tRuE");
  Store("optSecond", "FALSE");
  Store("txtNumber", "not checked here");  // a text box takes any text; its window validates
  Store("cboSpeed", "3");                   // beyond the three items
  ExpectLoadShows(0, 1, 0, "not checked here", 1);

  Store("chkKeep", "yes");
  Store("cboSpeed", "2");
  LoadStoredSettings(registry, "KitTest", kKitTestLayout, kTable, view);
  EXPECT_EQ(view.Value(testing::kKitCheck), 1);
  EXPECT_EQ(view.Value(testing::kKitCombo), 2);
}

TEST_F(StoredSettingsTable, SaveWritesEachControlUnderItsNameInItsForm) {
  view.SetValue(testing::kKitCheck, 1);
  view.SetValue(testing::kKitOptA, 1);
  view.SetText(testing::kKitText, "45");
  view.SetValue(testing::kKitCombo, 2);
  EXPECT_TRUE(SaveStoredSettings(registry, "KitTest", kKitTestLayout, kTable, view).ok());
  EXPECT_EQ(Stored("chkKeep"), "1");
  EXPECT_EQ(Stored("optFirst"), "True");
  EXPECT_EQ(Stored("optSecond"), "False");
  EXPECT_EQ(Stored("txtNumber"), "45");
  EXPECT_EQ(Stored("cboSpeed"), "2");
  auto raw = registry.GetValue(RootKey::LocalMachine, "SOFTWARE\\Tarvik\\Pellavon\\Settings\\KitTest", "optFirst");
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->type, reg::kTypeSz);

  testing::MemoryView again{kKitTestLayout};
  const std::string speeds[] = {"Slow", "Medium", "Fast"};
  again.SetItems(testing::kKitCombo, speeds);
  LoadStoredSettings(registry, "KitTest", kKitTestLayout, kTable, again);
  for (const auto& row : kTable) {
    EXPECT_EQ(again.Value(row.control), view.Value(row.control)) << row.control;
    EXPECT_EQ(again.Text(row.control), view.Text(row.control)) << row.control;
  }
}

TEST(ChangedFlag, EnablesSaveExactlyWhileSomethingIsUnsaved) {
  testing::MemoryView view{kKitTestLayout};
  ChangedFlag changed(view, testing::kKitSave);
  EXPECT_FALSE(view.Enabled(testing::kKitSave)) << "the layout creates it disabled";
  changed.Set(true);
  EXPECT_TRUE(changed.changed());
  EXPECT_TRUE(view.Enabled(testing::kKitSave));
  changed.Set(false);
  EXPECT_FALSE(changed.changed());
  EXPECT_FALSE(view.Enabled(testing::kKitSave));
}

}  // namespace
}  // namespace corvane::ui

namespace corvane::ui {
namespace {

// A save into a key the user may only read: every row is attempted, each
// refused one is named with its code, and the message says so as the
// tuner's does.
TEST(StoredSettingsSave, ARefusedKeyIsReportedRowByRow) {
  testing::MemoryRegistry registry;
  testing::MemoryView view{kKitTestLayout};
  ASSERT_TRUE(SaveStoredSettings(registry, "KitTest", kKitTestLayout, kTable, view).ok());
  ASSERT_TRUE(registry.SetReadOnly(RootKey::LocalMachine, SettingsKey("KitTest")));
  SaveResult result = SaveStoredSettings(registry, "KitTest", kKitTestLayout, kTable, view);
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.attempted, 5);
  ASSERT_EQ(result.failures.size(), 5u);
  EXPECT_EQ(result.failures[0], (FailedSetting{"chkKeep", reg::kAccessDenied}));
  std::string text = SaveFailureMessage(result);
  EXPECT_EQ(text.rfind("The settings could not be saved: 5 of 5.\n\nchkKeep (error 5, access denied)\n", 0), 0u)
      << text;
  EXPECT_NE(text.find("an administrator can."), std::string::npos);
  EXPECT_EQ(SaveFailureMessage(SaveResult{}), "");
}

}  // namespace
}  // namespace corvane::ui
