#include "platform/movie/MovieReader.h"

#include "platform/FileBytes.h"
#include "platform/Text.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace corvane::movie {

namespace {

using L = MovieLimits;

// One word of a statement: a positional value, or key=value.
struct Token {
  std::string key;
  std::string value;
};

struct Failure {
  std::string reason;
  int line = -1;  // -1: the line being read
};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// Reads a quoted string starting at text[i] == '"'; i ends after the closing
// quote. Escapes: \" \\ \n.
std::string ReadQuoted(std::string_view text, std::size_t& i) {
  std::string out;
  ++i;
  while (i < text.size()) {
    char c = text[i++];
    if (c == '"') return out;
    if (c == '\\') {
      if (i >= text.size()) break;
      char e = text[i++];
      if (e == 'n') {
        out.push_back('\n');
      } else if (e == '"' || e == '\\') {
        out.push_back(e);
      } else {
        throw Failure{"unknown escape in a quoted text"};
      }
    } else {
      out.push_back(c);
    }
    if (out.size() > L::kMaxTextLength) throw Failure{"text too long"};
  }
  throw Failure{"quoted text not closed"};
}

std::vector<Token> Tokenize(std::string_view line) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    if (IsSpace(line[i])) {
      ++i;
      continue;
    }
    Token token;
    if (line[i] == '"') {
      token.value = ReadQuoted(line, i);
    } else {
      std::size_t start = i;
      while (i < line.size() && !IsSpace(line[i]) && line[i] != '=' && line[i] != '"') ++i;
      std::string word(line.substr(start, i - start));
      if (i < line.size() && line[i] == '=') {
        ++i;
        token.key = word;
        if (token.key.empty()) throw Failure{"a value without a name"};
        if (i < line.size() && line[i] == '"') {
          token.value = ReadQuoted(line, i);
        } else {
          start = i;
          while (i < line.size() && !IsSpace(line[i]) && line[i] != '"') ++i;
          token.value = std::string(line.substr(start, i - start));
        }
      } else if (i < line.size() && line[i] == '"') {
        throw Failure{"a quote inside a word"};
      } else {
        token.value = word;
      }
    }
    if (i < line.size() && !IsSpace(line[i])) throw Failure{"words must be separated by spaces"};
    tokens.push_back(std::move(token));
    if (tokens.size() > 2 * L::kMaxPoints + 32) throw Failure{"too many words on a line"};
  }
  return tokens;
}

float ParseNumber(const std::string& text, float low = -L::kMaxCoordinate,
                  float high = L::kMaxCoordinate) {
  // from_chars for float is not in every library this builds with; strtod
  // after a strict character check is.
  if (text.empty() || text.size() > 24) throw Failure{"bad number \"" + text.substr(0, 24) + "\""};
  bool digit = false;
  for (std::size_t k = 0; k < text.size(); ++k) {
    char c = text[k];
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (!((c == '-' || c == '+') && k == 0) && c != '.') {
      throw Failure{"bad number \"" + text + "\""};
    }
  }
  if (!digit) throw Failure{"bad number \"" + text + "\""};
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(value)) {
    throw Failure{"bad number \"" + text + "\""};
  }
  if (value < low || value > high) throw Failure{"number out of range: " + text};
  return static_cast<float>(value);
}

int ParseInt(const std::string& text, int low, int high) {
  std::optional<int> value = WholeNumber(text);
  if (!value) throw Failure{"bad whole number \"" + text.substr(0, 24) + "\""};
  if (*value < low || *value > high) throw Failure{"number out of range: " + text};
  return *value;
}

std::optional<Rgba> ParseHexColor(const std::string& text) {
  if (text.empty() || text[0] != '#' || (text.size() != 7 && text.size() != 9)) return std::nullopt;
  std::uint8_t parts[4] = {0, 0, 0, 255};
  for (std::size_t k = 0; k + 1 < text.size(); k += 2) {
    int hi = HexDigit(text[k + 1]);
    int lo = HexDigit(text[k + 2]);
    if (hi < 0 || lo < 0) return std::nullopt;
    parts[k / 2] = static_cast<std::uint8_t>(hi * 16 + lo);
  }
  return Rgba{parts[0], parts[1], parts[2], parts[3]};
}

