// The rasterizer, checked pixel by pixel: exact coverage on pixel edges,
// blending of partly covered pixels, curves, holes, gradients, clipping.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "platform/movie/Raster.h"

namespace corvane::movie {
namespace {

struct Canvas {
  Canvas(int w, int h, std::uint32_t fill = 0) : pixels(static_cast<std::size_t>(w * h), fill) {
    buffer = PixelBuffer{pixels.data(), w, h, w};
  }
  std::uint32_t at(int x, int y) const { return buffer.at(x, y); }
  int red(int x, int y) const { return static_cast<int>((at(x, y) >> 16) & 0xFF); }
  PixelRect all() const { return {0, 0, buffer.width, buffer.height}; }
  // Fills a path over the whole canvas at full opacity, as most cases draw.
  void Fill(const Path& path, const Paint& paint) { Rasterizer().Fill(buffer, all(), path, paint, RectF{}, 1); }
  std::vector<std::uint32_t> pixels;
  PixelBuffer buffer;
};

const Paint kRed = Paint::Solid(Rgba{255, 0, 0, 255});
const Paint kWhite = Paint::Solid(Rgba{255, 255, 255, 255});

TEST(Raster, FillsARectangleOnPixelEdgesExactly) {
  Canvas c(10, 10);
  Path path;
  path.AddRect(2, 3, 4, 5, 0);
  c.Fill(path, kRed);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 10; ++x) {
      bool inside = x >= 2 && x < 6 && y >= 3 && y < 8;
      EXPECT_EQ(c.at(x, y), inside ? 0xFF0000u : 0u) << x << "," << y;
    }
  }
}

TEST(Raster, PartlyCoveredPixelsBlendByTheirArea) {
  Canvas c(10, 10);
  Path path;
  path.AddRect(2.5f, 2.25f, 4, 4, 0);  // x 2.5..6.5, y 2.25..6.25
  c.Fill(path, kWhite);
  EXPECT_NEAR(c.red(2, 4), 128, 2);         // half a column
  EXPECT_NEAR(c.red(4, 2), 191, 2);         // three quarters of a row
  EXPECT_NEAR(c.red(2, 2), 96, 2);          // half of three quarters
  EXPECT_EQ(c.red(4, 4), 255);
  EXPECT_NEAR(c.red(6, 6), 32, 2);          // a quarter of a quarter... of the corner
  EXPECT_EQ(c.red(7, 4), 0);
}

TEST(Raster, ACircleCoversItsArea) {
  Canvas c(40, 40);
  Path path;
  path.AddEllipse(20, 20, 10, 10);
  c.Fill(path, kWhite);
  double sum = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 40; ++x) sum += c.red(x, y) / 255.0;
  }
  EXPECT_NEAR(sum, std::numbers::pi * 100, 2.0);
  EXPECT_EQ(c.red(20, 20), 255);
  EXPECT_EQ(c.red(20, 9), 0);
  // Edge pixels are soft, not stair-stepped.
  int soft = 0;
  for (int x = 0; x < 40; ++x) {
    int v = c.red(x, 12);
    soft += v > 10 && v < 245;
  }
  EXPECT_GE(soft, 2);
}

TEST(Raster, RoundedCornersLeaveTheCornerPixelOut) {
  Canvas c(20, 20);
  Path path;
  path.AddRect(0, 0, 20, 20, 6);
  c.Fill(path, kWhite);
  EXPECT_EQ(c.red(0, 0), 0);
  EXPECT_EQ(c.red(10, 0), 255);
  EXPECT_EQ(c.red(0, 10), 255);
  EXPECT_GT(c.red(1, 1), 0);
  EXPECT_LT(c.red(1, 1), 255);
  EXPECT_EQ(c.red(2, 2), 255);
}

TEST(Raster, OutlinesAndRingsLeaveTheirMiddleUntouched) {
  Canvas c(30, 30, 0x000010);
  Path ring;
  ring.AddEllipseOutline(15, 15, 12, 12, 2);
  Path box;
  box.AddRectOutline(1, 1, 10, 10, 0, 1);
  Rasterizer r;
  r.Fill(c.buffer, c.all(), ring, kWhite, RectF{}, 1);
  EXPECT_EQ(c.at(15, 15), 0x000010u);
  EXPECT_EQ(c.red(15, 4), 255);  // on the band
  r.Fill(c.buffer, c.all(), box, kRed, RectF{}, 1);
  EXPECT_EQ(c.at(1, 5), 0xFF0000u);
  EXPECT_EQ(c.at(5, 5), 0x000010u);
}

TEST(Raster, OverlappingPiecesOfOneStrokeDoNotCancel) {
  Canvas c(30, 30);
  Path path;
  path.AddPolyline({{5, 5}, {25, 5}, {25, 25}, {5, 5}}, 3, LineCap::Round, false);
  c.Fill(path, kWhite);
  EXPECT_EQ(c.red(25, 5), 255);  // a join
  EXPECT_EQ(c.red(15, 5), 255);
  EXPECT_EQ(c.red(15, 15), 255);  // on the diagonal
  EXPECT_EQ(c.red(20, 10), 0);    // inside the triangle, not on a side
}

TEST(Raster, ArcsFollowTheirAngles) {
  Canvas c(40, 40);
  Path path;
  path.AddArc(20, 20, 10, 0, 90, 2, LineCap::Butt);  // three o'clock to six o'clock
  c.Fill(path, kWhite);
  EXPECT_GT(c.red(27, 27), 100);  // lower right
  EXPECT_EQ(c.red(12, 12), 0);    // upper left
  EXPECT_EQ(c.red(20, 10), 0);    // twelve o'clock
}

