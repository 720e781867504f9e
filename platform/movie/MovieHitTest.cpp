#include "platform/movie/MovieHitTest.h"

#include <algorithm>

namespace corvane::movie {

namespace {

RectF UnionRect(const RectF& a, const RectF& b) {
  float x0 = std::min(a.x, b.x);
  float y0 = std::min(a.y, b.y);
  float x1 = std::max(a.x + a.w, b.x + b.w);
  float y1 = std::max(a.y + a.h, b.y + b.h);
  return {x0, y0, x1 - x0, y1 - y0};
}

RectF ShapeBounds(const Shape& shape) {
  float m = shape.strokeWidth;
  switch (shape.kind) {
    case ShapeKind::Rect:
    case ShapeKind::Ellipse:
      return shape.box;
    case ShapeKind::Arc: {
      float r = shape.box.w + m;
      return {shape.box.x - r, shape.box.y - r, 2 * r, 2 * r};
    }
    case ShapeKind::Text:
      // Texts of a look stay within its button by design; a text's width is
      // known only once set, so count its anchor line.
      return {shape.box.x, shape.box.y, std::max(1.0f, shape.box.w), 1};
    default: {
      if (shape.points.empty()) return shape.box;
      RectF r{shape.points[0].x, shape.points[0].y, 0, 0};
      for (const PointF& p : shape.points) r = UnionRect(r, RectF{p.x, p.y, 0, 0});
      return {r.x - m, r.y - m, r.w + 2 * m, r.h + 2 * m};
    }
  }
}

}  // namespace

int ButtonAt(const Movie& movie, int screen, PointF point) {
  for (std::size_t i = movie.items.size(); i-- > 0;) {
    const Item& item = movie.items[i];
    if (item.kind != Item::Kind::Button || !Movie::OnScreen(item, screen)) continue;
    if (movie.buttons[static_cast<std::size_t>(item.index)].box.Contains(point.x, point.y)) {
      return item.index;
    }
  }
  return -1;
}

std::vector<int> ButtonsOnScreen(const Movie& movie, int screen) {
  std::vector<int> buttons;
  for (const Item& item : movie.items) {
    if (item.kind == Item::Kind::Button && Movie::OnScreen(item, screen)) buttons.push_back(item.index);
  }
  return buttons;
}

std::optional<RectF> FindButton(const Movie& movie, const std::string& screen,
                                const std::string& command) {
  int s = movie.ScreenIndex(screen);
  for (int b : ButtonsOnScreen(movie, s)) {
    if (movie.buttons[static_cast<std::size_t>(b)].command == command) {
      return movie.buttons[static_cast<std::size_t>(b)].box;
    }
  }
  return std::nullopt;
}

std::optional<PointF> ButtonClickPoint(const Movie& movie, const std::string& screen,
                                       const std::string& command) {
  int s = movie.ScreenIndex(screen);
  for (int b : ButtonsOnScreen(movie, s)) {
    const Button& button = movie.buttons[static_cast<std::size_t>(b)];
    if (button.command != command) continue;
    // The centre first, then a coarse grid over the box.
    PointF centre{button.box.x + button.box.w / 2, button.box.y + button.box.h / 2};
    if (ButtonAt(movie, s, centre) == b) return centre;
    for (int gy = 1; gy < 8; ++gy) {
      for (int gx = 1; gx < 8; ++gx) {
        PointF p{button.box.x + button.box.w * static_cast<float>(gx) / 8,
                 button.box.y + button.box.h * static_cast<float>(gy) / 8};
        if (ButtonAt(movie, s, p) == b) return p;
      }
    }
  }
  return std::nullopt;
}

int ButtonById(const Movie& movie, const std::string& id) {
  for (std::size_t b = 0; b < movie.buttons.size(); ++b) {
    if (!id.empty() && movie.buttons[b].id == id) return static_cast<int>(b);
  }
  return -1;
}

RectF ButtonBounds(const Movie& movie, int button) {
  const Button& b = movie.buttons[static_cast<std::size_t>(button)];
  // The focus ring lies 4 pixels outside the box.
  RectF bounds{b.box.x - 4, b.box.y - 4, b.box.w + 8, b.box.h + 8};
  for (const auto& look : b.looks) {
    for (const Shape& shape : look) bounds = UnionRect(bounds, ShapeBounds(shape));
  }
  return {bounds.x - 1, bounds.y - 1, bounds.w + 2, bounds.h + 2};
}

std::vector<std::string> Commands(const Movie& movie) {
  std::vector<std::string> commands;
  for (const Item& item : movie.items) {
    if (item.kind != Item::Kind::Button) continue;
    const std::string& c = movie.buttons[static_cast<std::size_t>(item.index)].command;
    if (std::find(commands.begin(), commands.end(), c) == commands.end()) commands.push_back(c);
  }
  return commands;
}

}  // namespace corvane::movie