void CheckName(const std::string& name) {
  if (name.empty() || name.size() > L::kMaxNameLength) throw Failure{"bad name"};
  for (char c : name) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '-' || c == '_' || c == '.';
    if (!ok) throw Failure{"bad name \"" + name + "\""};
  }
}

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t comma = text.find(',', start);
    parts.push_back(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return parts;
}

// The area of a shape's box inside the movie, for the drawing budget. A
// text's width is not known before it is set, so it is taken generously.
double ClippedArea(const Shape& shape, int width, int height) {
  float x0, y0, x1, y1;
  float m = shape.strokeWidth;
  switch (shape.kind) {
    case ShapeKind::Rect:
    case ShapeKind::Ellipse:
      x0 = shape.box.x, y0 = shape.box.y, x1 = x0 + shape.box.w, y1 = y0 + shape.box.h;
      break;
    case ShapeKind::Arc: {
      float r = shape.box.w + m;
      x0 = shape.box.x - r, y0 = shape.box.y - r, x1 = shape.box.x + r, y1 = shape.box.y + r;
      break;
    }
    case ShapeKind::Text:
      x0 = shape.box.x, y0 = shape.box.y;
      x1 = x0 + std::max(shape.box.w, static_cast<float>(shape.text.size()) * 40);
      y1 = y0 + 250;
      break;
    default:
      x0 = y0 = 1e9f, x1 = y1 = -1e9f;
      for (const PointF& p : shape.points) {
        x0 = std::min(x0, p.x - m), y0 = std::min(y0, p.y - m);
        x1 = std::max(x1, p.x + m), y1 = std::max(y1, p.y + m);
      }
      break;
  }
  auto w = static_cast<float>(width);
  auto h = static_cast<float>(height);
  double cw = std::max(0.0f, std::min(x1, w) - std::max(x0, 0.0f));
  double ch = std::max(0.0f, std::min(y1, h) - std::max(y0, 0.0f));
  return cw * ch;
}

enum class BlockKind { On, Group, Button, Look };

struct Block {
  BlockKind kind;
  float dx = 0, dy = 0;          // offset of everything inside, cumulative
  std::uint64_t screenMask = 0;  // cumulative
  int button = -1;
  Look look = Look::Normal;
  int line = 0;  // where the block opens
};

class Reader {
 public:
  Movie Run(std::string_view text, int& lineNumber) {
    std::size_t pos = 0;
    bool header = false;
    while (pos <= text.size()) {
      std::size_t eol = text.find('\n', pos);
      std::string_view line = text.substr(pos, eol == std::string_view::npos ? std::string_view::npos
                                                                             : eol - pos);
      ++lineNumber;
      line_ = lineNumber;
      if (line.size() > L::kMaxLineLength) throw Failure{"line too long"};
      for (char c : line) {
        if (c == '\0') throw Failure{"a zero byte in the file"};
      }
      std::vector<Token> tokens = IsComment(line) ? std::vector<Token>{} : Tokenize(line);
      if (!tokens.empty()) {
        if (!header) {
          if (tokens.size() != 2 || tokens[0].value != "corvane-movie" || tokens[1].value != "1") {
            throw Failure{"not a movie file of version 1"};
          }
          header = true;
        } else {
          Statement(tokens);
        }
      }
      if (eol == std::string_view::npos) break;
      pos = eol + 1;
    }
    if (!header) throw Failure{"not a movie file of version 1", 0};
    if (!stack_.empty()) throw Failure{"a block is not closed with end", stack_.back().line};
    if (movie_.screens.empty()) throw Failure{"no screens", 0};
    double area = 0;
    for (const Shape& shape : movie_.shapes) area += ClippedArea(shape, movie_.width, movie_.height);
    for (const Button& button : movie_.buttons) {
      for (const auto& look : button.looks) {
        for (const Shape& shape : look) area += ClippedArea(shape, movie_.width, movie_.height);
      }
    }
    if (area > L::kMaxCoverage * movie_.width * movie_.height) {
      throw Failure{"the shapes cover more than 64 times the movie's area", 0};
    }
    lineNumber = 0;
    return std::move(movie_);
  }

