// Texts of the movie set with GDI: each text is drawn white on black into a
// small DIB with ANTIALIASED_QUALITY and its brightness kept as coverage, so
// that the portable renderer can blend, fade and slide it like any shape.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "platform/movie/MovieRenderer.h"
#include "platform/win32/Handle.h"

namespace corvane::win32 {

class GdiTextRasterizer final : public movie::ITextRasterizer {
 public:
  GdiTextRasterizer();
  const movie::TextMask& Render(const movie::FontSpec& font, float pixelSize,
                                const std::string& text) override;

  // The first face of a comma-separated list that is installed, else the last.
  static std::string ChooseFace(const std::string& faces);

 private:
  HFONT FontFor(const movie::FontSpec& font, int height);

  UniqueHdc dc_;
  std::map<std::string, std::string> faces_;
  std::map<std::string, UniqueHfont> fonts_;
  std::map<std::string, movie::TextMask> masks_;
  movie::TextMask empty_;
};

}  // namespace corvane::win32
