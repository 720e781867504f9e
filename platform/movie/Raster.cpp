#include "platform/movie/Raster.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace corvane::movie {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

float SignedArea(const std::vector<PointF>& points) {
  float area = 0;
  for (std::size_t i = 0, n = points.size(); i < n; ++i) {
    const PointF& a = points[i];
    const PointF& b = points[(i + 1) % n];
    area += a.x * b.y - b.x * a.y;
  }
  return area / 2;
}

// Segments for an arc of the given radius and angle (radians): the chord
// error r(1 - cos(step/2)) stays under 0.1 px.
int ArcSegments(float radius, float angle) {
  if (radius <= 0.05f) return 1;
  float step = 2 * std::acos(std::max(-1.0f, 1 - 0.1f / radius));
  if (!(step > 0.01f)) step = 0.01f;
  int n = static_cast<int>(std::ceil(std::fabs(angle) / step));
  return std::clamp(n, 1, 256);
}

std::uint8_t Lerp8(std::uint8_t a, std::uint8_t b, float t) {
  return static_cast<std::uint8_t>(std::lround(a + (static_cast<float>(b) - a) * t));
}

Rgba StopColor(const Paint& paint, float t) {
  const auto& stops = paint.stops;
  if (stops.empty()) return paint.color;
  if (t <= stops.front().offset) return stops.front().color;
  for (std::size_t i = 1; i < stops.size(); ++i) {
    if (t <= stops[i].offset) {
      float span = stops[i].offset - stops[i - 1].offset;
      float f = span > 0 ? (t - stops[i - 1].offset) / span : 1;
      const Rgba& a = stops[i - 1].color;
      const Rgba& b = stops[i].color;
      return Rgba{Lerp8(a.r, b.r, f), Lerp8(a.g, b.g, f), Lerp8(a.b, b.b, f), Lerp8(a.a, b.a, f)};
    }
  }
  return stops.back().color;
}

// Blends src over dst with alpha a in 0..256.
inline std::uint32_t Blend(std::uint32_t dst, std::uint32_t src, std::uint32_t a) {
  std::uint32_t inv = 256 - a;
  std::uint32_t rb = (((src & 0xFF00FFu) * a + (dst & 0xFF00FFu) * inv) >> 8) & 0xFF00FFu;
  std::uint32_t g = (((src & 0x00FF00u) * a + (dst & 0x00FF00u) * inv) >> 8) & 0x00FF00u;
  return rb | g;
}

// Accumulates one edge piece that lies within one pixel row (local y range
// inside [0, 1]) into that row's cells: each cell gets the part of the piece's
// height dy that lies right of the edge, the next cell the rest, so that a
// running sum along the row gives every pixel's coverage.
void AccumulateRowPiece(float* cells, int width, float xa, float xb, float dy) {
  if (dy == 0) return;
  // Keep the part of the piece inside [0, width]: left of 0 acts as an edge
  // on 0 (it covers every visible pixel of the row), right of width is unseen.
  auto one = [&](float x0, float x1, float h) {
    float lo = std::min(x0, x1);
    float hi = std::max(x0, x1);
    if (hi <= 0) {
      cells[0] += h;
      return;
    }
    if (lo >= static_cast<float>(width)) return;
    // Walk the columns the piece crosses.
    int c0 = static_cast<int>(std::floor(lo));
    int c1 = static_cast<int>(std::floor(hi));
    if (c0 == c1 || hi - lo < 1e-6f) {
      float mid = (x0 + x1) / 2;
      int c = std::clamp(c0, 0, width - 1);
      float right = static_cast<float>(c + 1) - mid;
      cells[c] += h * right;
      cells[c + 1] += h * (1 - right);
      return;
    }
    float slope = h / (x1 - x0);  // height per unit x, signed
    float x = x0;
    bool up = x1 > x0;
    while (up ? x < x1 : x > x1) {
      float boundary = up ? std::floor(x) + 1 : std::ceil(x) - 1;
      float next = up ? std::min(boundary, x1) : std::max(boundary, x1);
      float ph = slope * (next - x);
      float mid = (x + next) / 2;
      int c = static_cast<int>(std::floor(mid));
      if (c >= width) {
        if (up) break;
      } else if (c >= 0) {
        float right = static_cast<float>(c + 1) - mid;
        cells[c] += ph * right;
        cells[c + 1] += ph * (1 - right);
      }
      x = next;
    }
  };
  float w = static_cast<float>(width);
  // Split where the piece crosses x = 0 and x = width, then clamp the outside
  // parts onto the border so that walking stays bounded.
  float ts[4] = {0, 1, 0, 0};
  int nt = 2;
  if ((xa < 0) != (xb < 0) && xa != xb) ts[nt++] = (0 - xa) / (xb - xa);
  if ((xa < w) != (xb < w) && xa != xb) ts[nt++] = (w - xa) / (xb - xa);
  std::sort(ts, ts + nt);
  for (int k = 0; k + 1 < nt; ++k) {
    float t0 = ts[k];
    float t1 = ts[k + 1];
    if (t1 <= t0) continue;
    float x0 = xa + (xb - xa) * t0;
    float x1 = xa + (xb - xa) * t1;
    float mid = (x0 + x1) / 2;
    float h = dy * (t1 - t0);
    if (mid <= 0) {
      one(-1, -1, h);
    } else if (mid >= w) {
      continue;
    } else {
      one(std::clamp(x0, 0.0f, w), std::clamp(x1, 0.0f, w), h);
    }
  }
}

}  // namespace