 private:
  static bool IsComment(std::string_view line) {
    for (char c : line) {
      if (!IsSpace(c)) return c == '#';
    }
    return false;
  }

  std::uint64_t AllScreens() const {
    std::size_t n = movie_.screens.size();
    return n >= 64 ? ~std::uint64_t{0} : ((std::uint64_t{1} << n) - 1);
  }

  void Statement(const std::vector<Token>& tokens) {
    if (!tokens[0].key.empty()) throw Failure{"a statement must start with a word"};
    const std::string& word = tokens[0].value;
    positional_.clear();
    named_.clear();
    for (std::size_t k = 1; k < tokens.size(); ++k) {
      if (tokens[k].key.empty()) {
        positional_.push_back(tokens[k].value);
      } else {
        if (!named_.emplace(tokens[k].key, tokens[k].value).second) {
          throw Failure{"\"" + tokens[k].key + "\" given twice"};
        }
      }
    }
    used_.clear();

    if (word == "end") {
      Expect(0);
      if (stack_.empty()) throw Failure{"end without a block"};
      stack_.pop_back();
    } else if (word == "size") {
      Global();
      Expect(2);
      movie_.width = ParseInt(positional_[0], 1, L::kMaxMovieSide);
      movie_.height = ParseInt(positional_[1], 1, L::kMaxMovieSide);
    } else if (word == "background") {
      Global();
      Expect(1);
      movie_.background = ResolvePaint(positional_[0]);
    } else if (word == "color") {
      Global();
      Expect(2);
      auto color = ParseHexColor(positional_[1]);
      if (!color) throw Failure{"bad colour \"" + positional_[1] + "\""};
      DefineName(positional_[0]);
      colors_[positional_[0]] = *color;
      if (positional_[0] == "focus") movie_.focusColor = *color;
    } else if (word == "gradient") {
      Global();
      Gradient();
    } else if (word == "font") {
      Global();
      Font();
    } else if (word == "timing") {
      Global();
      Expect(0);
      movie_.hoverMs = IntOption("hover", movie_.hoverMs, 0, L::kMaxDurationMs);
      movie_.pressMs = IntOption("press", movie_.pressMs, 0, L::kMaxDurationMs);
      movie_.transitionMs = IntOption("transition", movie_.transitionMs, 0, L::kMaxDurationMs);
    } else if (word == "screens") {
      Global();
      if (!movie_.screens.empty()) throw Failure{"screens declared twice"};
      if (positional_.empty()) throw Failure{"no screens"};
      if (positional_.size() > static_cast<std::size_t>(kMaxScreens)) throw Failure{"too many screens"};
      for (const std::string& name : positional_) {
        CheckName(name);
        if (movie_.ScreenIndex(name) >= 0) throw Failure{"screen \"" + name + "\" declared twice"};
        movie_.screens.push_back(name);
      }
    } else if (word == "on") {
      Expect(1);
      if (!stack_.empty()) throw Failure{"on is only allowed outside every block"};
      Block block{BlockKind::On};
      block.screenMask = ScreenList(positional_[0]);
      Push(block);
    } else if (word == "group") {
      Expect(2);
      Block block = Current();
      block.kind = BlockKind::Group;
      block.dx += ParseNumber(positional_[0]);
      block.dy += ParseNumber(positional_[1]);
      Push(block);
    } else if (word == "button") {
      ButtonStatement();
    } else if (word == "normal" || word == "hover" || word == "pressed" || word == "active") {
      Expect(0);
      if (stack_.empty() || stack_.back().kind != BlockKind::Button) {
        throw Failure{word + " is only allowed directly inside a button"};
      }
      Block block = stack_.back();
      block.kind = BlockKind::Look;
      block.look = word == "normal"    ? Look::Normal
                   : word == "hover"   ? Look::Hover
                   : word == "pressed" ? Look::Pressed
                                       : Look::Active;
      Push(block);
    } else if (word == "rect" || word == "ellipse" || word == "circle" || word == "line" ||
               word == "polyline" || word == "polygon" || word == "arc" || word == "text") {
      AddShape(ShapeStatement(word));
    } else {
      throw Failure{"unknown statement \"" + word.substr(0, 32) + "\""};
    }
    for (const auto& [key, value] : named_) {
      if (!used_.contains(key)) throw Failure{"unknown option \"" + key + "\" for " + word};
    }
  }

