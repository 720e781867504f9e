// Draws one frame of a movie into a pixel buffer: the background, then every
// item in order with the opacity, offset and look weights that the playback
// gives it. Texts come from an ITextRasterizer (GDI on Windows, a stand-in in
// tests) as coverage masks, so they fade and slide like every other shape.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/movie/MovieModel.h"
#include "platform/movie/Raster.h"

namespace corvane::movie {

struct TextMask {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;  // width * height, row by row
};

class ITextRasterizer {
 public:
  virtual ~ITextRasterizer() = default;
  // The coverage of text set in font at an em height of pixelSize. The
  // reference stays valid until the next call.
  virtual const TextMask& Render(const FontSpec& font, float pixelSize, const std::string& text) = 0;
};

// Movie pixels to buffer pixels: a uniform scale and an offset. Fit shows the
// whole movie centred in the buffer, as large as it fits.
struct View {
  float scale = 1;
  float offsetX = 0;
  float offsetY = 0;
  static View Fit(const Movie& movie, int width, int height);
  PointF ToBuffer(PointF p) const { return {offsetX + p.x * scale, offsetY + p.y * scale}; }
  PointF ToMovie(PointF p) const {
    return {(p.x - offsetX) / scale, (p.y - offsetY) / scale};
  }
  PixelRect ToBuffer(const RectF& r) const;  // outward to whole pixels
};

// What moves in one frame, from the playback.
struct FrameState {
  std::vector<float> itemOpacity;  // per item, 0..1
  std::vector<float> itemOffsetY;  // per item, movie pixels
  std::vector<std::array<float, kLookCount>> lookWeight;  // per button; [Normal] is 1
  std::vector<float> focus;        // per button, 0..1: the keyboard focus ring
};

// The colour of the surface when there is no movie.
inline constexpr Rgba kEmptySurface{32, 34, 40, 255};

class MovieRenderer {
 public:
  explicit MovieRenderer(ITextRasterizer& text) : text_(text) {}

  void Render(const Movie& movie, const FrameState& frame, const View& view,
              const PixelBuffer& buffer, const PixelRect& clip);
  static void RenderEmpty(const PixelBuffer& buffer, const PixelRect& clip);

 private:
  void DrawShape(const Shape& shape, const View& view, float dy, float opacity,
                 const PixelBuffer& buffer, const PixelRect& clip, const Movie& movie);

  ITextRasterizer& text_;
  Rasterizer raster_;
};

}  // namespace corvane::movie
