#include "shell/messages/BalloonGeometry.h"

#include <cmath>

namespace corvane::shell {

RoundRectShape BodyRegion(int width, int height) {
  return {{0, 20, width - 14, height - 32}, 20, 20};
}

RoundRectShape BodyFill(int width, int height) {
  return {{0, 20, width - 15, height - 33}, 24, 24};
}

RoundRectShape ShadowRegion(int width, int height) {
  return {{11, 29, width - 5, height - 23}, 45, 35};
}

std::optional<PointerShape> PointerTriangles(int style, int W, int H) {
  switch (style) {
    case 1:
      return PointerShape{{{{W - 61, H - 34}, {W - 36, H - 34}, {W - 36, H - 9}}},
                          {{{W - 62, H - 35}, {W - 37, H - 35}, {W - 37, H - 11}}}};
    case 2:
      return PointerShape{{{{W - 58, 20}, {W - 38, 20}, {W - 38, 0}}},
                          {{{W - 59, 22}, {W - 39, 22}, {W - 39, 2}}}};
    case 3:
      return PointerShape{{{{41, H - 34}, {66, H - 34}, {41, H - 9}}},
                          {{{42, H - 35}, {66, H - 35}, {42, H - 11}}}};
    case 4:
      return PointerShape{{{{40, 20}, {60, 20}, {40, 0}}}, {{{41, 21}, {59, 21}, {41, 3}}}};
    default:
      return std::nullopt;
  }
}

Placement GetPointerStyle(float X, float Y, PointI cursor, int screenWidth, int screenHeight,
                          int width, int height) {
  if (X == 0.0f || Y == 0.0f) {
    X = static_cast<float>(cursor.x);
    Y = static_cast<float>(cursor.y);
  }
  bool left = X <= static_cast<float>(screenWidth) / 2.0f;
  bool upper = Y <= static_cast<float>(screenHeight) / 2.0f;
  int x = static_cast<int>(std::lround(X));
  int y = static_cast<int>(std::lround(Y));
  if (upper && left) return {4, x - 42, y};
  if (upper) return {2, x + 42 - width, y};
  if (left) return {3, x - 42, y - height};
  return {1, x + 42 - width, y - height};
}

Pixel BlendColor(Pixel color, int factor) {
  if (factor < 0) factor = 0;
  if (factor > 255) factor = 255;
  auto f = static_cast<unsigned>(factor);
  return MakePixel(static_cast<std::uint8_t>(RedOf(color) * f / 256u),
                   static_cast<std::uint8_t>(GreenOf(color) * f / 256u),
                   static_cast<std::uint8_t>(BlueOf(color) * f / 256u));
}

int ShadowBandWeight(int n) {
  // w grows by 20 at each odd n while n runs from 17 down to 0.
  int w = 0;
  for (int k = 17; k >= n; --k) {
    if (k % 2 == 1) w += 20;
  }
  return w;
}

void PaintShadow(const ImageView& behind, const ImageView& canvas, int intensity) {
  const int W = canvas.width;
  const int H = canvas.height;
  int w = 0;
  for (int n = 17; n >= 0; --n) {
    if (n % 2 == 1) w += 20;
    const int factor = w + intensity;
    const int row = H - 23 - n;
    for (int x = n + 5; x <= W - 5 - n; ++x) {
      if (behind.Contains(x, row)) canvas.Set(x, row, BlendColor(behind.At(x, row), factor));
    }
    const int column = W - 5 - n;
    for (int y = n + 23; y <= H - 23 - n; ++y) {
      if (behind.Contains(column, y)) canvas.Set(column, y, BlendColor(behind.At(column, y), factor));
    }
  }
}

}  // namespace corvane::shell