  void Global() {
    if (!stack_.empty()) throw Failure{"only allowed outside every block"};
    if (!movie_.shapes.empty() || !movie_.buttons.empty()) {
      throw Failure{"definitions must come before the first shape"};
    }
  }

  void Expect(std::size_t n) {
    if (positional_.size() != n) throw Failure{"wrong number of values"};
  }

  void Push(Block block) {
    if (static_cast<int>(stack_.size()) >= L::kMaxDepth) throw Failure{"blocks nested too deep"};
    block.line = line_;
    stack_.push_back(block);
  }

  Block Current() const {
    if (stack_.empty()) {
      Block top{BlockKind::Group};
      top.screenMask = AllScreens();
      return top;
    }
    return stack_.back();
  }

  bool InLookOrButton() const {
    for (const Block& b : stack_) {
      if (b.kind == BlockKind::Button || b.kind == BlockKind::Look) return true;
    }
    return false;
  }

  void DefineName(const std::string& name) {
    CheckName(name);
    if (colors_.contains(name) || gradients_.contains(name) || fontNames_.contains(name)) {
      throw Failure{"\"" + name + "\" defined twice"};
    }
    if (colors_.size() + gradients_.size() >= L::kMaxNames) throw Failure{"too many names"};
  }

  std::optional<std::string> Option(const std::string& key) {
    auto it = named_.find(key);
    if (it == named_.end()) return std::nullopt;
    used_[key] = true;
    return it->second;
  }

  float NumberOption(const std::string& key, float fallback, float low, float high) {
    auto text = Option(key);
    return text ? ParseNumber(*text, low, high) : fallback;
  }

  int IntOption(const std::string& key, int fallback, int low, int high) {
    auto text = Option(key);
    return text ? ParseInt(*text, low, high) : fallback;
  }

  Rgba ResolveColor(const std::string& text) {
    if (auto hex = ParseHexColor(text)) return *hex;
    auto it = colors_.find(text);
    if (it == colors_.end()) throw Failure{"unknown colour \"" + text.substr(0, 32) + "\""};
    return it->second;
  }

  Paint ResolvePaint(const std::string& text) {
    if (text == "none") return Paint{};
    auto it = gradients_.find(text);
    if (it != gradients_.end()) return it->second;
    return Paint::Solid(ResolveColor(text));
  }

  std::uint64_t ScreenList(const std::string& text) {
    if (movie_.screens.empty()) throw Failure{"screens must be declared first"};
    std::uint64_t mask = 0;
    for (const std::string& name : SplitCommas(text)) {
      int index = movie_.ScreenIndex(name);
      if (index < 0) throw Failure{"unknown screen \"" + name.substr(0, 32) + "\""};
      mask |= std::uint64_t{1} << index;
    }
    return mask;
  }

