// The layout checks: what makes a control table unsound, and the places of
// controls inside containers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Layout.h"
#include "tests/support/KitTestLayout.h"

namespace corvane::ui {
namespace {

using K = ControlKind;

bool Mentions(const std::vector<std::string>& faults, std::string_view what) {
  for (const auto& f : faults) {
    if (f.find(what) != std::string::npos) return true;
  }
  return false;
}

TEST(CheckLayout, TheKitsTestLayoutIsSound) {
  EXPECT_EQ(CheckLayout(testing::kKitTestLayout, 420, 280), std::vector<std::string>{});
}

struct BrokenCase {
  const char* why;
  std::vector<Control> controls;
  int frameWidth;
  std::string expected;
};

TEST(CheckLayout, FindsEachKindOfFault) {
  const std::vector<BrokenCase> cases = {
      {"same id twice",
       {{1, K::Button, "cmdA", "", 0, 0, 10, 10, 0}, {1, K::Button, "cmdB", "", 20, 0, 10, 10, 0}},
       200, "identifier 1 used twice"},
      {"same name twice",
       {{1, K::Button, "cmdA", "", 0, 0, 10, 10, 0}, {2, K::Button, "cmdA", "", 20, 0, 10, 10, 0}},
       200, "name used twice"},
      {"id 0 is the form", {{0, K::Button, "cmdA", "", 0, 0, 10, 10, 0}}, 200, "out of 1..65535"},
      {"no name", {{1, K::Button, "", "", 0, 0, 10, 10, 0}}, 200, "without a name"},
      {"no size", {{1, K::Label, "lblA", "", 0, 0, 0, 10, 0}}, 200, "no size"},
      {"beyond the form", {{1, K::Button, "cmdA", "", 95, 0, 10, 10, 0}}, 200, "outside its parent"},
      {"negative place", {{1, K::Button, "cmdA", "", -1, 0, 10, 10, 0}}, 200, "outside its parent"},
      {"beyond its frame",
       {{1, K::Frame, "frameA", "", 0, 0, 50, 50, 0}, {2, K::CheckBox, "chkA", "", 45, 0, 10, 10, 1}},
       200, "chkA: lies outside its parent"},
      {"parent listed after it",
       {{2, K::CheckBox, "chkA", "", 0, 0, 10, 10, 1}, {1, K::Frame, "frameA", "", 0, 0, 50, 50, 0}},
       200, "not listed before it"},
      {"parent is a button",
       {{1, K::Button, "cmdA", "", 0, 0, 50, 50, 0}, {2, K::CheckBox, "chkA", "", 0, 0, 10, 10, 1}},
       200, "holds no controls"},
      {"form wider than its frame", {{1, K::Button, "cmdA", "", 0, 0, 10, 10, 0}}, 99, "larger than its frame"},
  };
  for (const auto& c : cases) {
    Layout layout{"frmTest", "CorvaneTest", "", Unit::Pixels, 100, 100, c.controls};
    auto faults = CheckLayout(layout, c.frameWidth, 100);
    EXPECT_TRUE(Mentions(faults, c.expected)) << c.why << ": " << (faults.empty() ? "no fault" : faults[0]);
  }
}

TEST(CheckLayout, ColumnsBelongToAListView) {
  const Control controls[] = {{1, K::ListBox, "lstA", "", 0, 0, 50, 50, 0}};
  const Column columns[] = {{1, "Name", 40}, {1, "Date", 0}};
  Layout layout{"frmTest", "CorvaneTest", "", Unit::Pixels, 100, 100, controls, columns};
  auto faults = CheckLayout(layout, 100, 100);
  EXPECT_TRUE(Mentions(faults, "belongs to no list view"));
  EXPECT_TRUE(Mentions(faults, "has no width"));
}

TEST(CheckLayout, AFormInTwipsIsMeasuredInPixelsAgainstItsFrame) {
  const Control controls[] = {{1, K::Button, "cmdA", "", 0, 0, 300, 300, 0}};
  Layout layout{"frmTest", "CorvaneTest", "", Unit::Twips, 6600, 3750, controls};  // 440 x 250 pixels at 15
  EXPECT_TRUE(CheckLayout(layout, 440, 250).empty());
  EXPECT_FALSE(CheckLayout(layout, 439, 250).empty());
  EXPECT_EQ(ToPixels(Unit::Twips, 2715, 15), 181);
  EXPECT_EQ(ToPixels(Unit::Twips, 7, 15), 0);
  EXPECT_EQ(ToPixels(Unit::Twips, 8, 15), 1);
  EXPECT_EQ(ToPixels(Unit::Pixels, 8, 15), 8);
}

TEST(Layout, PlacesAddUpThroughContainersAndOptionsGroupBySiblings) {
  const Control controls[] = {
      {1, K::Frame, "frameOuter", "", 10, 20, 200, 150, 0},
      {2, K::Panel, "pnlInner", "", 5, 5, 100, 100, 1},
      {3, K::Option, "optA", "", 1, 2, 10, 10, 2, kGroupStart},
      {4, K::Option, "optB", "", 1, 20, 10, 10, 2},
      {5, K::Option, "optC", "", 1, 40, 10, 10, 2, kGroupStart},
      {6, K::Option, "optD", "", 1, 60, 10, 10, 2},
      {7, K::Option, "optE", "", 120, 2, 10, 10, 1},
  };
  Layout layout{"frmTest", "CorvaneTest", "", Unit::Pixels, 300, 300, controls};
  Rect r = FormRect(layout, controls[2]);
  EXPECT_EQ(r.left, 16);
  EXPECT_EQ(r.top, 27);
  EXPECT_EQ(OptionGroup(layout, 4), (std::vector<int>{3, 4}));
  EXPECT_EQ(OptionGroup(layout, 5), (std::vector<int>{5, 6}));
  EXPECT_EQ(OptionGroup(layout, 7), (std::vector<int>{7})) << "another container, another group";
  EXPECT_TRUE(OptionGroup(layout, 1).empty());
  EXPECT_TRUE(IsInside(layout, 3, 1));
  EXPECT_FALSE(IsInside(layout, 7, 2));
  EXPECT_EQ(FindControl(layout, "optD")->id, 6);
}

// The index a form resolves once must answer as the table scans do: the
// same control for every identifier, and a container holds exactly what
// IsInside puts inside it.
TEST(LayoutIndex, AnswersAsTheTableScansDo) {
  const Layout& layout = testing::kKitTestLayout;
  const LayoutIndex index(layout);
  ASSERT_EQ(index.size(), layout.controls.size());
  for (std::size_t i = 0; i < layout.controls.size(); ++i) {
    const Control& c = layout.controls[i];
    EXPECT_EQ(index.Find(c.id), FindControl(layout, c.id)) << c.name;
    EXPECT_EQ(index.IndexOf(c.id), static_cast<int>(i)) << c.name;
    const int parent = index.ParentOf(static_cast<int>(i));
    EXPECT_EQ(parent < 0 ? 0 : index.At(parent).id, c.parent) << c.name;
    std::vector<int> inside;
    for (std::size_t j = 0; j < layout.controls.size(); ++j) {
      if (IsInside(layout, layout.controls[j].id, c.id)) inside.push_back(static_cast<int>(j));
    }
    auto held = index.Held(static_cast<int>(i));
    EXPECT_EQ(std::vector<int>(held.begin(), held.end()), inside) << c.name;
  }
  EXPECT_EQ(index.IndexOf(0), -1);
  EXPECT_EQ(index.Find(0xFFFF), nullptr);
}

TEST(LayoutIndex, AParentCycleOrAMissingParentEndsTheWalk) {
  const Control controls[] = {
      {1, K::Frame, "frameA", "", 0, 0, 50, 50, 2},
      {2, K::Frame, "frameB", "", 0, 0, 50, 50, 1},
      {3, K::Button, "cmdC", "", 0, 0, 10, 10, 1},
      {4, K::Button, "cmdD", "", 0, 0, 10, 10, 99},
  };
  Layout layout{"frmCycle", "CorvaneTest", "", Unit::Pixels, 300, 300, controls};
  const LayoutIndex index(layout);
  EXPECT_EQ(std::vector<int>(index.Held(0).begin(), index.Held(0).end()), (std::vector<int>{1, 2}));
  EXPECT_EQ(std::vector<int>(index.Held(1).begin(), index.Held(1).end()), (std::vector<int>{0, 2}));
  EXPECT_EQ(index.ParentOf(3), -1) << "a parent the table does not list";
}

}  // namespace
}  // namespace corvane::ui
