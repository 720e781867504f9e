// Fuzz target: any bytes given to the reader are refused or read; a movie
// that is read can be played and drawn without harm.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/movie/MoviePlayback.h"
#include "platform/movie/MovieReader.h"
#include "platform/movie/MovieRenderer.h"
#include "tests/platform/movie/MovieTestSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane::movie;
  auto result = ReadMovie(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!result.movie) {
    if (result.error.empty()) __builtin_trap();
    return 0;
  }
  const Movie& movie = *result.movie;
  MoviePlayback playback(movie);
  playback.Start(0);
  playback.PointerMove({20, 20}, 5);
  playback.PointerDown({20, 20}, 10);
  playback.PointerUp({20, 20}, 20);
  playback.KeyPress(Key::Tab, 30);
  playback.KeyPress(Key::Enter, 40);
  playback.SetVariable("_root.home", "true", 50);
  (void)playback.TakeDirty(60);
  // A small picture keeps each run quick whatever sizes the movie names.
  std::vector<std::uint32_t> pixels(64 * 40, 0);
  PixelBuffer buffer{pixels.data(), 64, 40, 64};
  corvane::movie::testing::BlockText text;
  MovieRenderer renderer(text);
  renderer.Render(movie, playback.FrameAt(100), View::Fit(movie, 64, 40), buffer,
                  PixelRect{0, 0, 64, 40});
  return 0;
}
