// What the movie tests share: a stand-in for GDI text and the program's movie.
#pragma once

#include <cmath>
#include <string>

#include "platform/movie/MovieReader.h"
#include "platform/movie/MovieRenderer.h"

namespace corvane::movie::testing {

// Every text is a solid block, 6 pixels per character and 1.25 em high: the
// renderer's placement and blending can be checked without fonts.
class BlockText final : public ITextRasterizer {
 public:
  const TextMask& Render(const FontSpec&, float pixelSize, const std::string& text) override {
    mask_.width = static_cast<int>(text.size()) * 6;
    mask_.height = static_cast<int>(std::lround(pixelSize * 1.25f));
    if (mask_.height < 1) mask_.height = 1;
    mask_.coverage.assign(static_cast<std::size_t>(mask_.width) * static_cast<std::size_t>(mask_.height), 255);
    ++calls;
    return mask_;
  }
  int calls = 0;

 private:
  TextMask mask_;
};

// The program's movie source, found from this file's place in the tree.
inline std::string ProgramMoviePath() {
  std::string here = __FILE__;
  std::string root = here.substr(0, here.rfind("/tests/platform/movie/"));
  return root + "/assets/movie/speed-up.movie";
}

}  // namespace corvane::movie::testing
