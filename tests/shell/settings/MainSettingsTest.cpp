// The main settings' stored values, the changed flag and the start-up entry.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "platform/RegistryAccess.h"
#include "shell/settings/MainSettings.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/MemoryView.h"

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

enum class MainSettingsBox { RunMainProgram, RunProgramMini };

int IdOf(MainSettingsBox box) {
  return box == MainSettingsBox::RunMainProgram ? kIdChkRunMainProgram : kIdChkRunProgramMini;
}

// The form: the model over the in-memory view, clicked as a user would.
struct Form {
  Form(IRegistry& registry, const char* entry) : model(MainSettingsContext{registry, entry}, view, timers) {
    view.onEvent = [this](const ui::Event& e) { model.OnEvent(e); };
  }
  // A click on a box that leaves it showing `value`.
  void Click(MainSettingsBox box, std::int16_t value) {
    if (view.Value(IdOf(box)) != value) view.Click(IdOf(box));
  }
  void Save() { view.Click(kIdCmdSave); }
  void LoadMainSettings() { model.LoadMainSettings(); }
  void SetSettingsChanged(bool changed) { model.SetSettingsChanged(changed); }
  std::int16_t chkRunMainProgram() const { return model.chkRunMainProgram(); }
  std::int16_t chkRunProgramMini() const { return model.chkRunProgramMini(); }
  bool RunsInTray() const { return model.RunsInTray(); }
  bool settingsChanged() const { return model.settingsChanged(); }

  testing::MemoryView view{kMainSettingsLayout};
  testing::FakeTimers timers;
  MainSettingsModel model;
};

// What the window shows: "&Save" enabled, the values the model set.
struct Bound {
  explicit Bound(Form& f) : form(f) {}
  bool SaveEnabled() const { return form.view.Enabled(kIdCmdSave); }
  std::vector<std::pair<MainSettingsBox, std::int16_t>> Shown() const {
    std::vector<std::pair<MainSettingsBox, std::int16_t>> shown;
    for (const std::string& set : form.view.valueLog) {
      if (set.starts_with("chkDriftWatch")) continue;  // the drift watch's switch, on by default
      auto box = set.starts_with(kChkRunMainProgram) ? MainSettingsBox::RunMainProgram : MainSettingsBox::RunProgramMini;
      shown.push_back({box, static_cast<std::int16_t>(set.back() - '0')});
    }
    return shown;
  }
  Form& form;
};

// The window's load event: load, then nothing left to save.
void FormLoad(Form& model) {
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
  ASSERT_EQ(SetRegValue(registry, RootKey::CurrentUser, kRunKey, kStartupValueName, reg::kTypeSz,
                        "C:\\Old\\corvane.exe", false),
            reg::kSuccess);
  registry.writes = 0;
  Form model(registry, kEntry);
  Bound view(model);
  FormLoad(model);
  EXPECT_EQ(model.chkRunMainProgram(), 0);
  EXPECT_EQ(model.chkRunProgramMini(), 0);
  EXPECT_FALSE(model.RunsInTray());
  EXPECT_FALSE(view.SaveEnabled());
  EXPECT_TRUE(view.Shown().empty());
  EXPECT_EQ(registry.writes, 0);
  EXPECT_EQ(registry.removals, 0);
  EXPECT_EQ(Entry(registry), "C:\\Old\\corvane.exe");
}

TEST(MainSettings, StoredAsCheckedRewritesTheEntryWithTheCurrentPathOnEveryLoad) {
  testing::MemoryRegistry registry;
  EXPECT_EQ(SaveAppSetting(registry, kMainSettingsKey, kChkRunMainProgram, "1"), reg::kSuccess);
  EXPECT_EQ(SetRegValue(registry, RootKey::CurrentUser, kRunKey, kStartupValueName, reg::kTypeSz,
              "C:\\Moved\\Away\\corvane.exe", false), reg::kSuccess);
  Form model(registry, kEntry);
  Bound view(model);
  FormLoad(model);
  EXPECT_EQ(model.chkRunMainProgram(), 1);
  EXPECT_EQ(Entry(registry), kEntry);
  EXPECT_FALSE(view.SaveEnabled()) << "the load's own change is cleared again";
  ASSERT_EQ(view.Shown().size(), 1u);
  EXPECT_EQ(view.Shown()[0].first, MainSettingsBox::RunMainProgram);
  EXPECT_EQ(view.Shown()[0].second, 1);
}

