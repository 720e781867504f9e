#include "tests/gui/MovieButtons.h"

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/movie/MovieHitTest.h"
#include "platform/movie/MovieReader.h"

namespace corvane::gui {

namespace {

// The movie of that file, read once per test program.
const movie::Movie* MovieOf(const std::string& file) {
  static std::map<std::string, std::optional<movie::Movie>> cache;
  auto found = cache.find(file);
  if (found == cache.end()) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    found = cache.emplace(file, movie::ReadMovie(text.str()).movie).first;
  }
  return found->second ? &*found->second : nullptr;
}

}  // namespace

std::optional<RECT> FindMovieButton(const std::string& movieFile, const std::string& command,
                                    const std::string& screen) {
  const movie::Movie* m = MovieOf(movieFile);
  if (m == nullptr) return std::nullopt;
  auto box = movie::FindButton(*m, screen, command);
  if (!box) return std::nullopt;
  return RECT{static_cast<LONG>(std::ceil(box->x)), static_cast<LONG>(std::ceil(box->y)),
              static_cast<LONG>(std::floor(box->x + box->w)), static_cast<LONG>(std::floor(box->y + box->h))};
}

std::optional<POINT> MovieButtonClickPoint(const std::string& movieFile, const std::string& command,
                                           const std::string& screen) {
  const movie::Movie* m = MovieOf(movieFile);
  if (m == nullptr) return std::nullopt;
  auto point = movie::ButtonClickPoint(*m, screen, command);
  if (!point) return std::nullopt;
  return POINT{static_cast<LONG>(point->x), static_cast<LONG>(point->y)};
}

std::vector<std::string> MovieCommands(const std::string& movieFile) {
  const movie::Movie* m = MovieOf(movieFile);
  return m != nullptr ? movie::Commands(*m) : std::vector<std::string>{};
}

}  // namespace corvane::gui