TEST(Raster, GradientsRunFromTheirStartToTheirEnd) {
  Canvas c(4, 100);
  Paint paint;
  paint.kind = PaintKind::Linear;
  paint.x0 = 0, paint.y0 = 0, paint.x1 = 0, paint.y1 = 1;
  paint.stops = {{0, Rgba{0, 0, 0, 255}}, {1, Rgba{255, 255, 255, 255}}};
  Path path;
  path.AddRect(0, 0, 4, 100, 0);
  Rasterizer r;
  r.Fill(c.buffer, c.all(), path, paint, RectF{0, 0, 4, 100}, 1);
  EXPECT_LT(c.red(1, 0), 5);
  EXPECT_GT(c.red(1, 99), 250);
  EXPECT_NEAR(c.red(1, 50), 128, 4);
  for (int y = 1; y < 100; ++y) EXPECT_GE(c.red(1, y), c.red(1, y - 1));

  Canvas round(41, 41);
  paint.kind = PaintKind::Radial;
  paint.x0 = 0.5f, paint.y0 = 0.5f, paint.x1 = 0.5f;
  paint.stops = {{0, Rgba{255, 255, 255, 255}}, {1, Rgba{255, 255, 255, 0}}};
  Path all;
  all.AddRect(0, 0, 41, 41, 0);
  r.Fill(round.buffer, round.all(), all, paint, RectF{0, 0, 41, 41}, 1);
  EXPECT_GT(round.red(20, 20), 245);
  EXPECT_LT(round.red(0, 20), 10);
  EXPECT_GT(round.red(10, 20), round.red(5, 20));
}

TEST(Raster, OpacityAndColourAlphaScaleTheBlend) {
  Canvas c(4, 4);
  Path path;
  path.AddRect(0, 0, 4, 4, 0);
  Rasterizer r;
  r.Fill(c.buffer, c.all(), path, kWhite, RectF{}, 0.5f);
  EXPECT_NEAR(c.red(1, 1), 128, 1);
  Canvas d(4, 4);
  r.Fill(d.buffer, d.all(), path, Paint::Solid(Rgba{255, 255, 255, 64}), RectF{}, 1);
  EXPECT_NEAR(d.red(1, 1), 64, 1);
  Canvas e(4, 4, 0x123456);
  r.Fill(e.buffer, e.all(), path, kWhite, RectF{}, 0);
  r.Fill(e.buffer, e.all(), path, Paint{}, RectF{}, 1);
  EXPECT_EQ(e.at(1, 1), 0x123456u);
}

TEST(Raster, DrawsOnlyInsideTheClipAndTheBuffer) {
  Canvas c(20, 20);
  Path path;
  path.AddRect(-16000, -16000, 32000, 32000, 0);  // far beyond every side
  Rasterizer r;
  r.Fill(c.buffer, PixelRect{5, 6, 9, 12}, path, kRed, RectF{}, 1);
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      bool inside = x >= 5 && x < 9 && y >= 6 && y < 12;
      EXPECT_EQ(c.at(x, y), inside ? 0xFF0000u : 0u) << x << "," << y;
    }
  }
  // A shape entirely left of the buffer and one right of it change nothing.
  Canvas d(20, 20);
  Path left, right;
  left.AddRect(-50, 0, 10, 20, 0);
  right.AddRect(25, 0, 10, 20, 0);
  r.Fill(d.buffer, d.all(), left, kRed, RectF{}, 1);
  r.Fill(d.buffer, d.all(), right, kRed, RectF{}, 1);
  for (std::uint32_t p : d.pixels) EXPECT_EQ(p, 0u);
  // A shape that starts left of the buffer still covers from column 0.
  Path across;
  across.AddRect(-5.5f, 0, 10, 20, 0);
  r.Fill(d.buffer, d.all(), across, kRed, RectF{}, 1);
  EXPECT_EQ(d.at(0, 10), 0xFF0000u);
  EXPECT_EQ(d.at(3, 10), 0xFF0000u);
  EXPECT_NEAR(d.red(4, 10), 128, 2);
  EXPECT_EQ(d.at(5, 10), 0u);
}

TEST(Raster, MasksBlendTheirCoverage) {
  Canvas c(6, 2);
  std::vector<std::uint8_t> mask = {0, 64, 128, 255, 255, 0, 255, 255, 255, 255, 255, 255};
  Rasterizer::BlendMask(c.buffer, c.all(), 1, 0, 6, 2, mask.data(), Rgba{255, 255, 255, 255}, 1);
  EXPECT_EQ(c.red(0, 0), 0);
  EXPECT_EQ(c.red(1, 0), 0);
  EXPECT_NEAR(c.red(2, 0), 64, 1);
  EXPECT_NEAR(c.red(3, 0), 128, 1);
  EXPECT_EQ(c.red(4, 0), 255);
  Canvas d(6, 1);
  Rasterizer::BlendMask(d.buffer, PixelRect{0, 0, 2, 1}, 0, 0, 6, 1, mask.data() + 6,
                        Rgba{255, 0, 0, 255}, 1);
  EXPECT_EQ(d.at(1, 0), 0xFF0000u);
  EXPECT_EQ(d.at(2, 0), 0u);  // outside the clip
}

}  // namespace
}  // namespace corvane::movie
