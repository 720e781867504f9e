// The skin file "\KeltMask.skn": named skin objects, each a few colours and
// a font, that the skin component paints windows with. The text format is
// described in docs/skin-format.md.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::skin {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// One skin object ("Main", "Button", ...). What a file leaves out keeps the
// default below, so a short object still paints sensibly.
struct SkinObject {
  std::string name;
  Rgb face{32, 40, 56};          // background, or the top of a gradient
  Rgb face2{32, 40, 56};         // the bottom of the gradient (= face: flat)
  Rgb text{230, 236, 245};
  Rgb border{70, 84, 110};
  Rgb accent{64, 196, 255};      // check marks, group captions, focus
  Rgb hover{48, 60, 84};         // buttons under the mouse (top)
  Rgb hover2{40, 50, 70};
  Rgb pressed{22, 28, 40};       // buttons held down (top)
  Rgb pressed2{28, 36, 52};
  Rgb disabledText{120, 130, 148};
  int radius = 0;                // corner radius in pixels, 0..32
  std::string font = "Tahoma";   // at most 31 characters
  int fontSize = 8;              // points, 6..36
  bool bold = false;
};

struct SkinFile {
  std::vector<SkinObject> objects;
  // The object of that name (compared exactly), or nullptr.
  const SkinObject* Find(std::string_view name) const;
};

struct SkinParseResult {
  std::optional<SkinFile> skin;
  std::string error;  // empty when skin holds a value
  int line = 0;       // the line the error is on, 1-based
};

// The reader refuses a file larger than this outright.
inline constexpr std::size_t kMaxSkinFileSize = 64 * 1024;
inline constexpr std::size_t kMaxSkinObjects = 64;

// Reads a skin file's text. Refuses the whole file, with a message, when
// its first line is not the header, a line is neither a section, a setting,
// a comment nor blank, a value is malformed or out of range, an object is
// named twice, or the file is too large. Unknown setting names are skipped
// so that a newer skin still loads.
SkinParseResult ParseSkin(std::string_view text);

// "#RRGGBB" (case-insensitive hex digits).
std::optional<Rgb> ParseColor(std::string_view text);

}  // namespace corvane::skin