TEST(MainSettings, SaveStoresBothBoxesAndAReloadReadsThemBack) {
  testing::MemoryRegistry registry;
  {
    Form model(registry, kEntry);
    Bound view(model);
    FormLoad(model);
    model.Click(MainSettingsBox::RunMainProgram, 1);
    EXPECT_TRUE(view.SaveEnabled());
    model.Click(MainSettingsBox::RunProgramMini, 1);
    model.Save();
    EXPECT_FALSE(view.SaveEnabled());
    EXPECT_EQ(Entry(registry), kEntry);
  }
  EXPECT_EQ(GetAppSetting(registry, kMainSettingsKey, kChkRunMainProgram, "x"), "1");
  EXPECT_EQ(GetAppSetting(registry, kMainSettingsKey, kChkRunProgramMini, "x"), "1");
  Form reloaded(registry, kEntry);
  FormLoad(reloaded);
  EXPECT_EQ(reloaded.chkRunMainProgram(), 1);
  EXPECT_TRUE(reloaded.RunsInTray());
}

TEST(MainSettings, ClearingAndSavingRemovesTheEntryAndSavingAgainIsHarmless) {
  testing::MemoryRegistry registry;
  EXPECT_EQ(SaveAppSetting(registry, kMainSettingsKey, kChkRunMainProgram, "1"), reg::kSuccess);
  Form model(registry, kEntry);
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
  Form model(registry, kEntry);
  Bound view(model);
  FormLoad(model);
  model.Click(MainSettingsBox::RunProgramMini, 1);
  model.Click(MainSettingsBox::RunProgramMini, 0);
  EXPECT_TRUE(view.SaveEnabled());
  EXPECT_TRUE(model.settingsChanged());
}

TEST(MainSettings, TrayCheckedButNotSavedDoesNotChangeTheNextStart) {
  testing::MemoryRegistry registry;
  {
    Form model(registry, kEntry);
    FormLoad(model);
    model.Click(MainSettingsBox::RunProgramMini, 1);
  }
  Form next(registry, kEntry);
  FormLoad(next);
  EXPECT_FALSE(next.RunsInTray());
}

// The start-up decides from the stored value alone whether it may paint the
// main window before the windows load; the form's load must then agree.
TEST(MainSettings, TheStoredTraySettingReadsAsTheFormsLoadReadsIt) {
  for (const char* stored : std::initializer_list<const char*>{"1", "0", "2", "abc", "", " 1", nullptr}) {
    SCOPED_TRACE(stored != nullptr ? stored : "(absent)");
    testing::MemoryRegistry registry;
    if (stored != nullptr) {
      ASSERT_EQ(SaveAppSetting(registry, kMainSettingsKey, kChkRunProgramMini, stored), reg::kSuccess);
    }
    Form model(registry, kEntry);
    FormLoad(model);
    EXPECT_EQ(StoredRunsInTray(registry), model.RunsInTray());
    EXPECT_EQ(StoredRunsInTray(registry), stored != nullptr && std::string(stored) == "1");
  }
}

TEST(MainSettings, DamagedStoredValuesLoadUnchecked) {
  for (const char* stored : {"2", "abc", "", "1.0", "99999999999"}) {
    testing::MemoryRegistry registry;
    EXPECT_EQ(SaveAppSetting(registry, kMainSettingsKey, kChkRunMainProgram, stored), reg::kSuccess);
    EXPECT_EQ(SaveAppSetting(registry, kMainSettingsKey, kChkRunProgramMini, stored), reg::kSuccess);
    Form model(registry, kEntry);
    FormLoad(model);
    SCOPED_TRACE(stored);
    EXPECT_EQ(model.chkRunMainProgram(), 0);
    EXPECT_FALSE(model.RunsInTray());
    EXPECT_FALSE(Entry(registry));
  }
}

}  // namespace
}  // namespace corvane::shell

