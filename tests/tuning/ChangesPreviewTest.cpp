// The preview of a plan against the in-memory view: the rows, the folded
// line, the marks of ignored values, the sort, and "Apply" and "Back".
#include <gtest/gtest.h>

#include "tests/support/MemoryView.h"
#include "tests/tuning/support/RecordingRegistry.h"
#include "tests/tuning/support/RegistryStates.h"
#include "tuning/BackupWindow.h"
#include "tuning/ChangesPreview.h"
#include "tuning/Presets.h"
#include "tuning/WizardMode.h"

namespace corvane {
namespace {

using namespace preview;
using testing::RecordingRegistry;
using Rows = std::vector<std::vector<std::string>>;

class ChangesPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FillPresetProfiles();
    testing::ResetAdapters(registry, 7, {"{A1}"});
    testing::WriteState(registry, {{{RootKey::LocalMachine,
                                     "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters",
                                     "DefaultTTL"},
                                    testing::Dword(128)}});
    registry.log.clear();
  }
  Plan MakePlan() {
    return PlanProfile(registry, 7, WindowsVersion::Windows10, presetProfiles[0]);
  }
  ChangesPreviewModel::Hooks Hooks() {
    return {[this] { return MakePlan(); }, [this] { events.push_back("close"); },
            [this] { events.push_back("apply"); }};
  }

  RecordingRegistry registry{testing::RegistryFlavor::Nt};
  testing::MemoryView view{ChangesPreviewLayout()};
  std::vector<std::string> events;
};

TEST_F(ChangesPreviewTest, ChangingValuesPerAdapterOldToNewThenOneFoldedLine) {
  Plan plan = MakePlan();
  Rows rows = PreviewRows(plan);
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(plan.Changing()) + 1);
  EXPECT_EQ(rows.back(), (std::vector<std::string>{"", "1 value stays as it is", "", "", ""}));
  bool sawAdapter = false;
  bool sawIgnored = false;
  for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
    ASSERT_EQ(rows[i].size(), kPreviewColumns.size());
    if (rows[i][0] == "{A1}") {
      sawAdapter = true;
      EXPECT_TRUE(rows[i][1] == "MTU" || rows[i][1] == "MSS");
      EXPECT_EQ(rows[i][2], "absent");
    }
    if (rows[i][1] == "TcpWindowSize") {
      sawIgnored = true;
      EXPECT_EQ(rows[i][4].rfind("Windows 10 ignores it: ", 0), 0u) << rows[i][4];
    }
  }
  EXPECT_TRUE(sawAdapter);
  EXPECT_TRUE(sawIgnored);
  EXPECT_EQ(PreviewSummary(plan),
            std::to_string(plan.Changing()) + " of 20 values would change; Windows 10 ignores " +
                std::to_string(plan.ChangingWithoutEffect()) + " of them.");
}

TEST_F(ChangesPreviewTest, ColumnsSortBothWaysNumbersByValueTheFoldedLineLast) {
  Rows rows{{"", "b", "10", "9", ""}, {"", "a", "9", "\"100\"", ""}, {"", "3 values stay as they are", "", "", ""},
            {"x", "c", "absent", "2", ""}};
  SortPreviewRows(rows, 2, false);
  EXPECT_EQ(rows[0][1], "a");
  EXPECT_EQ(rows[1][1], "b");
  EXPECT_EQ(rows[2][1], "c");
  EXPECT_EQ(rows[3][2], "");
  SortPreviewRows(rows, 3, true);
  EXPECT_EQ(rows[0][1], "a");  // "100" is the largest number
  EXPECT_EQ(rows[3][2], "");
  SortPreviewRows(rows, 1, true);
  EXPECT_EQ(rows[0][1], "c");
}

TEST_F(ChangesPreviewTest, BackClosesAndWritesNothing) {
  ChangesPreviewModel model(view, MakePlan(), "Optimize &Now", Hooks());
  view.onEvent = [&](const ui::Event& e) { model.OnEvent(e); };
  model.OnLoad();
  EXPECT_EQ(view.Text(kIdCmdApply), "Optimize &Now");
  EXPECT_EQ(view.Rows(kIdLstChanges), PreviewRows(model.plan()));
  ASSERT_TRUE(view.ClickColumn(kIdLstChanges, 1));
  ASSERT_TRUE(view.Click(kIdCmdBack));
  EXPECT_EQ(events, (std::vector<std::string>{"close"}));
  EXPECT_TRUE(registry.log.empty());
}

TEST_F(ChangesPreviewTest, ApplyRunsTheCallersPathOnlyWhenTheRegistryIsAsPlanned) {
  ChangesPreviewModel model(view, MakePlan(), "Optimize &Now", Hooks());
  view.onEvent = [&](const ui::Event& e) { model.OnEvent(e); };
  model.OnLoad();
  // Another program removes the adapter meanwhile.
  testing::RemoveAdapters(registry, 7, {"{A1}"});
  ASSERT_TRUE(view.Click(kIdCmdApply));
  EXPECT_TRUE(events.empty());
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_NE(view.messages[0].text.find("{A1}"), std::string::npos) << view.messages[0].text;
  EXPECT_EQ(view.Rows(kIdLstChanges), PreviewRows(MakePlan()));  // the plan as it is now

  ASSERT_TRUE(view.Click(kIdCmdApply));
  EXPECT_EQ(events, (std::vector<std::string>{"close", "apply"}));
}

TEST_F(ChangesPreviewTest, NoPlanNoApply) {
  Plan none = PlanProfile(registry, 0, WindowsVersion::Unknown, presetProfiles[0]);
  ChangesPreviewModel model(view, none, "Optimize &Now", Hooks());
  model.OnLoad();
  EXPECT_FALSE(view.Enabled(kIdCmdApply));
  EXPECT_EQ(view.Text(kIdLblSummary), none.message);
}

// The "Changes…" button of a layout covers no control but its containers.
void ExpectChangesButtonCoversNothing(const ui::Layout& layout, int id) {
  EXPECT_TRUE(ui::CheckLayout(layout, 440, 250).empty()) << layout.name;
  const ui::Control* changes = ui::FindControl(layout, id);
  ASSERT_NE(changes, nullptr);
  EXPECT_EQ(changes->caption, kChangesCaption);
  ui::Rect c = ui::FormRect(layout, *changes);
  for (const ui::Control& other : layout.controls) {
    if (other.id == changes->id || ui::IsInside(layout, changes->id, other.id)) continue;
    ui::Rect o = ui::FormRect(layout, other);
    bool apart = c.left >= o.left + o.width || o.left >= c.left + c.width ||
                 c.top >= o.top + o.height || o.top >= c.top + c.height;
    EXPECT_TRUE(apart) << layout.name << ": " << other.name;
  }
}

TEST(ChangesPreviewLayout, FitsTheFrameAndTheChangesButtonsCoverNothing) {
  EXPECT_TRUE(ui::CheckLayout(ChangesPreviewLayout(), 440, 250).empty());
  ExpectChangesButtonCoversNothing(WizardModeLayout(), wizard::kIdCmdChanges);
  ExpectChangesButtonCoversNothing(BackUpLayout(), backup::kIdCmdChanges);
}

}  // namespace
}  // namespace corvane