  void Gradient() {
    // gradient NAME linear X0 Y0 X1 Y1 STOP...   |   gradient NAME radial CX CY R STOP...
    if (positional_.size() < 2) throw Failure{"wrong number of values"};
    DefineName(positional_[0]);
    Paint paint;
    std::size_t first;
    if (positional_[1] == "linear") {
      if (positional_.size() < 6) throw Failure{"wrong number of values"};
      paint.kind = PaintKind::Linear;
      paint.x0 = ParseNumber(positional_[2], -4, 4);
      paint.y0 = ParseNumber(positional_[3], -4, 4);
      paint.x1 = ParseNumber(positional_[4], -4, 4);
      paint.y1 = ParseNumber(positional_[5], -4, 4);
      first = 6;
    } else if (positional_[1] == "radial") {
      if (positional_.size() < 5) throw Failure{"wrong number of values"};
      paint.kind = PaintKind::Radial;
      paint.x0 = ParseNumber(positional_[2], -4, 4);
      paint.y0 = ParseNumber(positional_[3], -4, 4);
      paint.x1 = ParseNumber(positional_[4], 0.001f, 8);
      first = 5;
    } else {
      throw Failure{"a gradient is linear or radial"};
    }
    std::size_t count = positional_.size() - first;
    if (count < 2 || count > L::kMaxStops) throw Failure{"a gradient has 2 to 8 stops"};
    float last = 0;
    for (std::size_t k = first; k < positional_.size(); ++k) {
      const std::string& stop = positional_[k];
      std::size_t colon = stop.find(':');
      if (colon == std::string::npos) throw Failure{"a stop is OFFSET:COLOUR"};
      GradientStop s;
      s.offset = ParseNumber(stop.substr(0, colon), 0, 1);
      s.color = ResolveColor(stop.substr(colon + 1));
      if (s.offset < last) throw Failure{"gradient stops out of order"};
      last = s.offset;
      paint.stops.push_back(s);
    }
    paint.color = paint.stops.front().color;
    gradients_[positional_[0]] = paint;
  }

  void Font() {
    // font NAME "Face,Face" SIZE [weight]
    if (positional_.size() < 3 || positional_.size() > 4) throw Failure{"wrong number of values"};
    CheckName(positional_[0]);
    if (fontNames_.contains(positional_[0])) throw Failure{"font defined twice"};
    if (movie_.fonts.size() >= L::kMaxFonts) throw Failure{"too many fonts"};
    FontSpec font;
    font.faces = positional_[1];
    if (font.faces.empty() || font.faces.size() > 128) throw Failure{"bad font faces"};
    font.size = ParseNumber(positional_[2], 4, 200);
    if (positional_.size() == 4) {
      const std::string& w = positional_[3];
      if (w == "light") {
        font.weight = 300;
      } else if (w == "regular") {
        font.weight = 400;
      } else if (w == "semibold") {
        font.weight = 600;
      } else if (w == "bold") {
        font.weight = 700;
      } else {
        throw Failure{"a font weight is light, regular, semibold or bold"};
      }
    }
    fontNames_[positional_[0]] = static_cast<int>(movie_.fonts.size());
    movie_.fonts.push_back(font);
  }

  void ButtonStatement() {
    // button X Y W H command=TEXT [args=] [goto=] [active=] [trigger=] [radius=] [focus=] [id=] [tip=]
    Expect(4);
    if (movie_.screens.empty()) throw Failure{"screens must be declared first"};
    if (InLookOrButton()) throw Failure{"a button inside a button"};
    if (movie_.buttons.size() >= L::kMaxButtons) throw Failure{"too many buttons"};
    Block block = Current();
    Button button;
    button.box.x = block.dx + ParseNumber(positional_[0]);
    button.box.y = block.dy + ParseNumber(positional_[1]);
    button.box.w = ParseNumber(positional_[2], 0, L::kMaxCoordinate);
    button.box.h = ParseNumber(positional_[3], 0, L::kMaxCoordinate);
    auto command = Option("command");
    if (!command) throw Failure{"a button needs command="};
    button.command = *command;
    button.args = Option("args").value_or("");
    if (auto id = Option("id")) {
      CheckName(*id);
      button.id = *id;
    }
    if (auto target = Option("goto")) {
      button.gotoScreen = movie_.ScreenIndex(*target);
      if (button.gotoScreen < 0) throw Failure{"unknown screen \"" + target->substr(0, 32) + "\""};
    }
    if (auto active = Option("active")) {
      std::uint64_t mask = ScreenList(*active);
      for (int s = 0; s < kMaxScreens; ++s) {
        if ((mask >> s) & 1u) button.activeOn.push_back(s);
      }
    }
    if (auto trigger = Option("trigger")) {
      if (*trigger == "press") {
        button.trigger = Trigger::Press;
      } else if (*trigger != "release") {
        throw Failure{"trigger is press or release"};
      }
    }
    if (auto focus = Option("focus")) {
      if (*focus == "no") {
        button.focusable = false;
      } else if (*focus != "yes") {
        throw Failure{"focus is yes or no"};
      }
    }
    button.radius = NumberOption("radius", 0, 0, 4096);
    if (auto tip = Option("tip")) {
      if (tip->size() > L::kMaxTipLength) throw Failure{"a tip is at most 80 characters"};
      button.tip = *tip;
    }

    const int index = AddItem(Item::Kind::Button, movie_.buttons, std::move(button),
                              block.screenMask);

    block.kind = BlockKind::Button;
    block.button = index;
    block.look = Look::Normal;
    block.dx = movie_.buttons.back().box.x;
    block.dy = movie_.buttons.back().box.y;
    Push(block);
  }