namespace corvane::shell {
namespace {

// Save when a write is refused, as a user without administrator rights
// meets it: the user is told which value and why, "&Save" stays enabled,
// and the stored boxes and the start-up entry never disagree.
struct RefusedSave {
  const char* what;
  RootKey root;
  const char* key;
  const char* failedName;  // named in the message
};

class MainSettingsRefusedSave : public ::testing::TestWithParam<RefusedSave> {};

TEST_P(MainSettingsRefusedSave, SaysSoKeepsSaveEnabledAndLeavesSettingAndEntryAgreeing) {
  const RefusedSave& c = GetParam();
  testing::MemoryRegistry registry;
  // Both keys exist (the first save made them), then one becomes read-only.
  ASSERT_EQ(SaveAppSetting(registry, kMainSettingsKey, kChkRunMainProgram, "0"), reg::kSuccess);
  ASSERT_EQ(SaveAppSetting(registry, kMainSettingsKey, kChkRunProgramMini, "0"), reg::kSuccess);
  ASSERT_EQ(SetRegValue(registry, RootKey::CurrentUser, kRunKey, "Other", reg::kTypeSz, "x", false), reg::kSuccess);
  ASSERT_TRUE(registry.SetReadOnly(c.root, c.key));

  Form model(registry, kEntry);
  Bound view(model);
  FormLoad(model);
  model.Click(MainSettingsBox::RunMainProgram, 1);
  model.Click(MainSettingsBox::RunProgramMini, 1);
  model.Save();

  ASSERT_EQ(model.view.messages.size(), 1u) << c.what;
  const std::string& text = model.view.messages[0].text;
  EXPECT_NE(text.find("could not be saved"), std::string::npos) << text;
  EXPECT_NE(text.find(c.failedName), std::string::npos) << text;
  EXPECT_NE(text.find("error 5, access denied"), std::string::npos) << text;
  EXPECT_TRUE(view.SaveEnabled()) << "the save is still to be done";
  EXPECT_TRUE(model.settingsChanged());
  // As before the save: not set to start with Windows, and no entry.
  EXPECT_EQ(GetAppSetting(registry, kMainSettingsKey, kChkRunMainProgram, "x"), "0") << c.what;
  EXPECT_FALSE(Entry(registry)) << c.what;
  EXPECT_EQ(GetAppSetting(registry, kMainSettingsKey, kChkRunProgramMini, "x"), "0") << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    ReadOnlyKeys, MainSettingsRefusedSave,
    ::testing::Values(RefusedSave{"settings key", RootKey::LocalMachine, kMainSettingsKey.c_str(), kChkRunMainProgram},
                      RefusedSave{"Run key", RootKey::CurrentUser, kRunKey, "Sorbek"}));

// Clearing the box when the Run key refuses the removal: the box stays
// stored as set, agreeing with the entry that is still there.
TEST(MainSettings, ARefusedRemovalKeepsTheBoxStoredAsSet) {
  testing::MemoryRegistry registry;
  ASSERT_EQ(SaveAppSetting(registry, kMainSettingsKey, kChkRunMainProgram, "1"), reg::kSuccess);
  Form model(registry, kEntry);
  FormLoad(model);
  ASSERT_EQ(Entry(registry), kEntry);
  ASSERT_TRUE(registry.SetReadOnly(RootKey::CurrentUser, kRunKey));
  model.Click(MainSettingsBox::RunMainProgram, 0);
  model.Save();
  EXPECT_EQ(model.view.messages.size(), 1u);
  EXPECT_EQ(Entry(registry), kEntry);
  EXPECT_EQ(GetAppSetting(registry, kMainSettingsKey, kChkRunMainProgram, "x"), "1");
  EXPECT_TRUE(model.settingsChanged());
}

// A program whose folder cannot be named writes no entry: a Run entry of
// question marks or ".\.exe" would start nothing, or something else.
TEST(MainSettings, NoEntryForAnUnknownFolder) {
  EXPECT_EQ(StartupEntryData("", "corvane.exe"), "");
  EXPECT_EQ(StartupEntryData("C:\\Corvane", ""), "");
  testing::MemoryRegistry registry;
  ASSERT_EQ(SaveAppSetting(registry, kMainSettingsKey, kChkRunMainProgram, "1"), reg::kSuccess);
  Form model(registry, "");
  FormLoad(model);
  EXPECT_FALSE(Entry(registry));
}

}  // namespace
}  // namespace corvane::shell
