// Reads a movie file (docs/movie-format.md). The reader trusts nothing in the
// file: sizes, counts, nesting, numbers and names are bounded, and anything
// outside them refuses the whole movie with the line and a reason, so that a
// corrupt file leaves the player empty instead of half drawn.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/movie/MovieModel.h"

namespace corvane::movie {

// The bounds a movie must keep.
struct MovieLimits {
  static constexpr std::size_t kMaxFileBytes = 1u << 20;
  static constexpr std::size_t kMaxLineLength = 4096;
  static constexpr std::size_t kMaxShapes = 4096;  // including the buttons' looks
  // What one frame may cost: the shapes' boxes, clipped to the movie and
  // added up over every screen and look, cover at most this many times the
  // movie's area. The program's movie covers about 5.
  static constexpr double kMaxCoverage = 64;
  static constexpr std::size_t kMaxButtons = 512;
  static constexpr std::size_t kMaxFonts = 32;
  static constexpr std::size_t kMaxNames = 512;  // colours and gradients together
  static constexpr std::size_t kMaxStops = 8;
  static constexpr std::size_t kMaxPoints = 128;
  static constexpr std::size_t kMaxTextLength = 256;
  static constexpr std::size_t kMaxTipLength = 80;
  static constexpr std::size_t kMaxNameLength = 64;
  static constexpr int kMaxDepth = 8;
  static constexpr float kMaxCoordinate = 16384;
  static constexpr int kMaxMovieSide = 4096;
  static constexpr int kMaxDurationMs = 5000;
};

struct MovieReadResult {
  std::optional<Movie> movie;
  int line = 0;       // where reading stopped, 1-based; 0 for the whole file
  std::string error;  // empty when the movie was read
};

MovieReadResult ReadMovie(std::string_view text);
// Reads the file at path (no larger than kMaxFileBytes); a file that cannot
// be opened is refused like a bad one.
MovieReadResult ReadMovieFile(const std::string& path);

}  // namespace corvane::movie
