// applyAllControls' rule: one skin object per control kind.
#include "platform/skin/ControlSkins.h"

#include <gtest/gtest.h>

namespace corvane::skin {
namespace {

TEST(ControlSkins, KindsFromClassAndButtonType) {
  EXPECT_EQ(ClassifyControl("Button", 0x0), ControlKind::CommandButton);
  EXPECT_EQ(ClassifyControl("BUTTON", 0x50010001), ControlKind::CommandButton);  // BS_DEFPUSHBUTTON with window styles
  EXPECT_EQ(ClassifyControl("button", 0xB), ControlKind::CommandButton);
  EXPECT_EQ(ClassifyControl("Button", 0x3), ControlKind::CheckBox);
  EXPECT_EQ(ClassifyControl("Button", 0x2), ControlKind::CheckBox);
  EXPECT_EQ(ClassifyControl("Button", 0x6), ControlKind::CheckBox);
  EXPECT_EQ(ClassifyControl("Button", 0x9), ControlKind::OptionButton);
  EXPECT_EQ(ClassifyControl("Button", 0x4), ControlKind::OptionButton);
  EXPECT_EQ(ClassifyControl("Button", 0x7), ControlKind::Frame);
  EXPECT_EQ(ClassifyControl("Button", 0x8), ControlKind::Other);  // BS_USERBUTTON
  EXPECT_EQ(ClassifyControl("CorvaneSkinLabel", 0), ControlKind::SkinLabel);
  EXPECT_EQ(ClassifyControl("Static", 0), ControlKind::Label);
  EXPECT_EQ(ClassifyControl("Edit", 0), ControlKind::Other);
  EXPECT_EQ(ClassifyControl("SysListView32", 0x7), ControlKind::Other);
  EXPECT_EQ(ClassifyControl("", 0), ControlKind::Other);
}

TEST(ControlSkins, ObjectNamePerKind) {
  EXPECT_EQ(SkinObjectForControl(ControlKind::CommandButton), "Button");
  EXPECT_EQ(SkinObjectForControl(ControlKind::SkinLabel), "Label");
  EXPECT_EQ(SkinObjectForControl(ControlKind::Frame), "Frame");
  EXPECT_EQ(SkinObjectForControl(ControlKind::CheckBox), "CheckBox");
  EXPECT_EQ(SkinObjectForControl(ControlKind::OptionButton), "RadioBox");
  EXPECT_EQ(SkinObjectForControl(ControlKind::Label), std::nullopt);
  EXPECT_EQ(SkinObjectForControl(ControlKind::Other), std::nullopt);
}

}  // namespace
}  // namespace corvane::skin
