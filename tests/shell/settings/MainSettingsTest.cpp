// The main settings' stored values, the changed flag and the start-up entry.
#include <gtest/gtest.h>

#include <vector>

#include "platform/RegistryAccess.h"
#include "shell/settings/MainSettings.h"
#include "tests/support/MemoryRegistry.h"

namespace corvane::shell {
namespace {

constexpr char kEntry[] = "C:\\Program Files\\Corvane\\corvane.exe";

// Counts the writes and removals that reach the registry.
class CountingRegistry : public testing::MemoryRegistry {
 public:
  using MemoryRegistry::MemoryRegistry;
  RegStatus SetValue(RegHandle key, std::string_view name, std::uint32_t type,
                     const std::uint8_t* data, std::uint32_t size) override {
    ++writes;
    return MemoryRegistry::SetValue(key, name, type, data, size);
  }
  RegStatus DeleteValue(RegHandle key, std::string_view name) override {
    ++removals;
    return MemoryRegistry::DeleteValue(key, name);
  }
  int writes = 0;
  int removals = 0;
};

std::optional<std::string> Entry(testing::MemoryRegistry& registry) {
  auto value = registry.GetValue(RootKey::CurrentUser, kRunKey, kStartupValueName);
  if (!value) return std::nullopt;
  EXPECT_EQ(value->type, reg::kTypeSz);
  std::string text(value->data.begin(), value->data.end());
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

struct Bound {
  explicit Bound(MainSettingsModel& model) {
    model.onSaveEnabled = [this](bool enabled) { saveEnabled = enabled; };
    model.onCheckValue = [this](MainSettingsBox box, std::int16_t value) {
      shown.push_back({box, value});
    };
  }
  bool saveEnabled = true;
  std::vector<std::pair<MainSettingsBox, std::int16_t>> shown;
};

// The window's load event: load, then nothing left to save.
void FormLoad(MainSettingsModel& model) {
  model.LoadMainSettings();
  model.SetSettingsChanged(false);
}

TEST(StartupEntryData, IsFolderAndExeNameWithExeExtension) {
  EXPECT_EQ(StartupEntryData("C:\\Tools", "corvane.exe"), "C:\\Tools\\corvane.exe");
  EXPECT_EQ(StartupEntryData("C:\\Tools", "CORVANE.EXE"), "C:\\Tools\\CORVANE.exe");
  EXPECT_EQ(StartupEntryData("C:\\Tools", "corvane"), "C:\\Tools\\corvane.exe");
  EXPECT_EQ(StartupEntryData("D:\\a.b", "my.tool.exe"), "D:\\a.b\\my.tool.exe");
}

TEST(ParseCheckValue, OnlyOneIsChecked) {
  EXPECT_EQ(ParseCheckValue("1"), 1);
  EXPECT_EQ(ParseCheckValue("0"), 0);
  EXPECT_EQ(ParseCheckValue("2"), 0);  // the grayed state
  EXPECT_EQ(ParseCheckValue("yes"), 0);
  EXPECT_EQ(ParseCheckValue(""), 0);
  EXPECT_EQ(ParseCheckValue(" 1"), 0);
  EXPECT_EQ(ParseCheckValue("-1"), 0);
}

TEST(MainSettings, FirstRunLeavesBothClearSaveDisabledAndTheEntryAlone) {
  CountingRegistry registry;
  // An entry of another installation: neither rewritten nor removed.
  SetRegValue(registry, RootKey::CurrentUser, kRunKey, kStartupValueName, reg::kTypeSz,
              "C:\\Old\\corvane.exe", false);
  registry.writes = 0;
  MainSettingsModel model(registry, kEntry);
  Bound view(model);
  FormLoad(model);
  EXPECT_EQ(model.chkRunMainProgram(), 0);
  EXPECT_EQ(model.chkRunProgramMini(), 0);
  EXPECT_FALSE(model.RunsInTray());
  EXPECT_FALSE(view.saveEnabled);
  EXPECT_TRUE(view.shown.empty());
  EXPECT_EQ(registry.writes, 0);
  EXPECT_EQ(registry.removals, 0);
  EXPECT_EQ(Entry(registry), "C:\\Old\\corvane.exe");
}

TEST(MainSettings, StoredAsCheckedRewritesTheEntryWithTheCurrentPathOnEveryLoad) {
  testing::MemoryRegistry registry;
  SaveAppSetting(registry, kMainSettingsKey, kChkRunMainProgram, "1");
  SetRegValue(registry, RootKey::CurrentUser, kRunKey, kStartupValueName, reg::kTypeSz,
              "C:\\Moved\\Away\\corvane.exe", false);
  MainSettingsModel model(registry, kEntry);
  Bound view(model);
  FormLoad(model);
  EXPECT_EQ(model.chkRunMainProgram(), 1);
  EXPECT_EQ(Entry(registry), kEntry);
  EXPECT_FALSE(view.saveEnabled) << "the load's own change is cleared again";
  ASSERT_EQ(view.shown.size(), 1u);
  EXPECT_EQ(view.shown[0].first, MainSettingsBox::RunMainProgram);
  EXPECT_EQ(view.shown[0].second, 1);
}

TEST(MainSettings, SaveStoresBothBoxesAndAReloadReadsThemBack) {
  testing::MemoryRegistry registry;
  {
    MainSettingsModel model(registry, kEntry);
    Bound view(model);
    FormLoad(model);
    model.Click(MainSettingsBox::RunMainProgram, 1);
    EXPECT_TRUE(view.saveEnabled);
    model.Click(MainSettingsBox::RunProgramMini, 1);
    model.Save();
    EXPECT_FALSE(view.saveEnabled);
    EXPECT_EQ(Entry(registry), kEntry);
  }
  EXPECT_EQ(GetAppSetting(registry, kMainSettingsKey, kChkRunMainProgram, "x"), "1");
  EXPECT_EQ(GetAppSetting(registry, kMainSettingsKey, kChkRunProgramMini, "x"), "1");
  MainSettingsModel reloaded(registry, kEntry);
  FormLoad(reloaded);
  EXPECT_EQ(reloaded.chkRunMainProgram(), 1);
  EXPECT_TRUE(reloaded.RunsInTray());
}

TEST(MainSettings, ClearingAndSavingRemovesTheEntryAndSavingAgainIsHarmless) {
  testing::MemoryRegistry registry;
  SaveAppSetting(registry, kMainSettingsKey, kChkRunMainProgram, "1");
  MainSettingsModel model(registry, kEntry);
  FormLoad(model);
  ASSERT_TRUE(Entry(registry));
  model.Click(MainSettingsBox::RunMainProgram, 0);
  model.Save();
  EXPECT_FALSE(Entry(registry));
  EXPECT_EQ(GetAppSetting(registry, kMainSettingsKey, kChkRunMainProgram, "x"), "0");
  model.Save();
  EXPECT_FALSE(Entry(registry));
}

TEST(MainSettings, TogglingABoxTwiceStillLeavesSaveEnabled) {
  testing::MemoryRegistry registry;
  MainSettingsModel model(registry, kEntry);
  Bound view(model);
  FormLoad(model);
  model.Click(MainSettingsBox::RunProgramMini, 1);
  model.Click(MainSettingsBox::RunProgramMini, 0);
  EXPECT_TRUE(view.saveEnabled);
  EXPECT_TRUE(model.settingsChanged());
}

TEST(MainSettings, TrayCheckedButNotSavedDoesNotChangeTheNextStart) {
  testing::MemoryRegistry registry;
  {
    MainSettingsModel model(registry, kEntry);
    FormLoad(model);
    model.Click(MainSettingsBox::RunProgramMini, 1);
  }
  MainSettingsModel next(registry, kEntry);
  FormLoad(next);
  EXPECT_FALSE(next.RunsInTray());
}

TEST(MainSettings, DamagedStoredValuesLoadUnchecked) {
  for (const char* stored : {"2", "abc", "", "1.0", "99999999999"}) {
    testing::MemoryRegistry registry;
    SaveAppSetting(registry, kMainSettingsKey, kChkRunMainProgram, stored);
    SaveAppSetting(registry, kMainSettingsKey, kChkRunProgramMini, stored);
    MainSettingsModel model(registry, kEntry);
    FormLoad(model);
    SCOPED_TRACE(stored);
    EXPECT_EQ(model.chkRunMainProgram(), 0);
    EXPECT_FALSE(model.RunsInTray());
    EXPECT_FALSE(Entry(registry));
  }
}

}  // namespace
}  // namespace corvane::shell
