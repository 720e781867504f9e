// The splash picture "\KeltSpl.spl": a small vector description of our own
// (docs/splash-format.md) — a size, a corner radius and a list of filled
// rectangles, rounded rectangles, ellipses, rings, arcs, lines and texts
// drawn in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/skin/SkinFile.h"

namespace corvane::shell {

enum class SplashShape { Fill, RoundRect, Ellipse, Ring, Arc, Line, Text };
enum class TextAlign { Left, Center, Right };

struct SplashItem {
  SplashShape shape = SplashShape::Fill;
  int x = 0, y = 0, width = 0, height = 0;  // Line: from x, y to width, height
  int radius = 0;     // RoundRect corners; Line, Ring and Arc: pen width
  skin::Rgb color;
  skin::Rgb color2;   // Fill and RoundRect: the bottom of a vertical gradient
  int size = 0;       // Text: height in pixels
  bool bold = false;  // Text
  TextAlign align = TextAlign::Left;
  std::string text;
  std::string font;   // Text: the face in effect at this item
  // Arc: degrees, 0 at three o'clock, a positive sweep clockwise.
  int start = 0;
  int sweep = 0;
};

struct SplashPicture {
  int width = 0;
  int height = 0;
  int radius = 0;  // the window's rounded corners
  std::vector<SplashItem> items;
};

struct SplashParseResult {
  std::optional<SplashPicture> picture;
  std::string error;
  int line = 0;
};

inline constexpr std::size_t kMaxSplashFileSize = 32 * 1024;
inline constexpr std::size_t kMaxSplashItems = 256;

// Reads a splash file. The first line must be "CorvaneSplash 1", and "size"
// must come before any item; anything malformed refuses the whole file.
SplashParseResult ParseSplash(std::string_view text);

}  // namespace corvane::shell
