// A plain 32-bit picture for the balloon window's pixel work (the shadow,
// the icon strip): pixels 0x00RRGGBB, rows top-down, which is also the
// memory layout of a 32-bit top-down DIB section.
#pragma once

#include <cstdint>
#include <vector>

namespace corvane::shell {

using Pixel = std::uint32_t;  // 0x00RRGGBB

constexpr Pixel MakePixel(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return (static_cast<Pixel>(r) << 16) | (static_cast<Pixel>(g) << 8) | b;
}
constexpr std::uint8_t RedOf(Pixel p) { return static_cast<std::uint8_t>((p >> 16) & 0xFF); }
constexpr std::uint8_t GreenOf(Pixel p) { return static_cast<std::uint8_t>((p >> 8) & 0xFF); }
constexpr std::uint8_t BlueOf(Pixel p) { return static_cast<std::uint8_t>(p & 0xFF); }

// Colours as the program's callers give them (the RGB() convention,
// 0x00BBGGRR) and as pixels.
constexpr std::uint32_t Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
         (static_cast<std::uint32_t>(b) << 16);
}
constexpr Pixel PixelFromRgb(std::uint32_t rgb) {
  return MakePixel(static_cast<std::uint8_t>(rgb & 0xFF), static_cast<std::uint8_t>((rgb >> 8) & 0xFF),
                   static_cast<std::uint8_t>((rgb >> 16) & 0xFF));
}

// A view of pixels owned elsewhere (a DIB section) or by an Image.
struct ImageView {
  Pixel* pixels = nullptr;
  int width = 0;
  int height = 0;

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  Pixel At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
  }
  void Set(int x, int y, Pixel p) const {
    if (Contains(x, y)) {
      pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] = p;
    }
  }
};

class Image {
 public:
  Image() = default;
  Image(int width, int height, Pixel fill = 0)
      : width_(width), height_(height),
        pixels_(static_cast<std::size_t>(width > 0 ? width : 0) * static_cast<std::size_t>(height > 0 ? height : 0), fill) {}

  int width() const { return width_; }
  int height() const { return height_; }
  ImageView view() { return {pixels_.data(), width_, height_}; }
  Pixel At(int x, int y) const {
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
  }
  void Set(int x, int y, Pixel p) { view().Set(x, y, p); }
  const std::vector<Pixel>& pixels() const { return pixels_; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

}  // namespace corvane::shell
