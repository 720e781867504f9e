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

struct GraphState {
  std::vector<int> visible;
  int zoom = ui::kGraphMinZoom;
  std::size_t total = 0;
};

GraphState* StateOf(HWND graph) {
  return reinterpret_cast<GraphState*>(::GetWindowLongPtrA(graph, GWLP_USERDATA));
}

void FillRectColour(HDC dc, const RECT& r, COLORREF colour) {
  UniqueHbrush brush(::CreateSolidBrush(colour));
  ::FillRect(dc, &r, brush.get());
}

void Paint(HWND graph) {
  ScopedPaint paint(graph);
  RECT client{};
  ::GetClientRect(graph, &client);
  const int width = client.right;
  const int height = client.bottom;
  if (width <= 0 || height <= 0) return;
  // Drawn whole off screen, then copied in one go.
  UniqueHdc buffer(::CreateCompatibleDC(paint.dc()));
  UniqueHbitmap picture(::CreateCompatibleBitmap(paint.dc(), width, height));
  if (!buffer || !picture) {
    DrawGraph(graph, paint.dc(), width, height);
    return;
  }
  ScopedSelect select(buffer.get(), picture.get());
  DrawGraph(graph, buffer.get(), width, height);
  (void)::BitBlt(paint.dc(), 0, 0, width, height, buffer.get(), 0, 0, SRCCOPY);
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
  (void)::InvalidateRect(graph, nullptr, FALSE);
}

void DrawGraph(HWND graph, HDC dc, int width, int height) {
  const RECT all{0, 0, width, height};
  FillRectColour(dc, all, kBackground);
  const GraphState* s = StateOf(graph);
  if (s == nullptr) return;
  {
    UniqueHpen gridPen(::CreatePen(PS_SOLID, 1, kGrid));
    ScopedSelect select(dc, gridPen.get());
    for (int y : ui::GridRows(height)) {
      (void)::MoveToEx(dc, 0, y, nullptr);
      (void)::LineTo(dc, width, y);
    }
    for (int x : ui::GridColumns(width, s->zoom, s->total)) {
      (void)::MoveToEx(dc, x, 0, nullptr);
      (void)::LineTo(dc, x, height);
    }
  }
  if (s->visible.empty()) return;
  std::vector<ui::GraphPoint> line = ui::GraphLine(s->visible, s->zoom, width, height);
  {
    UniqueHpen linePen(::CreatePen(PS_SOLID, 1, kLine));
    ScopedSelect select(dc, linePen.get());
    if (line.size() == 1) {
      (void)::MoveToEx(dc, line[0].x - 1, line[0].y, nullptr);
      (void)::LineTo(dc, line[0].x + 1, line[0].y);
    } else {
      std::vector<POINT> points;
      points.reserve(line.size());
      for (const ui::GraphPoint& p : line) points.push_back(POINT{p.x, p.y});
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
