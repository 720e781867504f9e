// The balloon window's shapes and placement, in the window's pixels: the
// rounded body, the four pointer styles, the shadow and its darkening bands,
// and where the window goes for a screen point.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "shell/messages/Image.h"

namespace corvane::shell {

struct PointI {
  int x = 0;
  int y = 0;
  bool operator==(const PointI&) const = default;
};

struct RectI {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const RectI&) const = default;
};

// A rounded rectangle as CreateRoundRectRgn / RoundRect take it.
struct RoundRectShape {
  RectI rect;
  int ellipseWidth = 0;
  int ellipseHeight = 0;
  bool operator==(const RoundRectShape&) const = default;
};

using Triangle = std::array<PointI, 3>;

struct PointerShape {
  Triangle outer;  // painted black; the pointer's region
  Triangle inner;  // painted in the balloon colour
};

// The body's region (20 px above for an upward pointer, 32 below for a
// downward one, 14 on the right for the shadow), and the rounded rectangle
// painted in the balloon colour over it, which leaves a one-pixel dark edge
// on the right and the bottom.
RoundRectShape BodyRegion(int width, int height);
RoundRectShape BodyFill(int width, int height);
inline constexpr Pixel kBodyEdge = MakePixel(70, 70, 70);

// The shadow's region.
RoundRectShape ShadowRegion(int width, int height);

// Pointer styles: 0 none, 1 below right, 2 above right, 3 below left,
// 4 above left. Nothing for style 0 or an unknown style.
std::optional<PointerShape> PointerTriangles(int style, int width, int height);

struct Placement {
  int style = 0;
  int left = 0;  // the window's top-left corner on the screen
  int top = 0;
  bool operator==(const Placement&) const = default;
};

// GetPointerStyle: the quarter of the screen the point lies in decides the
// pointer style and where the window goes, so that the balloon opens towards
// the middle of the screen. X or Y of 0 means the mouse cursor's position; a
// coordinate on the half counts as upper or left.
Placement GetPointerStyle(float X, float Y, PointI cursor, int screenWidth, int screenHeight,
                          int width, int height);

// BlendColor: each of red, green and blue times factor / 256, rounded down.
// The factor is held to 0..255, so an intensity outside its contract cannot
// brighten or wrap a colour.
Pixel BlendColor(Pixel color, int factor);

// n_GetShadowRect's painting: eighteen bands along the bottom and right
// edges, each the screen behind darkened, the innermost (n = 17) to 20/256
// and the outermost (n = 0) to 180/256 of its brightness, plus intensity.
// behind holds the screen under the window's rectangle (same size as
// canvas); canvas receives the bands.
void PaintShadow(const ImageView& behind, const ImageView& canvas, int intensity);
// The factor of band n (0..17) before the intensity is added.
int ShadowBandWeight(int n);

}  // namespace corvane::shell