  void CommonShapeOptions(Shape& shape, bool fillable, bool strokable) {
    if (fillable) {
      if (auto fill = Option("fill")) shape.fill = ResolvePaint(*fill);
    }
    if (strokable) {
      if (auto stroke = Option("stroke")) shape.stroke = ResolveColor(*stroke);
      shape.strokeWidth = NumberOption("stroke-width", shape.stroke.a != 0 ? 1.0f : 0.0f, 0, 256);
    }
    shape.opacity = NumberOption("opacity", 1, 0, 1);
  }

  void LineOptions(Shape& shape) {
    shape.stroke = ResolveColor(Option("color").value_or("#FFFFFF"));
    shape.strokeWidth = NumberOption("width", 1, 0, 256);
    if (auto cap = Option("cap")) {
      if (*cap == "butt") {
        shape.cap = LineCap::Butt;
      } else if (*cap != "round") {
        throw Failure{"cap is round or butt"};
      }
    }
    shape.opacity = NumberOption("opacity", 1, 0, 1);
  }

  std::vector<PointF> Points(std::size_t first, float dx, float dy) {
    std::size_t count = positional_.size() - first;
    if (count % 2 != 0 || count < 4 || count / 2 > L::kMaxPoints) {
      throw Failure{"wrong number of points"};
    }
    std::vector<PointF> points;
    for (std::size_t k = first; k < positional_.size(); k += 2) {
      points.push_back({dx + ParseNumber(positional_[k]), dy + ParseNumber(positional_[k + 1])});
    }
    return points;
  }

  Shape ShapeStatement(const std::string& word) {
    Block block = Current();
    float dx = block.dx;
    float dy = block.dy;
    Shape shape;
    if (word == "rect" || word == "ellipse") {
      Expect(4);
      shape.kind = word == "rect" ? ShapeKind::Rect : ShapeKind::Ellipse;
      shape.box = {dx + ParseNumber(positional_[0]), dy + ParseNumber(positional_[1]),
                   ParseNumber(positional_[2], 0, L::kMaxCoordinate),
                   ParseNumber(positional_[3], 0, L::kMaxCoordinate)};
      if (shape.kind == ShapeKind::Rect) shape.radius = NumberOption("radius", 0, 0, 4096);
      CommonShapeOptions(shape, true, true);
    } else if (word == "circle") {
      Expect(3);
      shape.kind = ShapeKind::Ellipse;
      float r = ParseNumber(positional_[2], 0, L::kMaxCoordinate);
      shape.box = {dx + ParseNumber(positional_[0]) - r, dy + ParseNumber(positional_[1]) - r, 2 * r,
                   2 * r};
      CommonShapeOptions(shape, true, true);
    } else if (word == "line") {
      Expect(4);
      shape.kind = ShapeKind::Line;
      shape.points = Points(0, dx, dy);
      LineOptions(shape);
    } else if (word == "polyline") {
      shape.kind = ShapeKind::Polyline;
      shape.points = Points(0, dx, dy);
      LineOptions(shape);
    } else if (word == "polygon") {
      shape.kind = ShapeKind::Polygon;
      shape.points = Points(0, dx, dy);
      if (shape.points.size() < 3) throw Failure{"a polygon needs three points"};
      CommonShapeOptions(shape, true, true);
    } else if (word == "arc") {
      Expect(5);
      shape.kind = ShapeKind::Arc;
      shape.box = {dx + ParseNumber(positional_[0]), dy + ParseNumber(positional_[1]),
                   ParseNumber(positional_[2], 0, L::kMaxCoordinate), 0};
      shape.startAngle = ParseNumber(positional_[3], -720, 720);
      shape.sweep = ParseNumber(positional_[4], -360, 360);
      LineOptions(shape);
    } else {  // text
      Expect(3);
      shape.kind = ShapeKind::Text;
      shape.box = {dx + ParseNumber(positional_[0]), dy + ParseNumber(positional_[1]),
                   NumberOption("width", 0, 0, L::kMaxCoordinate), 0};
      shape.text = positional_[2];
      if (auto font = Option("font")) {
        auto it = fontNames_.find(*font);
        if (it == fontNames_.end()) throw Failure{"unknown font \"" + font->substr(0, 32) + "\""};
        shape.font = it->second;
      } else if (movie_.fonts.empty()) {
        throw Failure{"a text needs a font defined first"};
      }
      shape.color = ResolveColor(Option("color").value_or("#FFFFFF"));
      if (auto align = Option("align")) {
        if (*align == "center") {
          shape.align = TextAlign::Center;
        } else if (*align == "right") {
          shape.align = TextAlign::Right;
        } else if (*align != "left") {
          throw Failure{"align is left, center or right"};
        }
      }
      shape.opacity = NumberOption("opacity", 1, 0, 1);
    }
    return shape;
  }