PixelRect PixelRect::Intersect(const PixelRect& o) const {
  return PixelRect{std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
}

PixelRect PixelRect::Union(const PixelRect& o) const {
  if (empty()) return o;
  if (o.empty()) return *this;
  return PixelRect{std::min(x0, o.x0), std::min(y0, o.y0), std::max(x1, o.x1), std::max(y1, o.y1)};
}

void AppendArcPoints(std::vector<PointF>& out, float cx, float cy, float rx, float ry,
                     float startDegrees, float sweepDegrees) {
  float start = startDegrees * kPi / 180;
  float sweep = sweepDegrees * kPi / 180;
  int n = ArcSegments(std::max(rx, ry), sweep);
  // Chords cut inside the curve; pushing the points out a little gives the
  // polygon the curve's own area, so circles do not look thinner than drawn.
  float step = std::fabs(sweep) / static_cast<float>(n);
  float k = step > 1e-3f && step < kPi / 2 ? std::sqrt(step / std::sin(step)) : 1.0f;
  for (int i = 0; i <= n; ++i) {
    float a = start + sweep * static_cast<float>(i) / static_cast<float>(n);
    out.push_back({cx + rx * k * std::cos(a), cy + ry * k * std::sin(a)});
  }
}

void Path::AddPolygon(const std::vector<PointF>& points, bool hole) {
  if (points.size() < 3) return;
  std::vector<PointF> contour = points;
  float area = SignedArea(contour);
  if (area == 0) return;
  if ((area < 0) != hole) std::reverse(contour.begin(), contour.end());
  contours_.push_back(std::move(contour));
}

void Path::AddRect(float x, float y, float w, float h, float radius, bool hole) {
  if (w <= 0 || h <= 0) return;
  float r = std::clamp(radius, 0.0f, std::min(w, h) / 2);
  std::vector<PointF> points;
  if (r < 0.05f) {
    points = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
  } else {
    AppendArcPoints(points, x + w - r, y + r, r, r, -90, 90);
    AppendArcPoints(points, x + w - r, y + h - r, r, r, 0, 90);
    AppendArcPoints(points, x + r, y + h - r, r, r, 90, 90);
    AppendArcPoints(points, x + r, y + r, r, r, 180, 90);
  }
  AddPolygon(points, hole);
}

void Path::AddEllipse(float cx, float cy, float rx, float ry, bool hole) {
  if (rx <= 0 || ry <= 0) return;
  std::vector<PointF> points;
  AppendArcPoints(points, cx, cy, rx, ry, 0, 360);
  points.pop_back();  // the last point repeats the first
  AddPolygon(points, hole);
}

void Path::AddLine(PointF a, PointF b, float width, LineCap cap) {
  float dx = b.x - a.x;
  float dy = b.y - a.y;
  float length = std::sqrt(dx * dx + dy * dy);
  float hw = width / 2;
  if (hw <= 0) return;
  if (length < 1e-4f) {
    if (cap == LineCap::Round) AddEllipse(a.x, a.y, hw, hw);
    return;
  }
  float nx = -dy / length * hw;
  float ny = dx / length * hw;
  if (cap == LineCap::Round) {
    // One capsule outline: half circles around both ends.
    std::vector<PointF> points;
    float angle = std::atan2(dy, dx) * 180 / kPi;
    AppendArcPoints(points, b.x, b.y, hw, hw, angle - 90, 180);
    AppendArcPoints(points, a.x, a.y, hw, hw, angle + 90, 180);
    AddPolygon(points);
  } else {
    AddPolygon({{a.x + nx, a.y + ny}, {b.x + nx, b.y + ny}, {b.x - nx, b.y - ny}, {a.x - nx, a.y - ny}});
  }
}

void Path::AddPolyline(const std::vector<PointF>& points, float width, LineCap cap, bool closed) {
  std::size_t n = points.size();
  if (n < 2) return;
  std::size_t segments = closed ? n : n - 1;
  for (std::size_t i = 0; i < segments; ++i) {
    AddLine(points[i], points[(i + 1) % n], width, LineCap::Butt);
  }
  // Round joins (and caps) hide the gaps between the segments.
  float hw = width / 2;
  for (std::size_t i = 0; i < n; ++i) {
    bool end = !closed && (i == 0 || i == n - 1);
    if (!end || cap == LineCap::Round) AddEllipse(points[i].x, points[i].y, hw, hw);
  }
}

void Path::AddArc(float cx, float cy, float r, float startDegrees, float sweepDegrees, float width,
                  LineCap cap) {
  float hw = width / 2;
  if (hw <= 0 || r <= 0 || sweepDegrees == 0) return;
  if (std::fabs(sweepDegrees) >= 360) {
    AddEllipseOutline(cx, cy, r + hw, r + hw, width);
    return;
  }
  std::vector<PointF> points;
  AppendArcPoints(points, cx, cy, r + hw, r + hw, startDegrees, sweepDegrees);
  std::vector<PointF> inner;
  AppendArcPoints(inner, cx, cy, std::max(0.0f, r - hw), std::max(0.0f, r - hw), startDegrees,
                  sweepDegrees);
  points.insert(points.end(), inner.rbegin(), inner.rend());
  AddPolygon(points);
  if (cap == LineCap::Round) {
    float a0 = startDegrees * kPi / 180;
    float a1 = (startDegrees + sweepDegrees) * kPi / 180;
    AddEllipse(cx + r * std::cos(a0), cy + r * std::sin(a0), hw, hw);
    AddEllipse(cx + r * std::cos(a1), cy + r * std::sin(a1), hw, hw);
  }
}

void Path::AddRectOutline(float x, float y, float w, float h, float radius, float width) {
  AddRect(x, y, w, h, radius);
  if (w > 2 * width && h > 2 * width) {
    AddRect(x + width, y + width, w - 2 * width, h - 2 * width, std::max(0.0f, radius - width), true);
  }
}

void Path::AddEllipseOutline(float cx, float cy, float rx, float ry, float width) {
  AddEllipse(cx, cy, rx, ry);
  if (rx > width && ry > width) AddEllipse(cx, cy, rx - width, ry - width, true);
}

PixelRect Path::Bounds() const {
  float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
  for (const auto& contour : contours_) {
    for (const PointF& p : contour) {
      x0 = std::min(x0, p.x);
      y0 = std::min(y0, p.y);
      x1 = std::max(x1, p.x);
      y1 = std::max(y1, p.y);
    }
  }
  if (x1 < x0) return {};
  auto clampi = [](float v) { return static_cast<int>(std::clamp(v, -1e6f, 1e6f)); };
  return PixelRect{clampi(std::floor(x0)), clampi(std::floor(y0)), clampi(std::ceil(x1)) + 1,
                   clampi(std::ceil(y1)) + 1};
}

void Rasterizer::Fill(const PixelBuffer& buffer, const PixelRect& clip, const Path& path,
                      const Paint& paint, const RectF& paintBox, float opacity) {
  if (!paint.visible() || opacity <= 0 || path.empty()) return;
  PixelRect area = path.Bounds()
                       .Intersect(clip)
                       .Intersect(PixelRect{0, 0, buffer.width, buffer.height});
  if (area.empty()) return;
  int width = area.x1 - area.x0;
  row_.assign(static_cast<std::size_t>(width) + 2, 0.0f);

  // Paint: a table of 256 colours along the gradient, with the alpha scaled
  // into 0..256 for the blend.
  bool solid = paint.kind == PaintKind::Solid || paint.stops.empty();
  lut_.resize(256);
  std::vector<std::uint16_t> alpha(256);
  for (int i = 0; i < (solid ? 1 : 256); ++i) {
    Rgba c = solid ? paint.color : StopColor(paint, static_cast<float>(i) / 255);
    lut_[static_cast<std::size_t>(i)] = PackRgb(c);
    alpha[static_cast<std::size_t>(i)] =
        static_cast<std::uint16_t>(std::lround(static_cast<float>(c.a) * opacity * 256 / 255));
  }
  float gx0 = paintBox.x + paint.x0 * paintBox.w;
  float gy0 = paintBox.y + paint.y0 * paintBox.h;
  float gdx = paintBox.x + paint.x1 * paintBox.w - gx0;
  float gdy = paintBox.y + paint.y1 * paintBox.h - gy0;
  float glen2 = gdx * gdx + gdy * gdy;
  float gradius = paint.x1 * std::max(paintBox.w, paintBox.h);

  for (int y = area.y0; y < area.y1; ++y) {
    std::fill(row_.begin(), row_.end(), 0.0f);
    float top = static_cast<float>(y);
    bool any = false;
    for (const auto& contour : path.contours()) {
      std::size_t n = contour.size();
      for (std::size_t i = 0; i < n; ++i) {
        PointF a = contour[i];
        PointF b = contour[(i + 1) % n];
        if (a.y == b.y) continue;
        float ya = std::clamp(a.y - top, 0.0f, 1.0f);
        float yb = std::clamp(b.y - top, 0.0f, 1.0f);
        if (ya == yb) continue;
        // x where the edge meets the clamped heights.
        float inv = (b.x - a.x) / (b.y - a.y);
        float xa = a.x + (ya + top - a.y) * inv - static_cast<float>(area.x0);
        float xb = a.x + (yb + top - a.y) * inv - static_cast<float>(area.x0);
        // Area sign: edges going down add, edges going up subtract; a
        // positive-area contour (as Path keeps them) thus covers +1.
        AccumulateRowPiece(row_.data(), width, xa, xb, -(yb - ya));
        any = true;
      }
    }
    if (!any) continue;
    float sum = 0;
    std::uint32_t* out = &buffer.at(area.x0, y);
    float py = top + 0.5f;
    for (int x = 0; x < width; ++x) {
      sum += row_[static_cast<std::size_t>(x)];
      float coverage = std::min(1.0f, std::fabs(sum));
      if (coverage < 1.0f / 512) continue;
      std::size_t index = 0;
      if (!solid) {
        float px = static_cast<float>(area.x0 + x) + 0.5f;
        float t;
        if (paint.kind == PaintKind::Radial) {
          float ddx = px - gx0;
          float ddy = py - gy0;
          t = gradius > 0 ? std::sqrt(ddx * ddx + ddy * ddy) / gradius : 1;
        } else {
          t = glen2 > 0 ? ((px - gx0) * gdx + (py - gy0) * gdy) / glen2 : 0;
        }
        index = static_cast<std::size_t>(std::clamp(t, 0.0f, 1.0f) * 255 + 0.5f);
      }
      std::uint32_t a = static_cast<std::uint32_t>(alpha[index] * coverage + 0.5f);
      if (a == 0) continue;
      out[x] = a >= 256 ? lut_[index] : Blend(out[x], lut_[index], a);
    }
  }
}

void Rasterizer::BlendMask(const PixelBuffer& buffer, const PixelRect& clip, int x, int y, int width,
                           int height, const std::uint8_t* mask, Rgba color, float opacity) {
  PixelRect area = PixelRect{x, y, x + width, y + height}
                       .Intersect(clip)
                       .Intersect(PixelRect{0, 0, buffer.width, buffer.height});
  if (area.empty() || mask == nullptr) return;
  std::uint32_t src = PackRgb(color);
  float scale = static_cast<float>(color.a) * std::clamp(opacity, 0.0f, 1.0f) / 255;
  for (int py = area.y0; py < area.y1; ++py) {
    const std::uint8_t* m = mask + static_cast<std::size_t>(py - y) * static_cast<std::size_t>(width);
    std::uint32_t* out = &buffer.at(0, py);
    for (int px = area.x0; px < area.x1; ++px) {
      std::uint8_t coverage = m[px - x];
      if (coverage == 0) continue;
      auto a = static_cast<std::uint32_t>(static_cast<float>(coverage) * scale * 256 / 255 + 0.5f);
      if (a == 0) continue;
      out[px] = a >= 256 ? src : Blend(out[px], src, a);
    }
  }
}

void Rasterizer::Clear(const PixelBuffer& buffer, const PixelRect& clip, Rgba color) {
  PixelRect area = clip.Intersect(PixelRect{0, 0, buffer.width, buffer.height});
  std::uint32_t value = PackRgb(color);
  for (int y = area.y0; y < area.y1; ++y) {
    std::uint32_t* out = &buffer.at(0, y);
    std::fill(out + area.x0, out + area.x1, value);
  }
}

}  // namespace corvane::movie
