// The parsed movie: screens of shapes, texts and buttons in one drawing
// order. The file format that describes it is in docs/movie-format.md; the
// reader (MovieReader.h) flattens groups, so every coordinate here is in
// movie pixels.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane::movie {

// A colour with straight (not premultiplied) alpha.
struct Rgba {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 255;
  friend bool operator==(const Rgba&, const Rgba&) = default;
};

struct PointF {
  float x = 0;
  float y = 0;
};

struct RectF {
  float x = 0;
  float y = 0;
  float w = 0;
  float h = 0;
  bool Contains(float px, float py) const { return px >= x && py >= y && px < x + w && py < y + h; }
  friend bool operator==(const RectF&, const RectF&) = default;
};

struct GradientStop {
  float offset = 0;  // 0..1
  Rgba color;
};

enum class PaintKind { None, Solid, Linear, Radial };

// How a shape is filled. Gradient geometry is in fractions of the shape's
// bounding box, so one gradient serves shapes of every size: linear runs from
// (x0, y0) to (x1, y1); radial is centred on (x0, y0) with radius x1 times the
// box's larger side.
struct Paint {
  PaintKind kind = PaintKind::None;
  Rgba color;
  float x0 = 0, y0 = 0, x1 = 0, y1 = 1;
  std::vector<GradientStop> stops;

  static Paint Solid(Rgba c) {
    Paint p;
    p.kind = PaintKind::Solid;
    p.color = c;
    return p;
  }
  bool visible() const { return kind != PaintKind::None; }
};

struct FontSpec {
  std::string faces;  // comma-separated, first installed wins
  float size = 12;    // em height in pixels
  int weight = 400;   // 100..900
};

enum class ShapeKind { Rect, Ellipse, Line, Polyline, Polygon, Arc, Text };
enum class TextAlign { Left, Center, Right };
enum class LineCap { Round, Butt };

struct Shape {
  ShapeKind kind = ShapeKind::Rect;
  // Rect, Ellipse: the box. Text: x, y is the top of the text cell and w the
  // width it is aligned in (0: anchored at x). Arc: centre x, y, radius w.
  RectF box;
  float radius = 0;                 // Rect: corner radius
  float startAngle = 0, sweep = 0;  // Arc, degrees, 0 = three o'clock, clockwise
  std::vector<PointF> points;       // Line (2), Polyline, Polygon
  Paint fill;
  Rgba stroke{0, 0, 0, 0};
  float strokeWidth = 0;
  LineCap cap = LineCap::Round;
  float opacity = 1;
  // Text
  std::string text;
  int font = 0;  // index into Movie::fonts
  Rgba color{255, 255, 255, 255};
  TextAlign align = TextAlign::Left;
};

// The looks of a button. Normal is always drawn; the others are drawn over it
// with their animated weights (hover glows in, pressed darkens, active marks
// the button of the screen that is shown).
enum class Look { Normal = 0, Hover = 1, Pressed = 2, Active = 3 };
inline constexpr int kLookCount = 4;

enum class Trigger { Release, Press };

struct Button {
  std::string id;       // optional name, for tests and documentation
  RectF box;            // hit area, movie pixels
  float radius = 0;     // corner radius of the focus ring
  std::string command;  // FSCommand command text
  std::string args;     // FSCommand argument text
  int gotoScreen = -1;  // the screen the movie moves to when pressed
  std::vector<int> activeOn;  // screens on which the Active look shows
  Trigger trigger = Trigger::Release;
  bool focusable = true;
  // What the button does, in a few words, shown when the pointer rests on
  // it; empty: no tip.
  std::string tip;
  std::array<std::vector<Shape>, kLookCount> looks;  // absolute coordinates
};

// One entry of the drawing order: a shape or a button, shown on every screen
// or only on those in its screen mask.
struct Item {
  enum class Kind { Shape, Button } kind = Kind::Shape;
  int index = 0;                 // into Movie::shapes or Movie::buttons
  std::uint64_t screenMask = 0;  // bit n: visible on screen n
};

inline constexpr int kMaxScreens = 64;

struct Movie {
  int width = 675;
  int height = 435;
  Paint background = Paint::Solid(Rgba{16, 19, 28, 255});
  std::vector<std::string> screens;  // screens[0] is the home screen
  std::vector<FontSpec> fonts;       // fonts[0] is the default
  std::vector<Shape> shapes;
  std::vector<Button> buttons;
  std::vector<Item> items;
  // The keyboard focus ring; the colour named "focus" in the file.
  Rgba focusColor{92, 150, 255, 255};
  // Animation lengths in milliseconds.
  int hoverMs = 140;
  int pressMs = 60;
  int transitionMs = 220;

  int ScreenIndex(const std::string& name) const {
    for (std::size_t i = 0; i < screens.size(); ++i) {
      if (screens[i] == name) return static_cast<int>(i);
    }
    return -1;
  }
  static bool OnScreen(const Item& item, int screen) {
    return screen >= 0 && screen < kMaxScreens && ((item.screenMask >> screen) & 1u) != 0;
  }
};

}  // namespace corvane::movie
