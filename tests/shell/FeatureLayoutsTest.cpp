// The feature table against the command table and the window set, and every
// feature window's layout against its row: the same name, a sound table,
// the form within its frame. A new feature window adds its layout here.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/ui/Layout.h"
#include "shell/ShellCommands.h"
#include "shell/settings/MainSettings.h"

namespace corvane::shell {
namespace {

TEST(FeatureTable, OneRowPerFeatureInSetOrderEachShownByItsOwnCommand) {
  ASSERT_EQ(kFeatureTable.size(), kFeatureWindowSet.size());
  std::set<std::string_view> names;
  for (std::size_t i = 0; i < kFeatureTable.size(); ++i) {
    const FeatureRow& row = kFeatureTable[i];
    EXPECT_EQ(row.feature, kFeatureWindowSet[i]) << row.windowName;
    EXPECT_TRUE(names.insert(row.windowName).second) << row.windowName;
    EXPECT_TRUE(row.windowName.starts_with("frm")) << row.windowName;
    // The command is in the movie's table and shows this feature, and no
    // other command does.
    EXPECT_EQ(LookUpCommand(CommandText(row.command)), row.command) << row.windowName;
    for (const CommandEntry& entry : kCommandTable) {
      EXPECT_EQ(FeatureShownBy(entry.command) == row.feature, entry.command == row.command) << entry.text;
    }
    EXPECT_GT(row.frame.width, 0);
    EXPECT_GT(row.frame.height, 0);
  }
}

TEST(FeatureTable, EachOrderNamesEveryFeatureItHoldsOnce) {
  auto sorted = [](auto order) {
    std::vector<Feature> v(order.begin(), order.end());
    std::sort(v.begin(), v.end());
    return v;
  };
  std::vector<Feature> all(kFeatureWindowSet.begin(), kFeatureWindowSet.end());
  EXPECT_EQ(sorted(kCloseUnloadOrder), all);
  EXPECT_EQ(sorted(kExitUnloadOrder), all);
  std::vector<Feature> loaded;
  for (const FeatureRow& row : kFeatureTable) {
    if (row.startUpLoad > 0) loaded.push_back(row.feature);
  }
  EXPECT_EQ(sorted(kStartUpLoadOrder), loaded);
  EXPECT_EQ(kCloseUnloadOrder, kFeatureWindowSet);
  // Only the advanced editor is made by its command, afresh each time.
  for (const FeatureRow& row : kFeatureTable) {
    EXPECT_EQ(row.reloadedByCommand, row.feature == Feature::NormalMode) << row.windowName;
    EXPECT_EQ(row.startUpLoad == 0, row.feature == Feature::NormalMode) << row.windowName;
  }
}

struct FeatureLayout {
  Feature feature;
  const ui::Layout& layout;
};

// Every feature window made from a layout table.
const FeatureLayout kLayouts[] = {
    {Feature::MainSettings, kMainSettingsLayout},
};

TEST(FeatureLayouts, EveryTableIsSoundAndFitsItsFrame) {
  for (const FeatureLayout& f : kLayouts) {
    const FeatureRow& row = FeatureRowOf(f.feature);
    EXPECT_EQ(f.layout.name, row.windowName);
    EXPECT_EQ(ui::CheckLayout(f.layout, row.frame.width, row.frame.height), std::vector<std::string>{})
        << row.windowName;
  }
}

}  // namespace
}  // namespace corvane::shell
