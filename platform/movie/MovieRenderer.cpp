#include "platform/movie/MovieRenderer.h"

#include <algorithm>
#include <cmath>

namespace corvane::movie {

namespace {

// Items outside the area being repainted are skipped before any path is
// built; this is their generous movie-space extent.
RectF ShapeExtent(const Shape& shape) {
  switch (shape.kind) {
    case ShapeKind::Rect:
    case ShapeKind::Ellipse:
      return shape.box;
    case ShapeKind::Arc: {
      float r = shape.box.w + shape.strokeWidth;
      return {shape.box.x - r, shape.box.y - r, 2 * r, 2 * r};
    }
    case ShapeKind::Text:
      // Width unknown until set; assume it may run the whole movie wide.
      return {shape.box.x - 4096, shape.box.y - 4, 8192, 400};
    default: {
      float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
      for (const PointF& p : shape.points) {
        x0 = std::min(x0, p.x);
        y0 = std::min(y0, p.y);
        x1 = std::max(x1, p.x);
        y1 = std::max(y1, p.y);
      }
      float m = shape.strokeWidth;
      return {x0 - m, y0 - m, x1 - x0 + 2 * m, y1 - y0 + 2 * m};
    }
  }
}

}  // namespace

View View::Fit(const Movie& movie, int width, int height) {
  View view;
  if (movie.width <= 0 || movie.height <= 0 || width <= 0 || height <= 0) return view;
  view.scale = std::min(static_cast<float>(width) / static_cast<float>(movie.width),
                        static_cast<float>(height) / static_cast<float>(movie.height));
  view.offsetX = std::floor((static_cast<float>(width) - static_cast<float>(movie.width) * view.scale) / 2);
  view.offsetY =
      std::floor((static_cast<float>(height) - static_cast<float>(movie.height) * view.scale) / 2);
  return view;
}

PixelRect View::ToBuffer(const RectF& r) const {
  PointF a = ToBuffer(PointF{r.x, r.y});
  PointF b = ToBuffer(PointF{r.x + r.w, r.y + r.h});
  auto lo = [](float v) { return static_cast<int>(std::floor(std::clamp(v, -1e6f, 1e6f))); };
  auto hi = [](float v) { return static_cast<int>(std::ceil(std::clamp(v, -1e6f, 1e6f))); };
  return PixelRect{lo(a.x), lo(a.y), hi(b.x), hi(b.y)};
}

void MovieRenderer::RenderEmpty(const PixelBuffer& buffer, const PixelRect& clip) {
  Rasterizer::Clear(buffer, clip, kEmptySurface);
}

void MovieRenderer::Render(const Movie& movie, const FrameState& frame, const View& view,
                           const PixelBuffer& buffer, const PixelRect& clip) {
  // Outside the movie (a window larger than the movie's shape) is neutral.
  RenderEmpty(buffer, clip);
  PixelRect stage = view.ToBuffer(RectF{0, 0, static_cast<float>(movie.width),
                                        static_cast<float>(movie.height)});
  PixelRect area = clip.Intersect(stage);
  if (area.empty()) return;
  Path backdrop;
  backdrop.AddRect(static_cast<float>(stage.x0), static_cast<float>(stage.y0),
                   static_cast<float>(stage.x1 - stage.x0), static_cast<float>(stage.y1 - stage.y0), 0);
  Rgba base = movie.background.kind == PaintKind::Solid ? movie.background.color
              : movie.background.stops.empty()          ? kEmptySurface
                                                        : movie.background.stops.front().color;
  base.a = 255;
  Rasterizer::Clear(buffer, area, base);
  if (movie.background.kind != PaintKind::Solid) {
    raster_.Fill(buffer, area, backdrop, movie.background,
                 RectF{static_cast<float>(stage.x0), static_cast<float>(stage.y0),
                       static_cast<float>(stage.x1 - stage.x0), static_cast<float>(stage.y1 - stage.y0)},
                 1);
  }

  for (std::size_t i = 0; i < movie.items.size(); ++i) {
    float opacity = i < frame.itemOpacity.size() ? frame.itemOpacity[i] : 1;
    if (opacity <= 0.002f) continue;
    float dy = i < frame.itemOffsetY.size() ? frame.itemOffsetY[i] : 0;
    const Item& item = movie.items[i];
    if (item.kind == Item::Kind::Shape) {
      DrawShape(movie.shapes[static_cast<std::size_t>(item.index)], view, dy, opacity, buffer, area,
                movie);
      continue;
    }
    auto b = static_cast<std::size_t>(item.index);
    const Button& button = movie.buttons[b];
    std::array<float, kLookCount> weights{1, 0, 0, 0};
    if (b < frame.lookWeight.size()) weights = frame.lookWeight[b];
    weights[0] = 1;
    for (int look = 0; look < kLookCount; ++look) {
      float w = weights[static_cast<std::size_t>(look)];
      if (w <= 0.002f) continue;
      for (const Shape& shape : button.looks[static_cast<std::size_t>(look)]) {
        DrawShape(shape, view, dy, opacity * std::min(1.0f, w), buffer, area, movie);
      }
    }
    float focus = b < frame.focus.size() ? frame.focus[b] : 0;
    if (focus > 0.002f) {
      Path ring;
      PointF p = view.ToBuffer(PointF{button.box.x - 2, button.box.y - 2 + dy});
      float s = view.scale;
      ring.AddRectOutline(p.x, p.y, (button.box.w + 4) * s, (button.box.h + 4) * s,
                          (button.radius + 2) * s, 2 * s);
      raster_.Fill(buffer, area, ring, Paint::Solid(movie.focusColor), RectF{}, opacity * focus);
    }
  }
}

void MovieRenderer::DrawShape(const Shape& shape, const View& view, float dy, float opacity,
                              const PixelBuffer& buffer, const PixelRect& clip, const Movie& movie) {
  opacity *= shape.opacity;
  if (opacity <= 0.002f) return;
  RectF extent = ShapeExtent(shape);
  extent.y += dy;
  if (view.ToBuffer(extent).Intersect(clip).empty()) return;

  float s = view.scale;
  auto map = [&](PointF p) { return view.ToBuffer(PointF{p.x, p.y + dy}); };
  PointF origin = map(PointF{shape.box.x, shape.box.y});
  RectF box{origin.x, origin.y, shape.box.w * s, shape.box.h * s};
  Path path;
  switch (shape.kind) {
    case ShapeKind::Rect:
      if (shape.fill.visible()) {
        path.AddRect(box.x, box.y, box.w, box.h, shape.radius * s);
        raster_.Fill(buffer, clip, path, shape.fill, box, opacity);
      }
      if (shape.stroke.a != 0 && shape.strokeWidth > 0) {
        Path outline;
        outline.AddRectOutline(box.x, box.y, box.w, box.h, shape.radius * s, shape.strokeWidth * s);
        raster_.Fill(buffer, clip, outline, Paint::Solid(shape.stroke), box, opacity);
      }
      break;
    case ShapeKind::Ellipse:
      if (shape.fill.visible()) {
        path.AddEllipse(box.x + box.w / 2, box.y + box.h / 2, box.w / 2, box.h / 2);
        raster_.Fill(buffer, clip, path, shape.fill, box, opacity);
      }
      if (shape.stroke.a != 0 && shape.strokeWidth > 0) {
        Path outline;
        outline.AddEllipseOutline(box.x + box.w / 2, box.y + box.h / 2, box.w / 2, box.h / 2,
                                  shape.strokeWidth * s);
        raster_.Fill(buffer, clip, outline, Paint::Solid(shape.stroke), box, opacity);
      }
      break;
    case ShapeKind::Line:
    case ShapeKind::Polyline: {
      std::vector<PointF> points;
      for (const PointF& p : shape.points) points.push_back(map(p));
      if (shape.kind == ShapeKind::Line && points.size() == 2) {
        path.AddLine(points[0], points[1], shape.strokeWidth * s, shape.cap);
      } else {
        path.AddPolyline(points, shape.strokeWidth * s, shape.cap, false);
      }
      raster_.Fill(buffer, clip, path, Paint::Solid(shape.stroke), box, opacity);
      break;
    }
    case ShapeKind::Polygon: {
      std::vector<PointF> points;
      float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
      for (const PointF& p : shape.points) {
        PointF q = map(p);
        points.push_back(q);
        x0 = std::min(x0, q.x);
        y0 = std::min(y0, q.y);
        x1 = std::max(x1, q.x);
        y1 = std::max(y1, q.y);
      }
      RectF bounds{x0, y0, x1 - x0, y1 - y0};
      if (shape.fill.visible()) {
        path.AddPolygon(points);
        raster_.Fill(buffer, clip, path, shape.fill, bounds, opacity);
      }
      if (shape.stroke.a != 0 && shape.strokeWidth > 0) {
        Path outline;
        outline.AddPolyline(points, shape.strokeWidth * s, LineCap::Round, true);
        raster_.Fill(buffer, clip, outline, Paint::Solid(shape.stroke), bounds, opacity);
      }
      break;
    }
    case ShapeKind::Arc:
      path.AddArc(origin.x, origin.y, shape.box.w * s, shape.startAngle, shape.sweep,
                  shape.strokeWidth * s, shape.cap);
      raster_.Fill(buffer, clip, path, Paint::Solid(shape.stroke), box, opacity);
      break;
    case ShapeKind::Text: {
      if (shape.text.empty() || movie.fonts.empty()) break;
      const FontSpec& font = movie.fonts[static_cast<std::size_t>(
          std::clamp(shape.font, 0, static_cast<int>(movie.fonts.size()) - 1))];
      const TextMask& mask = text_.Render(font, font.size * s, shape.text);
      if (mask.width <= 0 || mask.height <= 0 ||
          mask.coverage.size() < static_cast<std::size_t>(mask.width) * static_cast<std::size_t>(mask.height)) {
        break;
      }
      float x = box.x;
      float width = static_cast<float>(mask.width);
      if (shape.align == TextAlign::Center) {
        x = box.w > 0 ? box.x + (box.w - width) / 2 : box.x - width / 2;
      } else if (shape.align == TextAlign::Right) {
        x = box.w > 0 ? box.x + box.w - width : box.x - width;
      }
      Rasterizer::BlendMask(buffer, clip, static_cast<int>(std::lround(x)),
                            static_cast<int>(std::lround(box.y)), mask.width, mask.height,
                            mask.coverage.data(), shape.color, opacity);
      break;
    }
  }
}

}  // namespace corvane::movie
