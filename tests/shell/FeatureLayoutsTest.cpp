// The feature table against the command table and the window set, and every
// feature window's layout, named by its row: a sound table whose form is
// the child frame's size for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/ui/Layout.h"
#include "shell/ShellCommands.h"

namespace corvane::shell {
namespace {

TEST(FeatureTable, OneRowPerFeatureInSetOrderEachShownByItsOwnCommand) {
  ASSERT_EQ(kFeatureTable.size(), kFeatureWindowSet.size());
  std::set<std::string_view> names;
  for (std::size_t i = 0; i < kFeatureTable.size(); ++i) {
    const FeatureRow& row = kFeatureTable[i];
    const std::string_view name = FeatureName(row.feature);
    EXPECT_EQ(row.feature, kFeatureWindowSet[i]) << name;
    EXPECT_TRUE(names.insert(name).second) << name;
    EXPECT_TRUE(name.starts_with("frm")) << name;
    // The command is in the movie's table and shows this feature, and no
    // other command does.
    EXPECT_EQ(LookUpCommand(CommandText(row.command)), row.command) << name;
    for (const CommandEntry& entry : kCommandTable) {
      EXPECT_EQ(FeatureShownBy(entry.command) == row.feature, entry.command == row.command) << entry.text;
    }
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
    EXPECT_EQ(row.reloadedByCommand, row.feature == Feature::NormalMode) << FeatureName(row.feature);
    EXPECT_EQ(row.startUpLoad == 0, row.feature == Feature::NormalMode) << FeatureName(row.feature);
  }
}

// Every row's layout holds together and fills the child frame exactly: the
// frame takes the layout's size, in pixels (at 15 twips a pixel for a
// layout in twips).
TEST(FeatureLayouts, EveryTableIsSoundAndIsItsFrame) {
  for (const FeatureRow& row : kFeatureTable) {
    const ui::Layout& layout = row.layout();
    const FrameSize frame = FrameSizeOf(row.feature);
    EXPECT_EQ(ui::CheckLayout(layout, frame.width, frame.height), std::vector<std::string>{}) << layout.name;
    EXPECT_GT(frame.width, 0) << layout.name;
    EXPECT_GT(frame.height, 0) << layout.name;
    const int scale = layout.unit == ui::Unit::Twips ? kDesignTwipsPerPixel : 1;
    EXPECT_EQ(layout.width, frame.width * scale) << layout.name;
    EXPECT_EQ(layout.height, frame.height * scale) << layout.name;
  }
}

// A stored value is named by its control: every one a row lists is a
// control of that row's layout, each control stored once.
TEST(FeatureLayouts, EveryStoredValueIsAControlOfItsWindow) {
  int rowsWithStored = 0;
  for (const FeatureRow& row : kFeatureTable) {
    if (row.stored == nullptr) continue;
    ++rowsWithStored;
    const ui::Layout& layout = row.layout();
    std::set<int> seen;
    for (const ui::Stored& value : row.stored()) {
      EXPECT_NE(ui::FindControl(layout, value.control), nullptr) << layout.name << " stores " << value.control;
      EXPECT_TRUE(seen.insert(value.control).second) << layout.name << " stores " << value.control << " twice";
    }
    EXPECT_FALSE(seen.empty()) << layout.name;
  }
  // The pinger, the RAM configuration and the main settings.
  EXPECT_EQ(rowsWithStored, 3);
}

}  // namespace
}  // namespace corvane::shell
