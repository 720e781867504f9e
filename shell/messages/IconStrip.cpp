#include "shell/messages/IconStrip.h"

#include <cmath>

namespace corvane::shell {

namespace {

// Paints one cell by testing each pixel's centre against simple shapes.
class CellPainter {
 public:
  CellPainter(Image& strip, int cell) : strip_(strip), originX_((cell - 1) * kIconCellSize) {}

  template <typename Inside>
  void Fill(Pixel color, Inside inside) {
    for (int y = 0; y < kIconCellSize; ++y) {
      for (int x = 0; x < kIconCellSize; ++x) {
        if (inside(x + 0.5, y + 0.5)) strip_.Set(originX_ + x, y, color);
      }
    }
  }
  void Disk(double cx, double cy, double r, Pixel color) {
    Fill(color, [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; });
  }
  void Box(double x0, double y0, double x1, double y1, Pixel color) {
    Fill(color, [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; });
  }
  // A stroke of the given half width from (x0, y0) to (x1, y1).
  void Line(double x0, double y0, double x1, double y1, double halfWidth, Pixel color) {
    Fill(color, [=](double x, double y) {
      double dx = x1 - x0, dy = y1 - y0;
      double t = ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy);
      t = t < 0 ? 0 : (t > 1 ? 1 : t);
      double px = x0 + t * dx - x, py = y0 + t * dy - y;
      return px * px + py * py <= halfWidth * halfWidth;
    });
  }
  // The upper and right part of a ring, for the question mark's hook.
  void Hook(double cx, double cy, double r, double halfWidth, Pixel color) {
    Fill(color, [=](double x, double y) {
      double d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
      bool onRing = std::fabs(d - r) <= halfWidth;
      return onRing && (y <= cy || x >= cx);
    });
  }
  void Triangle(double ax, double ay, double bx, double by, double cx, double cy, Pixel color) {
    Fill(color, [=](double x, double y) {
      auto side = [](double px, double py, double qx, double qy, double rx, double ry) {
        return (qx - px) * (ry - py) - (qy - py) * (rx - px);
      };
      double d1 = side(ax, ay, bx, by, x, y), d2 = side(bx, by, cx, cy, x, y),
             d3 = side(cx, cy, ax, ay, x, y);
      bool negative = d1 < 0 || d2 < 0 || d3 < 0;
      bool positive = d1 > 0 || d2 > 0 || d3 > 0;
      return !(negative && positive);
    });
  }
  // A round badge with a dark rim.
  void Badge(Pixel rim, Pixel face) {
    Disk(8, 8, 7.6, rim);
    Disk(8, 8, 6.6, face);
  }
  void RoundSquare(double inset, double radius, Pixel color) {
    double lo = inset, hi = kIconCellSize - inset;
    Fill(color, [=](double x, double y) {
      double cx = x < lo + radius ? lo + radius : (x > hi - radius ? hi - radius : x);
      double cy = y < lo + radius ? lo + radius : (y > hi - radius ? hi - radius : y);
      return x >= lo && x < hi && y >= lo && y < hi &&
             (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
    });
  }

 private:
  Image& strip_;
  int originX_;
};

constexpr Pixel kWhite = MakePixel(255, 255, 255);
constexpr Pixel kInk = MakePixel(24, 24, 24);

}  // namespace

Image MakeIconStrip() {
  Image strip(kIconCellSize * kIconCellCount, kIconCellSize, kIconTransparent);

  {  // 1: critical, a red badge with a white cross
    CellPainter p(strip, 1);
    p.Badge(MakePixel(120, 0, 0), MakePixel(214, 32, 32));
    p.Line(5.2, 5.2, 10.8, 10.8, 1.1, kWhite);
    p.Line(10.8, 5.2, 5.2, 10.8, 1.1, kWhite);
  }
  {  // 2: exclamation, an amber warning triangle
    CellPainter p(strip, 2);
    p.Triangle(8, 0.5, 15.5, 15, 0.5, 15, MakePixel(110, 80, 0));
    p.Triangle(8, 2.6, 14, 14, 2, 14, MakePixel(250, 196, 30));
    p.Box(7, 5.5, 9, 10.5, kInk);
    p.Box(7, 11.5, 9, 13.2, kInk);
  }
  {  // 3: information, a blue badge with an "i"
    CellPainter p(strip, 3);
    p.Badge(MakePixel(16, 52, 128), MakePixel(46, 110, 214));
    p.Disk(8, 4.6, 1.2, kWhite);
    p.Box(7, 6.8, 9, 12.4, kWhite);
  }
  {  // 4: question, a teal badge with a "?"
    CellPainter p(strip, 4);
    p.Badge(MakePixel(10, 80, 90), MakePixel(30, 150, 160));
    p.Hook(8, 6.2, 2.4, 0.95, kWhite);
    p.Box(7.1, 8.4, 8.9, 10.4, kWhite);
    p.Box(7.1, 11.2, 8.9, 12.9, kWhite);
  }
  {  // 5: a green badge with a tick
    CellPainter p(strip, 5);
    p.Badge(MakePixel(20, 90, 30), MakePixel(52, 160, 64));
    p.Line(4.6, 8.4, 7.0, 10.9, 1.0, kWhite);
    p.Line(7.0, 10.9, 11.6, 5.2, 1.0, kWhite);
  }
  {  // 6: a violet badge with a plus
    CellPainter p(strip, 6);
    p.Badge(MakePixel(70, 30, 100), MakePixel(130, 76, 180));
    p.Box(7, 4, 9, 12, kWhite);
    p.Box(4, 7, 12, 9, kWhite);
  }
  {  // 7: a grey badge with three dots
    CellPainter p(strip, 7);
    p.Badge(MakePixel(70, 70, 70), MakePixel(140, 140, 140));
    p.Disk(4.8, 8, 1.2, kWhite);
    p.Disk(8, 8, 1.2, kWhite);
    p.Disk(11.2, 8, 1.2, kWhite);
  }
  {  // 8: unused, a small neutral dot
    CellPainter p(strip, 8);
    p.Disk(8, 8, 2.5, MakePixel(150, 150, 150));
  }
  {  // 9: close mark, normal
    CellPainter p(strip, 9);
    p.RoundSquare(2, 2.5, MakePixel(120, 120, 120));
    p.RoundSquare(3, 2, MakePixel(236, 236, 236));
    p.Line(5.5, 5.5, 10.5, 10.5, 0.9, MakePixel(60, 60, 60));
    p.Line(10.5, 5.5, 5.5, 10.5, 0.9, MakePixel(60, 60, 60));
  }
  {  // 10: close mark, mouse over it
    CellPainter p(strip, 10);
    p.RoundSquare(2, 2.5, MakePixel(130, 20, 20));
    p.RoundSquare(3, 2, MakePixel(224, 64, 56));
    p.Line(5.5, 5.5, 10.5, 10.5, 0.9, kWhite);
    p.Line(10.5, 5.5, 5.5, 10.5, 0.9, kWhite);
  }
  {  // 11: close mark, held down: darker and pressed in by a pixel
    CellPainter p(strip, 11);
    p.RoundSquare(2, 2.5, MakePixel(80, 10, 10));
    p.RoundSquare(3, 2, MakePixel(160, 36, 30));
    p.Line(6.5, 6.5, 11.5, 11.5, 0.9, kWhite);
    p.Line(11.5, 6.5, 6.5, 11.5, 0.9, kWhite);
  }
  // 12: unused, left transparent.
  return strip;
}

Image IconCell(const Image& strip, int cell, Pixel background) {
  Image out(kIconCellSize, kIconCellSize, background);
  if (cell < 1 || cell > kIconCellCount || strip.width() < cell * kIconCellSize ||
      strip.height() < kIconCellSize) {
    return out;
  }
  int originX = (cell - 1) * kIconCellSize;
  for (int y = 0; y < kIconCellSize; ++y) {
    for (int x = 0; x < kIconCellSize; ++x) {
      Pixel p = strip.At(originX + x, y);
      if (p != kIconTransparent) out.Set(x, y, p);
    }
  }
  return out;
}

int IconCellForFlags(std::int32_t flags) {
  switch (flags & 112) {
    case 16: return 1;
    case 32: return 4;
    case 48: return 2;
    case 64: return 3;
    case 80: return 5;
    case 96: return 6;
    case 112: return 7;
    default: return 0;
  }
}

}  // namespace corvane::shell
