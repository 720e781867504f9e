// Where the balloon goes and how it is shaped and shadowed.
#include <gtest/gtest.h>

#include "shell/messages/BalloonGeometry.h"

namespace corvane::shell {
namespace {

constexpr int kW = 359;  // 5385 twips at 15 twips per pixel
constexpr int kH = 197;

TEST(GetPointerStyle, EachQuarterOpensTowardsTheMiddle) {
  PointI cursor{1, 1};
  EXPECT_EQ(GetPointerStyle(300, 200, cursor, 1024, 768, kW, kH), (Placement{4, 258, 200}));
  EXPECT_EQ(GetPointerStyle(700, 200, cursor, 1024, 768, kW, kH), (Placement{2, 700 + 42 - kW, 200}));
  EXPECT_EQ(GetPointerStyle(300, 600, cursor, 1024, 768, kW, kH), (Placement{3, 258, 600 - kH}));
  EXPECT_EQ(GetPointerStyle(700, 600, cursor, 1024, 768, kW, kH),
            (Placement{1, 700 + 42 - kW, 600 - kH}));
}

TEST(GetPointerStyle, TheExactMiddleCountsAsUpperLeft) {
  EXPECT_EQ(GetPointerStyle(512, 384, {}, 1024, 768, kW, kH).style, 4);
  EXPECT_EQ(GetPointerStyle(512.5f, 384, {}, 1024, 768, kW, kH).style, 2);
  EXPECT_EQ(GetPointerStyle(512, 384.5f, {}, 1024, 768, kW, kH).style, 3);
}

TEST(GetPointerStyle, XOrYOfZeroUsesTheMouseCursor) {
  PointI cursor{800, 700};
  EXPECT_EQ(GetPointerStyle(0, 100, cursor, 1024, 768, kW, kH),
            (Placement{1, 800 + 42 - kW, 700 - kH}));
  EXPECT_EQ(GetPointerStyle(100, 0, cursor, 1024, 768, kW, kH).style, 1);
  EXPECT_EQ(GetPointerStyle(0, 0, {10, 10}, 1024, 768, kW, kH), (Placement{4, -32, 10}));
}

TEST(GetPointerStyle, TheTrayNotificationOnA1024By768Screen) {
  // X = width - 40, Y = height: the lower right quarter.
  int H = 162;
  Placement p = GetPointerStyle(1024 - 40, 768, {}, 1024, 768, kW, H);
  EXPECT_EQ(p.style, 1);
  EXPECT_EQ(p.left, 1026 - kW);
  EXPECT_EQ(p.top + H, 768) << "the bottom edge is the screen's";
}

TEST(BalloonShapes, BodyShadowAndPointersHaveTheirDesignCorners) {
  EXPECT_EQ(BodyRegion(kW, kH), (RoundRectShape{{0, 20, kW - 14, kH - 32}, 20, 20}));
  EXPECT_EQ(BodyFill(kW, kH), (RoundRectShape{{0, 20, kW - 15, kH - 33}, 24, 24}));
  EXPECT_EQ(ShadowRegion(kW, kH), (RoundRectShape{{11, 29, kW - 5, kH - 23}, 45, 35}));
  EXPECT_FALSE(PointerTriangles(0, kW, kH));
  EXPECT_FALSE(PointerTriangles(5, kW, kH));
  auto p1 = PointerTriangles(1, kW, kH);
  ASSERT_TRUE(p1);
  EXPECT_EQ(p1->outer[2], (PointI{kW - 36, kH - 9}));  // the tip, below right
  EXPECT_EQ(p1->inner[0], (PointI{kW - 62, kH - 35}));
  EXPECT_EQ(PointerTriangles(2, kW, kH)->outer[2], (PointI{kW - 38, 0}));
  EXPECT_EQ(PointerTriangles(3, kW, kH)->outer[2], (PointI{41, kH - 9}));
  auto p4 = PointerTriangles(4, kW, kH);
  EXPECT_EQ(p4->outer, (Triangle{{{40, 20}, {60, 20}, {40, 0}}}));
  EXPECT_EQ(p4->inner, (Triangle{{{41, 21}, {59, 21}, {41, 3}}}));
}

TEST(BlendColor, DarkensEachByteAndHoldsTheFactorInRange) {
  EXPECT_EQ(BlendColor(MakePixel(200, 100, 255), 128), MakePixel(100, 50, 127));
  EXPECT_EQ(BlendColor(MakePixel(255, 255, 255), 20), MakePixel(19, 19, 19));
  EXPECT_EQ(BlendColor(MakePixel(255, 255, 255), 300), MakePixel(254, 254, 254));
  EXPECT_EQ(BlendColor(MakePixel(255, 255, 255), -40), MakePixel(0, 0, 0));
}

TEST(PaintShadow, BandsDarkenTheScreenBehindFromInnermostToOutermost) {
  EXPECT_EQ(ShadowBandWeight(17), 20);
  EXPECT_EQ(ShadowBandWeight(16), 20);
  EXPECT_EQ(ShadowBandWeight(15), 40);
  EXPECT_EQ(ShadowBandWeight(1), 180);
  EXPECT_EQ(ShadowBandWeight(0), 180);

  const Pixel grey = MakePixel(200, 200, 200);
  const Pixel untouched = MakePixel(1, 2, 3);
  Image behind(kW, kH, grey);
  Image canvas(kW, kH, untouched);
  PaintShadow(behind.view(), canvas.view(), 0);
  auto shade = [&](int weight) { return BlendColor(grey, weight); };
  // Bottom edge: row H - 23 - n, x from n + 5 to W - 5 - n.
  EXPECT_EQ(canvas.At(100, kH - 23), shade(180));
  EXPECT_EQ(canvas.At(100, kH - 40), shade(20));
  EXPECT_EQ(canvas.At(100, kH - 30), shade(ShadowBandWeight(7)));
  EXPECT_EQ(canvas.At(5, kH - 23), shade(180));
  EXPECT_EQ(canvas.At(4, kH - 23), untouched);
  EXPECT_EQ(canvas.At(21, kH - 40), untouched);
  EXPECT_EQ(canvas.At(22, kH - 40), shade(20));
  // Right edge: column W - 5 - n, y from n + 23 to H - 23 - n.
  EXPECT_EQ(canvas.At(kW - 5, 100), shade(180));
  EXPECT_EQ(canvas.At(kW - 22, 100), shade(20));
  EXPECT_EQ(canvas.At(kW - 5, 22), untouched);
  EXPECT_EQ(canvas.At(kW - 5, 23), shade(180));
  // Neither below, beyond nor inside the bands.
  EXPECT_EQ(canvas.At(100, kH - 22), untouched);
  EXPECT_EQ(canvas.At(kW - 4, 100), untouched);
  EXPECT_EQ(canvas.At(100, 100), untouched);
  // Where bands cross, the later (outer) one wins, taken from the screen
  // and not from the earlier band.
  EXPECT_EQ(canvas.At(kW - 5, kH - 30), shade(180));

  Image brighter(kW, kH, untouched);
  PaintShadow(behind.view(), brighter.view(), 40);
  EXPECT_EQ(brighter.At(100, kH - 40), shade(60));
}

}  // namespace
}  // namespace corvane::shell
