// The command table: exact texts, first match, frame sizes per feature.
#include "shell/ShellCommands.h"

#include <gtest/gtest.h>

#include <cctype>
#include <iterator>
#include <set>
#include <string>

namespace corvane::shell {
namespace {

TEST(CommandTable, EveryTextIsFoundAsItsOwnCommandAndOnlyAsAWhole) {
  std::set<std::string_view> texts;
  for (const auto& entry : kCommandTable) {
    EXPECT_TRUE(texts.insert(entry.text).second) << "duplicate " << entry.text;
    ASSERT_EQ(LookUpCommand(entry.text), entry.command) << entry.text;
    EXPECT_EQ(CommandText(entry.command), entry.text);
    std::string text(entry.text);
    EXPECT_FALSE(LookUpCommand(text + " ")) << "trailing space accepted: " << text;
    EXPECT_FALSE(LookUpCommand(" " + text));
    EXPECT_FALSE(LookUpCommand(text.substr(0, text.size() - 1)));
    std::string upper = text;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper != text) {
      EXPECT_FALSE(LookUpCommand(upper)) << upper;
    }
  }
}

TEST(CommandTable, IgnoresOtherCaseAndEmptyAndNearMisses) {
  EXPECT_FALSE(LookUpCommand("idc_fs_home"));
  EXPECT_FALSE(LookUpCommand(""));
  EXPECT_FALSE(LookUpCommand("drag"));
  // The movie sends the program's own spellings; the "corrected" ones are
  // not commands.
  EXPECT_FALSE(LookUpCommand("IDC_FS_backupManager"));
  EXPECT_FALSE(LookUpCommand("IDC_FS_systemStatus"));
  EXPECT_EQ(LookUpCommand("IDC_FS_backupManger"), ShellCommand::BackupManager);
  EXPECT_EQ(LookUpCommand("IDC_FS_systemSatus"), ShellCommand::SystemStatus);
  EXPECT_EQ(LookUpCommand(std::string_view("IDC_FS_home\0x", 13)), std::nullopt);
}

TEST(CommandTable, FrameSizesPerFeature) {
  struct Row {
    const char* text;
    Feature feature;
    FrameSize size;
  };
  const Row rows[] = {
      {"IDC_FS_wizardMode", Feature::WizardMode, {440, 250}},
      {"IDC_FS_normalMode", Feature::NormalMode, {440, 252}},
      {"IDC_FS_backupManger", Feature::BackUp, {440, 246}},
      {"IDC_FS_pingSetting", Feature::NetPingerSettings, {440, 244}},
      {"IDC_FS_systemSatus", Feature::SystemStatus, {440, 255}},
      {"IDC_FS_ramConfig", Feature::RamConfiguration, {440, 240}},
      {"IDC_FS_settings", Feature::MainSettings, {460, 245}},
  };
  int withSize = 0;
  for (const auto& entry : kCommandTable) {
    if (FrameSizeFor(entry.command)) ++withSize;
  }
  EXPECT_EQ(withSize, static_cast<int>(std::size(rows)));
  EXPECT_EQ(std::size(rows), kFeatureCount);
  for (const auto& row : rows) {
    auto command = LookUpCommand(row.text);
    ASSERT_TRUE(command) << row.text;
    EXPECT_EQ(FeatureShownBy(*command), row.feature) << row.text;
    EXPECT_EQ(FrameSizeFor(*command), row.size) << row.text;
  }
}

TEST(CommandTable, FeatureOrdersOfTheSetAndOfItsUnloads) {
  EXPECT_EQ(FeatureName(kFeatureWindowSet.front()), "frmWizardMode");
  EXPECT_EQ(FeatureName(kFeatureWindowSet.back()), "frmMainSettings");
  // The exit sequence unloads the status window last.
  EXPECT_EQ(kExitUnloadOrder[4], Feature::RamConfiguration);
  EXPECT_EQ(kExitUnloadOrder[6], Feature::SystemStatus);
  // Start-up loads six windows; the advanced editor waits for its command.
  for (Feature f : kStartUpLoadOrder) EXPECT_NE(f, Feature::NormalMode);
}

}  // namespace
}  // namespace corvane::shell
