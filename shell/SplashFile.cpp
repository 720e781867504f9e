#include "shell/SplashFile.h"

#include <charconv>

namespace corvane::shell {

namespace {

// Splits a line into words; a word in double quotes may hold spaces.
bool SplitWords(std::string_view line, std::vector<std::string>& words) {
  words.clear();
  std::size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
      continue;
    }
    if (c == '"') {
      std::size_t end = line.find('"', i + 1);
      if (end == std::string_view::npos) return false;
      words.emplace_back(line.substr(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    std::size_t end = i;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') ++end;
    words.emplace_back(line.substr(i, end - i));
    i = end;
  }
  return true;
}

std::optional<int> Int(const std::string& word, int low, int high) {
  int value = 0;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (ec != std::errc() || end != word.data() + word.size() || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

constexpr int kCoordLimit = 4096;

}  // namespace

SplashParseResult ParseSplash(std::string_view text) {
  SplashParseResult result;
  auto fail = [&](int line, std::string message) {
    result.picture.reset();
    result.error = std::move(message);
    result.line = line;
    return result;
  };
  if (text.size() > kMaxSplashFileSize) return fail(0, "the splash file is larger than 32 KiB");

  SplashPicture picture;
  std::string font = "Tahoma";
  bool header = false;
  bool sized = false;
  int lineNumber = 0;
  std::vector<std::string> w;
  std::size_t pos = 0;
  while (pos < text.size()) {
    ++lineNumber;
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!SplitWords(line, w)) return fail(lineNumber, "a text is missing its closing quote");
    if (w.empty() || w[0][0] == ';') continue;
    if (!header) {
      if (w.size() != 2 || w[0] != "CorvaneSplash" || w[1] != "1") {
        return fail(lineNumber, "not a splash file: the first line must be \"CorvaneSplash 1\"");
      }
      header = true;
      continue;
    }
    const std::string& cmd = w[0];
    auto coord = [&](std::size_t i) { return i < w.size() ? Int(w[i], -kCoordLimit, kCoordLimit) : std::nullopt; };
    auto color = [&](std::size_t i) { return i < w.size() ? skin::ParseColor(w[i]) : std::nullopt; };
    auto bad = [&] { return fail(lineNumber, "malformed \"" + cmd + "\" line"); };

    if (cmd == "size") {
      auto width = w.size() == 3 ? Int(w[1], 16, 1024) : std::nullopt;
      auto height = w.size() == 3 ? Int(w[2], 16, 1024) : std::nullopt;
      if (!width || !height || sized) return bad();
      picture.width = *width;
      picture.height = *height;
      sized = true;
      continue;
    }
    if (!sized) return fail(lineNumber, "\"size\" must come before anything is drawn");
    if (cmd == "radius") {
      auto r = w.size() == 2 ? Int(w[1], 0, 128) : std::nullopt;
      if (!r) return bad();
      picture.radius = *r;
      continue;
    }
    if (cmd == "font") {
      if (w.size() != 2 || w[1].empty() || w[1].size() > 31) return bad();
      font = w[1];
      continue;
    }
    if (picture.items.size() >= kMaxSplashItems) return fail(lineNumber, "more than 256 items");
    SplashItem item;
    if (cmd == "fill" || cmd == "roundrect" || cmd == "ellipse" || cmd == "ring") {
      // fill x y w h #c [#c2] | roundrect x y w h r #c [#c2] | ellipse x y w h #c | ring x y w h pen #c
      bool hasRadius = cmd == "roundrect" || cmd == "ring";
      std::size_t colorAt = hasRadius ? 6 : 5;
      bool gradient = cmd == "fill" || cmd == "roundrect";
      if (w.size() != colorAt + 1 && !(gradient && w.size() == colorAt + 2)) return bad();
      auto x = coord(1), y = coord(2), wd = coord(3), ht = coord(4);
      auto c = color(colorAt);
      if (!x || !y || !wd || !ht || !c || *wd < 0 || *ht < 0) return bad();
      item.shape = cmd == "fill"        ? SplashShape::Fill
                   : cmd == "roundrect" ? SplashShape::RoundRect
                   : cmd == "ellipse"   ? SplashShape::Ellipse
                                        : SplashShape::Ring;
      item.x = *x;
      item.y = *y;
      item.width = *wd;
      item.height = *ht;
      if (hasRadius) {
        auto r = Int(w[5], 0, 512);
        if (!r) return bad();
        item.radius = *r;
      }
      item.color = *c;
      item.color2 = *c;
      if (w.size() == colorAt + 2) {
        auto c2 = color(colorAt + 1);
        if (!c2) return bad();
        item.color2 = *c2;
      }
    } else if (cmd == "arc") {
      // arc x y w h start sweep pen #c: part of the ellipse in that box
      if (w.size() != 9) return bad();
      auto x = coord(1), y = coord(2), wd = coord(3), ht = coord(4);
      auto start = Int(w[5], -360, 360), sweep = Int(w[6], -360, 360);
      auto pen = Int(w[7], 1, 64);
      auto c = color(8);
      if (!x || !y || !wd || !ht || !start || !sweep || !pen || !c || *wd < 0 || *ht < 0) return bad();
      item.shape = SplashShape::Arc;
      item.x = *x;
      item.y = *y;
      item.width = *wd;
      item.height = *ht;
      item.start = *start;
      item.sweep = *sweep;
      item.radius = *pen;
      item.color = *c;
      item.color2 = *c;
    } else if (cmd == "line") {
      // line x1 y1 x2 y2 pen #c
      if (w.size() != 7) return bad();
      auto x1 = coord(1), y1 = coord(2), x2 = coord(3), y2 = coord(4);
      auto pen = Int(w[5], 1, 64);
      auto c = color(6);
      if (!x1 || !y1 || !x2 || !y2 || !pen || !c) return bad();
      item = SplashItem{SplashShape::Line, *x1, *y1, *x2, *y2, *pen, *c, *c, 0, false, TextAlign::Left, {}, {}};
    } else if (cmd == "text") {
      // text x y size normal|bold left|center|right #c "text"
      if (w.size() != 8) return bad();
      auto x = coord(1), y = coord(2);
      auto size = Int(w[3], 6, 200);
      auto c = color(6);
      if (!x || !y || !size || !c || (w[4] != "normal" && w[4] != "bold")) return bad();
      if (w[5] != "left" && w[5] != "center" && w[5] != "right") return bad();
      if (w[7].size() > 200) return bad();
      item.shape = SplashShape::Text;
      item.x = *x;
      item.y = *y;
      item.size = *size;
      item.bold = w[4] == "bold";
      item.align = w[5] == "left" ? TextAlign::Left : w[5] == "center" ? TextAlign::Center : TextAlign::Right;
      item.color = *c;
      item.color2 = *c;
      item.text = w[7];
      item.font = font;
    } else {
      return fail(lineNumber, "unknown drawing command \"" + cmd + "\"");
    }
    picture.items.push_back(std::move(item));
  }
  if (!header) return fail(lineNumber, "not a splash file: the first line must be \"CorvaneSplash 1\"");
  if (!sized) return fail(lineNumber, "the splash file gives no size");
  result.picture = std::move(picture);
  return result;
}

}  // namespace corvane::shell
