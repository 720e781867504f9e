// The message box's buttons, default button, results and panels, the input
// box's rules, the notification's close mark and time, and the icon strip.
#include <gtest/gtest.h>

#include <set>

#include "shell/messages/IconStrip.h"
#include "shell/messages/MessageLayout.h"

namespace corvane::shell {
namespace {

const Metrics k96Dpi{15, 15};
constexpr int kP = 15 * (359 - 30);  // the panel's width in twips

int Visible(const ButtonSet& set) {
  int n = 0;
  for (const auto& b : set.buttons) n += b.visible ? 1 : 0;
  return n;
}

TEST(SetupButtons, EachFlagValueGivesItsCaptionsAndCodes) {
  struct Case {
    int flags;
    std::vector<std::string> captions;
    std::vector<int> codes;
  };
  std::vector<Case> cases = {
      {0, {"OK"}, {1}},
      {1, {"OK", "Cancel"}, {1, 2}},
      {2, {"Abort", "Retry", "Ignore"}, {3, 4, 5}},
      {3, {"Yes", "No", "Cancel"}, {6, 7, 2}},
      {4, {"Yes", "No"}, {6, 7}},
      {5, {"Retry", "Cancel"}, {4, 2}},
      {7, {"OK"}, {1}},
      {64 + 3, {"Yes", "No", "Cancel"}, {6, 7, 2}},  // icon and default bits do not matter
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    ButtonSet set = ChooseButtons(c.flags, "", "", "");
    ASSERT_EQ(set.count, static_cast<int>(c.captions.size()));
    EXPECT_EQ(Visible(set), set.count);
    for (std::size_t i = 0; i < c.captions.size(); ++i) {
      EXPECT_EQ(set.buttons[i].caption, c.captions[i]);
      EXPECT_EQ(set.buttons[i].code, c.codes[i]);
    }
  }
}

TEST(SetupButtons, CustomCaptionsOneAndThreeGiveTwoButtonsLaidOutAsThree) {
  ButtonSet set = ChooseButtons(6, "Keep", "", "Drop");
  EXPECT_EQ(set.count, 3);
  EXPECT_EQ(Visible(set), 2);
  EXPECT_TRUE(set.buttons[0].visible);
  EXPECT_FALSE(set.buttons[1].visible);
  EXPECT_TRUE(set.buttons[2].visible);
  EXPECT_EQ(set.buttons[0].code, 1);
  EXPECT_EQ(set.buttons[2].code, 3);
  EXPECT_EQ(set.buttons[2].caption, "Drop");
  PlaceButtons(set, k96Dpi, 132);
  EXPECT_EQ(set.buttons[0].leftTwips, (1815 - 1200) / 2);
  EXPECT_EQ(set.buttons[2].leftTwips, kP - (1815 - 1200) / 2 - 1200);

  EXPECT_EQ(ChooseButtons(6, "Only", "", "").count, 1);
  EXPECT_EQ(ChooseButtons(6, "", "", "").count, 0);
}

TEST(SetupButtons, OneTwoAndThreeButtonsArePlacedSymmetrically) {
  ButtonSet one = ChooseButtons(0, "", "", "");
  PlaceButtons(one, k96Dpi, 132);
  EXPECT_EQ(one.buttons[0].leftTwips, (kP - 1200) / 2);
  EXPECT_EQ(one.buttons[0].topTwips, 15 * 132 - 375 - 100);

  ButtonSet two = ChooseButtons(4, "", "", "");
  PlaceButtons(two, k96Dpi, 132);
  EXPECT_EQ(two.buttons[0].leftTwips, kP / 3 - 600);
  EXPECT_EQ(two.buttons[1].leftTwips, kP - two.buttons[0].leftTwips - 1200);

  ButtonSet three = ChooseButtons(3, "", "", "");
  PlaceButtons(three, k96Dpi, 132);
  EXPECT_EQ(three.buttons[0].leftTwips, 307);
  EXPECT_EQ(three.buttons[1].leftTwips, (kP - 1200) / 2);
  EXPECT_EQ(three.buttons[2].leftTwips, kP - 307 - 1200);
  for (const auto& b : three.buttons) EXPECT_EQ(b.topTwips, one.buttons[0].topTwips);
}

TEST(SetDefaultButton, ChoosesByTheDefaultBitsAndKeepsItOtherwise) {
  EXPECT_EQ(SetDefaultButton(3, 0), 1);
  EXPECT_EQ(SetDefaultButton(3 + 256, 0), 2);
  EXPECT_EQ(SetDefaultButton(3 + 512, 0), 3);
  EXPECT_EQ(SetDefaultButton(3 + 768, 0), 0);
  EXPECT_EQ(SetDefaultButton(768, 2), 2);
}

TEST(Results, MessageBoxCodesWithAndWithoutTheCheckBox) {
  EXPECT_EQ(MessageBoxResult(6, false), 6);
  EXPECT_EQ(MessageBoxResult(7, false), 7);
  EXPECT_EQ(MessageBoxResult(2, false), 2);
  EXPECT_EQ(MessageBoxResult(6, true), 106);
  EXPECT_EQ(MessageBoxResult(7, true), 107);
  EXPECT_EQ(MessageBoxResult(2, true), 102);
}

TEST(Results, InputBoxOkNeedsATextAndCancelGivesNothing) {
  EXPECT_FALSE(InputOkCloses(""));
  EXPECT_TRUE(InputOkCloses(" "));
  EXPECT_EQ(InputBoxResult("typed", -1, false), "");
  EXPECT_EQ(InputBoxResult("typed", -1, true), "");
  EXPECT_EQ(InputBoxResult("host", 0, false), "host");
  EXPECT_EQ(InputBoxResult("host", 0, true), "host\xAC");
}

TEST(BalloonColor, ZeroIsThePaleYellow) {
  EXPECT_EQ(BalloonColorFor(0), Rgb(255, 255, 204));
  EXPECT_EQ(BalloonColorFor(Rgb(242, 248, 200)), 0xC8F8F2u);
}

MeasureText FixedHeight(int twips) {
  return [twips](const std::string&, int) { return twips; };
}

TEST(LayoutMessageBox, PanelWindowCheckBoxAndButtonsFollowTheMessageHeight) {
  MessageBoxArgs args;
  args.mPrompt = "Apply?";
  args.mFlags = 3 + 32;
  args.CheckboxTxt = "Do not ask again";
  int measuredWidth = 0;
  PanelLayout l = LayoutMessageBox(args, k96Dpi, [&](const std::string&, int width) {
    measuredWidth = width;
    return 600;
  });
  EXPECT_EQ(measuredWidth, kP - 130);
  EXPECT_EQ(l.windowWidth, 359);
  EXPECT_EQ(l.panel, (RectI{8, 30, 8 + 329, 30 + 132}));  // (480 + 600 + 900) / 15
  EXPECT_EQ(l.windowHeight, 132 + 65);
  EXPECT_TRUE(l.iconVisible);
  EXPECT_EQ(l.iconCell, 4);
  EXPECT_EQ(l.message.top, 30 + 32);
  EXPECT_EQ(l.message.bottom, 30 + 32 + 40);
  EXPECT_TRUE(l.checkVisible);
  EXPECT_EQ(l.check.top, 30 + (480 + 600 + 70) / 15);
  EXPECT_EQ(l.check.left, l.message.left);
  EXPECT_EQ(l.buttons[2].caption, "Cancel");
  EXPECT_EQ(l.buttonRects[1].left, 8 + (kP - 1200) / 2 / 15);
  EXPECT_EQ(l.buttonRects[0].top, 30 + (15 * 132 - 475) / 15);
  EXPECT_LT(l.check.bottom, l.buttonRects[0].top);
  EXPECT_LT(l.panel.bottom, l.windowHeight - 32) << "inside the body";
}

TEST(LayoutMessageBox, WithoutAnIconTheTitleMovesToTheMessageEdge) {
  MessageBoxArgs args;
  args.mFlags = 0;
  PanelLayout l = LayoutMessageBox(args, k96Dpi, FixedHeight(200));
  EXPECT_FALSE(l.iconVisible);
  EXPECT_FALSE(l.checkVisible);
  EXPECT_EQ(l.title.left, l.message.left);
  args.mFlags = 64;
  EXPECT_GT(LayoutMessageBox(args, k96Dpi, FixedHeight(200)).title.left, l.message.left);
}

TEST(LayoutInputBox, TextBoxButtonsAndCheckBoxStackUnderTheMessage) {
  PanelLayout l = LayoutInputBox("Host name", 32, "Remember", k96Dpi, FixedHeight(300));
  const int textTop = 480 + 300 + 300;
  EXPECT_EQ(l.textBox.top, 30 + textTop / 15);
  EXPECT_EQ(l.textBox.left, l.message.left);
  EXPECT_EQ(l.textBox.width(), l.message.width());
  const int buttonTop = textTop + 315 + 70;
  EXPECT_EQ(l.buttons[1].caption, "OK");
  EXPECT_EQ(l.buttons[1].leftTwips + 1200, 65 + kP - 130) << "right-aligned with the text box";
  EXPECT_EQ(l.buttons[0].caption, "Cancel");
  EXPECT_EQ(l.buttons[0].leftTwips, l.buttons[1].leftTwips - 70 - 1200);
  EXPECT_EQ(l.buttons[0].code, -1);
  EXPECT_EQ(l.buttonRects[0].top, 30 + buttonTop / 15);
  EXPECT_TRUE(l.checkVisible);
  EXPECT_EQ(l.check.width(), (l.buttons[0].leftTwips - 65 - 10) / 15);
  EXPECT_EQ(l.windowHeight, (buttonTop + 375 + 115) / 15 + 65);
}

TEST(LayoutNotification, CloseMarkAtTheIconsHeightAndAShorterWindow) {
  PanelLayout l = LayoutNotification("The Program Still Running Here", 64, k96Dpi, FixedHeight(600));
  EXPECT_EQ(l.panel.height(), (480 + 600 + 300) / 15);
  EXPECT_EQ(l.windowHeight, 30 + 92 + 40);
  EXPECT_EQ(l.closeMark.top, l.icon.top);
  EXPECT_EQ(l.closeMark.left, 8 + (kP - 240 - 50) / 15);
  EXPECT_EQ(l.closeMark.width(), 16);
  EXPECT_EQ(l.iconCell, 3);
  EXPECT_LE(l.title.right, l.closeMark.left);
}

TEST(Notification, TimeInMillisecondsHeldToItsSixteenBitRange) {
  EXPECT_EQ(NotificationIntervalMs(5), 5000u);
  EXPECT_EQ(NotificationIntervalMs(0), 0u);
  EXPECT_EQ(NotificationIntervalMs(32), 32000u);
  EXPECT_EQ(NotificationIntervalMs(33), 32000u);
  EXPECT_EQ(NotificationIntervalMs(-4), 0u);
}

TEST(CloseMark, ShowsItsThreeLooks) {
  CloseMark mark;
  EXPECT_EQ(mark.cell(), 9);
  EXPECT_FALSE(mark.MouseMoveOverPanel()) << "not hot: nothing to undo";
  EXPECT_TRUE(mark.MouseMoveOverMark());
  EXPECT_EQ(mark.cell(), 10);
  EXPECT_FALSE(mark.MouseMoveOverMark()) << "already hot";
  EXPECT_TRUE(mark.ButtonDown());
  EXPECT_EQ(mark.cell(), 11);
  EXPECT_TRUE(mark.ButtonUp());
  EXPECT_EQ(mark.cell(), 10);
  EXPECT_TRUE(mark.MouseMoveOverPanel());
  EXPECT_EQ(mark.cell(), 9);
  EXPECT_FALSE(mark.hot());
}

TEST(IntensityTag, KeepsANonZeroIntensityAsText) {
  EXPECT_EQ(IntensityTag(0), "");
  EXPECT_EQ(IntensityTag(-20), "-20");
  EXPECT_EQ(IntensityFromTag("75"), 75);
  EXPECT_EQ(IntensityFromTag(""), 0);
  EXPECT_EQ(IntensityFromTag("x1"), 0);
}

TEST(IconStrip, TwelveCellsOnGreenWithTheUsedOnesDrawn) {
  Image strip = MakeIconStrip();
  ASSERT_EQ(strip.width(), 192);
  ASSERT_EQ(strip.height(), 16);
  for (int cell = 1; cell <= 12; ++cell) {
    SCOPED_TRACE(cell);
    int drawn = 0;
    std::set<Pixel> colours;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        Pixel p = strip.At((cell - 1) * 16 + x, y);
        if (p != kIconTransparent) {
          ++drawn;
          colours.insert(p);
        }
      }
    }
    EXPECT_EQ(strip.At((cell - 1) * 16, 0), kIconTransparent) << "corners stay transparent";
    if (cell == 12) {
      EXPECT_EQ(drawn, 0);
    } else if (cell != 8) {
      EXPECT_GT(drawn, 60);
      EXPECT_GE(colours.size(), 2u) << "a sign on a face";
    }
  }
  // The close mark's three looks differ from each other.
  Image normal = IconCell(strip, 9, 0), hover = IconCell(strip, 10, 0), down = IconCell(strip, 11, 0);
  EXPECT_NE(normal.pixels(), hover.pixels());
  EXPECT_NE(hover.pixels(), down.pixels());
}

