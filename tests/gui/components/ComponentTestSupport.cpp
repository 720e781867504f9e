#include "tests/gui/components/ComponentTestSupport.h"

#include "tests/support/LoggingStandIn.h"
#include "tests/support/WholeFile.h"

namespace corvane::gui {

std::unique_ptr<Program> StartHost(const std::string& arguments) {
  return Program::Start("corvane_components_host.exe", arguments);
}

std::string ResultPath(const std::string& name) { return testing::FreshTempFile("corvane-" + name + ".txt"); }

std::optional<std::string> ReadResult(const std::string& path) { return testing::ReadWholeFile(path); }

namespace {

// A visible top-level window of any process, sought by its class or by its
// caption.
struct Sought {
  bool byClass;
  const char* name;
  HWND found = nullptr;
};

BOOL CALLBACK FindSought(HWND hwnd, LPARAM param) {
  auto* sought = reinterpret_cast<Sought*>(param);
  char text[64] = {};
  if (sought->byClass) {
    ::GetClassNameA(hwnd, text, sizeof text);
  } else {
    ::GetWindowTextA(hwnd, text, sizeof text);
  }
  if (::IsWindowVisible(hwnd) && std::string(text) == sought->name) {
    sought->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

std::optional<HWND> VisibleTopLevel(bool byClass, const char* name) {
  Sought sought{byClass, name};
  ::EnumWindows(&FindSought, reinterpret_cast<LPARAM>(&sought));
  if (sought.found == nullptr) return std::nullopt;
  return sought.found;
}

}  // namespace

std::optional<HWND> NotificationArea() { return VisibleTopLevel(false, "Wine System Tray"); }

std::optional<HWND> WaitForBalloonTip(std::chrono::milliseconds timeout) {
  std::optional<HWND> balloon;
  WaitUntil([&] { return (balloon = VisibleTopLevel(true, "tooltips_class32")).has_value(); }, timeout);
  return balloon;
}

std::optional<POINT> FirstTrayIcon(HWND area) {
  RECT rect{};
  ::GetWindowRect(area, &rect);
  // The area's own background is what its far right shows; an icon is
  // drawn from the left.
  COLORREF background = ScreenPixel(rect.right - 2, rect.top + (rect.bottom - rect.top) / 2);
  int differing = 0;
  int slot = rect.bottom - rect.top;  // icons sit in square slots
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.left + slot && x < rect.right; ++x) {
      if (ScreenPixel(x, y) != background) ++differing;
    }
  }
  if (differing < 20) return std::nullopt;
  return POINT{rect.left + slot / 2, rect.top + slot / 2};
}

std::optional<POINT> ShownTrayIcon() {
  auto area = NotificationArea();
  if (!area) return std::nullopt;
  return FirstTrayIcon(*area);
}

std::optional<POINT> WaitForTrayIcon(std::chrono::milliseconds timeout) {
  std::optional<POINT> icon;
  WaitUntil([&] { return (icon = ShownTrayIcon()).has_value(); }, timeout);
  return icon;
}

bool WaitForNoTrayIcon(std::chrono::milliseconds timeout) {
  return WaitUntil([] { return !ShownTrayIcon(); }, timeout);
}

COLORREF WindowPixel(HWND window, int x, int y) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return ScreenPixel(rect.left + x, rect.top + y);
}

COLORREF Darkened(COLORREF color, int weight) {
  return RGB(GetRValue(color) * weight / 256, GetGValue(color) * weight / 256,
             GetBValue(color) * weight / 256);
}

std::optional<HWND> FindWindowOf(DWORD pid, const std::string& className) {
  for (const auto& w : TopLevelWindows(pid)) {
    if (w.visible && w.className == className) return w.hwnd;
  }
  return std::nullopt;
}

std::optional<HWND> ChildWithCaption(HWND parent, const std::string& caption) {
  for (const auto& w : Descendants(parent)) {
    if (w.caption == caption) return w.hwnd;
  }
  return std::nullopt;
}

void DragMouse(POINT from, POINT to) {
  MoveMouse(from.x, from.y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  ::SendInput(1, &input, sizeof input);
  Settle(std::chrono::milliseconds(200));
  const int steps = 10;
  for (int i = 1; i <= steps; ++i) {
    MoveMouse(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps);
  }
  Settle(std::chrono::milliseconds(100));
  input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(1, &input, sizeof input);
  Settle(std::chrono::milliseconds(500));
}

}  // namespace corvane::gui
