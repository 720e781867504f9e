// A small anti-aliased rasterizer for the movie: paths of straight edges
// (curves are flattened when they are added), filled with exact area coverage
// into a 32-bit pixel buffer, with solid or gradient paint and opacity. It is
// what makes the movie's edges smooth on every Windows version, without
// msimg32 (missing on Windows 95) and without GDI+.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/movie/MovieModel.h"

namespace corvane::movie {

// Pixels are 0x00RRGGBB, rows top down: the layout of a 32-bit BI_RGB DIB.
struct PixelBuffer {
  std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // pixels per row
  std::uint32_t& at(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(stride) +
                  static_cast<std::size_t>(x)];
  }
};

// A pixel rectangle, half open: [x0, x1) x [y0, y1).
struct PixelRect {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool empty() const { return x1 <= x0 || y1 <= y0; }
  PixelRect Intersect(const PixelRect& o) const;
  PixelRect Union(const PixelRect& o) const;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

inline std::uint32_t PackRgb(Rgba c) {
  return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | std::uint32_t{c.b};
}
inline Rgba UnpackRgb(std::uint32_t p) {
  return Rgba{static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
              static_cast<std::uint8_t>(p), 255};
}

// Closed contours. Filled areas are kept counter-clockwise-in-area-sign
// (positive) and holes negative whatever order the points were given in, so
// that overlapping pieces of one shape add up instead of cancelling.
class Path {
 public:
  void AddPolygon(const std::vector<PointF>& points, bool hole = false);
  void AddRect(float x, float y, float w, float h, float radius, bool hole = false);
  void AddEllipse(float cx, float cy, float rx, float ry, bool hole = false);
  // Strokes become filled outlines.
  void AddLine(PointF a, PointF b, float width, LineCap cap);
  void AddPolyline(const std::vector<PointF>& points, float width, LineCap cap, bool closed);
  void AddArc(float cx, float cy, float r, float startDegrees, float sweepDegrees, float width,
              LineCap cap);
  // The outline of a (rounded) rectangle: the band between the outer edge
  // and the edge inset by width.
  void AddRectOutline(float x, float y, float w, float h, float radius, float width);
  void AddEllipseOutline(float cx, float cy, float rx, float ry, float width);

  const std::vector<std::vector<PointF>>& contours() const { return contours_; }
  bool empty() const { return contours_.empty(); }
  // Bounds of every point, in whole pixels (outward).
  PixelRect Bounds() const;

 private:
  std::vector<std::vector<PointF>> contours_;
};

// Points of an arc from start to start + sweep (degrees, clockwise on the
// screen), enough that no chord strays more than a tenth of a pixel.
void AppendArcPoints(std::vector<PointF>& out, float cx, float cy, float rx, float ry,
                     float startDegrees, float sweepDegrees);

class Rasterizer {
 public:
  // Fills the path into the buffer, inside clip. Gradient geometry is taken
  // relative to paintBox (buffer pixels).
  void Fill(const PixelBuffer& buffer, const PixelRect& clip, const Path& path, const Paint& paint,
            const RectF& paintBox, float opacity);
  // Blends one colour through a coverage mask (0..255 per pixel), placed with
  // its top left corner at x, y.
  static void BlendMask(const PixelBuffer& buffer, const PixelRect& clip, int x, int y, int width,
                        int height, const std::uint8_t* mask, Rgba color, float opacity);
  // Paints every pixel inside clip.
  static void Clear(const PixelBuffer& buffer, const PixelRect& clip, Rgba color);

 private:
  std::vector<float> row_;
  std::vector<std::uint32_t> lut_;
};

}  // namespace corvane::movie
