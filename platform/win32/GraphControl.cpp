#include "platform/win32/GraphControl.h"

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "platform/ui/Graph.h"
#include "platform/win32/Handle.h"

namespace corvane::win32 {

namespace {

constexpr COLORREF kBackground = RGB(0, 0, 0);
constexpr COLORREF kGrid = RGB(0, 72, 0);
constexpr COLORREF kLine = RGB(0, 255, 0);
constexpr COLORREF kLatestText = RGB(160, 255, 160);
constexpr int kScaleInset = 3;

// The back buffer, kept from one paint to the next (made again when the
// graph's size changes): making a bitmap costs several times the drawing.
class BackBuffer {
 public:
  BackBuffer() = default;
  BackBuffer(const BackBuffer&) = delete;
  BackBuffer& operator=(const BackBuffer&) = delete;
  ~BackBuffer() { Drop(); }

  // A memory DC of that size, or nullptr when none can be had.
  HDC For(HDC screen, int width, int height) {
    if (dc_ && width == width_ && height == height_) return dc_.get();
    Drop();
    dc_.reset(::CreateCompatibleDC(screen));
    bitmap_.reset(::CreateCompatibleBitmap(screen, width, height));
    if (!dc_ || !bitmap_) {
      Drop();
      return nullptr;
    }
    previous_ = ::SelectObject(dc_.get(), bitmap_.get());
    width_ = width;
    height_ = height;
    return dc_.get();
  }

 private:
  void Drop() {
    if (dc_ && previous_ != nullptr) ::SelectObject(dc_.get(), previous_);
    previous_ = nullptr;
    dc_.reset();
    bitmap_.reset();
    width_ = height_ = 0;
  }

  UniqueHdc dc_;
  UniqueHbitmap bitmap_;
  HGDIOBJ previous_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

struct GraphState {
  std::vector<int> visible;
  int zoom = ui::kGraphMinZoom;
  std::size_t total = 0;
  BackBuffer buffer;
};

GraphState* StateOf(HWND graph) {
  return reinterpret_cast<GraphState*>(::GetWindowLongPtrA(graph, GWLP_USERDATA));
}

void FillRectColour(HDC dc, const RECT& r, COLORREF colour) {
  UniqueHbrush brush(::CreateSolidBrush(colour));
  ::FillRect(dc, &r, brush.get());
}

// Drawn whole off screen, then copied in one go.
void DrawWhole(HWND graph, HDC dc) {
  if (dc == nullptr) return;
  RECT client{};
  ::GetClientRect(graph, &client);
  const int width = client.right;
  const int height = client.bottom;
  if (width <= 0 || height <= 0) return;
  GraphState* s = StateOf(graph);
  HDC buffer = s != nullptr ? s->buffer.For(dc, width, height) : nullptr;
  if (buffer == nullptr) {
    DrawGraph(graph, dc, width, height);
    return;
  }
  DrawGraph(graph, buffer, width, height);
  (void)::BitBlt(dc, 0, 0, width, height, buffer, 0, 0, SRCCOPY);
}

void Paint(HWND graph) {
  ScopedPaint paint(graph);
  DrawWhole(graph, paint.dc());
}

LRESULT CALLBACK GraphProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      auto* state = new (std::nothrow) GraphState;
      if (state == nullptr) return FALSE;
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
      break;
    }
    case WM_NCDESTROY:
      delete StateOf(hwnd);
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      break;
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case kGraphGetCount:
      if (const GraphState* s = StateOf(hwnd)) return static_cast<LRESULT>(s->total);
      return 0;
    case kGraphGetLatest:
      if (const GraphState* s = StateOf(hwnd); s != nullptr && !s->visible.empty()) return s->visible.back();
      return 0;
    case kGraphGetZoom:
      if (const GraphState* s = StateOf(hwnd)) return s->zoom;
      return 0;
    default:
      break;
  }
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

bool RegisterGraphControl(HINSTANCE instance) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExA(instance, kGraphClassName, &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &GraphProc;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kGraphClassName;
  return ::RegisterClassExA(&wc) != 0;
}

void SetGraphSamples(HWND graph, std::span<const int> visible, int zoom, std::size_t total) {
  GraphState* s = graph != nullptr ? StateOf(graph) : nullptr;
  if (s == nullptr) return;
  s->visible.assign(visible.begin(), visible.end());
  s->zoom = std::clamp(zoom, ui::kGraphMinZoom, ui::kGraphMaxZoom);
  s->total = total;
  // A shown graph is drawn now, whole, where it stands: a new sample moves
  // every line, and marking the graph dirty for a paint to come costs the
  // window system several round trips more, three times a second for each
  // graph. A hidden one is painted whole when it shows.
  if (::IsWindowVisible(graph)) {
    ScopedGetDc dc(graph);
    DrawWhole(graph, dc.get());
  }
}

void DrawGraph(HWND graph, HDC dc, int width, int height) {
  const RECT all{0, 0, width, height};
  FillRectColour(dc, all, kBackground);
  const GraphState* s = StateOf(graph);
  if (s == nullptr) return;
  // The scale stands a little inside the edge, so that a line at 0 or at
  // 100 percent is not lost against the border.
  const int top = height > 2 * kScaleInset + 2 ? kScaleInset : 0;
  const int scaleHeight = height - 2 * top;
  {
    UniqueHpen gridPen(::CreatePen(PS_SOLID, 1, kGrid));
    ScopedSelect select(dc, gridPen.get());
    for (int y : ui::GridRows(scaleHeight)) {
      (void)::MoveToEx(dc, 0, top + y, nullptr);
      (void)::LineTo(dc, width, top + y);
    }
    for (int x : ui::GridColumns(width, s->zoom, s->total)) {
      (void)::MoveToEx(dc, x, 0, nullptr);
      (void)::LineTo(dc, x, height);
    }
  }
  if (s->visible.empty()) return;
  std::vector<ui::GraphPoint> line = ui::GraphLine(s->visible, s->zoom, width, scaleHeight);
  {
    UniqueHpen linePen(::CreatePen(PS_SOLID, 1, kLine));
    ScopedSelect select(dc, linePen.get());
    if (line.size() == 1) {
      (void)::MoveToEx(dc, line[0].x - 1, top + line[0].y, nullptr);
      (void)::LineTo(dc, line[0].x + 1, top + line[0].y);
    } else {
      std::vector<POINT> points;
      points.reserve(line.size());
      for (const ui::GraphPoint& p : line) points.push_back(POINT{p.x, top + p.y});
      (void)::Polyline(dc, points.data(), static_cast<int>(points.size()));
      // A line leaves out its last pixel; the newest sample is that one.
      (void)::SetPixel(dc, points.back().x, points.back().y, kLine);
    }
  }
  // The latest value, as the caption above the graph says it.
  const std::string latest = std::to_string(s->visible.back()) + "%";
  ScopedSelect font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  (void)::SetBkMode(dc, TRANSPARENT);
  (void)::SetTextColor(dc, kLatestText);
  RECT corner{2, 1, width - 3, height};
  (void)::DrawTextA(dc, latest.c_str(), static_cast<int>(latest.size()), &corner, DT_RIGHT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace corvane::win32