  void AddShape(Shape shape) {
    if (movie_.screens.empty()) throw Failure{"screens must be declared first"};
    if (shapeCount_ >= L::kMaxShapes) throw Failure{"too many shapes"};
    ++shapeCount_;
    Block block = Current();
    if (InLookOrButton()) {
      movie_.buttons[static_cast<std::size_t>(block.button)]
          .looks[static_cast<std::size_t>(block.look)]
          .push_back(std::move(shape));
      return;
    }
    (void)AddItem(Item::Kind::Shape, movie_.shapes, std::move(shape), block.screenMask);
  }

  // Puts value at the end of its list and an item for it at the end of the
  // drawing order; returns its index in the list.
  template <typename T>
  int AddItem(Item::Kind kind, std::vector<T>& list, T value, std::uint64_t screenMask) {
    Item item;
    item.kind = kind;
    item.index = static_cast<int>(list.size());
    item.screenMask = screenMask;
    list.push_back(std::move(value));
    movie_.items.push_back(item);
    return item.index;
  }

  Movie movie_;
  std::vector<Block> stack_;
  std::map<std::string, Rgba> colors_;
  std::map<std::string, Paint> gradients_;
  std::map<std::string, int> fontNames_;
  std::vector<std::string> positional_;
  std::map<std::string, std::string> named_;
  std::map<std::string, bool> used_;
  std::size_t shapeCount_ = 0;
  int line_ = 0;
};

}  // namespace

MovieReadResult ReadMovie(std::string_view text) {
  MovieReadResult result;
  if (text.size() > L::kMaxFileBytes) {
    result.error = "the file is larger than 1 MiB";
    return result;
  }
  int line = 0;
  try {
    Reader reader;
    result.movie = reader.Run(text, line);
    result.line = 0;
  } catch (const Failure& failure) {
    result.line = failure.line >= 0 ? failure.line : line;
    result.error = failure.reason;
  } catch (const std::exception&) {
    // Out of memory and the like: refused as a whole, like any bad file.
    result.line = line;
    result.error = "the movie could not be read";
  }
  return result;
}

}  // namespace corvane::movie

namespace corvane::movie {

MovieReadResult ReadMovieFile(const std::string& path) {
  MovieReadResult result;
  auto text = ReadFileBytes(path, L::kMaxFileBytes);
  if (!text) {
    result.error = "the file cannot be opened";
    return result;
  }
  if (text->size() > L::kMaxFileBytes) {
    result.error = "the file is larger than 1 MiB";
    return result;
  }
  return ReadMovie(*text);
}

}  // namespace corvane::movie