TEST(IconStrip, ACellIsDrawnOverTheBalloonColour) {
  Image strip = MakeIconStrip();
  const Pixel balloon = PixelFromRgb(Rgb(255, 255, 204));
  Image cell = IconCell(strip, 3, balloon);
  EXPECT_EQ(cell.At(0, 0), balloon);
  EXPECT_EQ(cell.At(8, 8), strip.At(2 * 16 + 8, 8));
  for (Pixel p : cell.pixels()) EXPECT_NE(p, kIconTransparent);
  EXPECT_EQ(IconCell(strip, 13, balloon).At(8, 8), balloon);
}

TEST(SetDisplayIcon, FlagsChooseTheirCells) {
  EXPECT_EQ(IconCellForFlags(0), 0);
  EXPECT_EQ(IconCellForFlags(16), 1);
  EXPECT_EQ(IconCellForFlags(32), 4);
  EXPECT_EQ(IconCellForFlags(48), 2);
  EXPECT_EQ(IconCellForFlags(64), 3);
  EXPECT_EQ(IconCellForFlags(80), 5);
  EXPECT_EQ(IconCellForFlags(96), 6);
  EXPECT_EQ(IconCellForFlags(112), 7);
  EXPECT_EQ(IconCellForFlags(64 + 3 + 256), 3);
}

}  // namespace
}  // namespace corvane::shell
