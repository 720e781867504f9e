#include "shell/win32/Splash.h"

#include <iterator>

#include "platform/FileBytes.h"
#include "platform/win32/Skin.h"

namespace corvane::shell {

namespace {

constexpr UINT_PTR kFadeTimer = 1;
constexpr UINT_PTR kDisplayTimer = 2;
constexpr int kFadeSteps = 8;     // 8 x 25 ms
constexpr UINT kFadeInterval = 25;

COLORREF Ref(const skin::Rgb& c) { return RGB(c.r, c.g, c.b); }

using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Layered windows exist from Windows 2000 on; the 95/98/ME family removes
// the splash at once.
SetLayeredWindowAttributesFn LayeredAttributesIfAny() {
  HMODULE user32 = ::GetModuleHandleA("user32.dll");
  return user32 != nullptr ? reinterpret_cast<SetLayeredWindowAttributesFn>(reinterpret_cast<void*>(
                                 ::GetProcAddress(user32, "SetLayeredWindowAttributes")))
                           : nullptr;
}

void DrawItem(HDC dc, const SplashItem& item) {
  RECT r{item.x, item.y, item.x + item.width, item.y + item.height};
  switch (item.shape) {
    case SplashShape::Fill:
      win32::FillVerticalGradient(dc, r, Ref(item.color), Ref(item.color2));
      break;
    case SplashShape::RoundRect: {
      win32::UniqueHrgn shape(::CreateRoundRectRgn(r.left, r.top, r.right + 1, r.bottom + 1,
                                                   item.radius * 2, item.radius * 2));
      ::SelectClipRgn(dc, shape.get());
      win32::FillVerticalGradient(dc, r, Ref(item.color), Ref(item.color2));
      ::SelectClipRgn(dc, nullptr);
      break;
    }
    case SplashShape::Ellipse: {
      win32::UniqueHbrush brush(::CreateSolidBrush(Ref(item.color)));
      win32::ScopedSelect b(dc, brush.get());
      win32::ScopedSelect p(dc, ::GetStockObject(NULL_PEN));
      ::Ellipse(dc, r.left, r.top, r.right + 1, r.bottom + 1);
      break;
    }
    case SplashShape::Ring: {
      win32::UniqueHpen pen(::CreatePen(PS_SOLID, item.radius, Ref(item.color)));
      win32::ScopedSelect p(dc, pen.get());
      win32::ScopedSelect b(dc, ::GetStockObject(NULL_BRUSH));
      int inset = item.radius / 2;
      ::Ellipse(dc, r.left + inset, r.top + inset, r.right - inset, r.bottom - inset);
      break;
    }
    case SplashShape::Line: {
      win32::UniqueHpen pen(::CreatePen(PS_SOLID, item.radius, Ref(item.color)));
      win32::ScopedSelect p(dc, pen.get());
      ::MoveToEx(dc, item.x, item.y, nullptr);
      ::LineTo(dc, item.width, item.height);
      break;
    }
    case SplashShape::Text: {
      LOGFONTA lf{};
      lf.lfHeight = -item.size;
      lf.lfWeight = item.bold ? FW_BOLD : FW_NORMAL;
      lf.lfCharSet = DEFAULT_CHARSET;
      lf.lfQuality = ANTIALIASED_QUALITY;
      lstrcpynA(lf.lfFaceName, item.font.c_str(), LF_FACESIZE);
      win32::UniqueHfont font(::CreateFontIndirectA(&lf));
      win32::ScopedSelect f(dc, font.get());
      ::SetBkMode(dc, TRANSPARENT);
      ::SetTextColor(dc, Ref(item.color));
      UINT align = item.align == TextAlign::Center ? TA_CENTER : item.align == TextAlign::Right ? TA_RIGHT : TA_LEFT;
      ::SetTextAlign(dc, align | TA_TOP);
      ::TextOutA(dc, item.x, item.y, item.text.c_str(), static_cast<int>(item.text.size()));
      break;
    }
  }
}

}  // namespace

void Splash::Render(const SplashPicture& picture) {
  width_ = picture.width;
  height_ = picture.height;
  win32::ScopedGetDc screen(nullptr);
  picture_.reset(::CreateCompatibleBitmap(screen.get(), width_, height_));
  win32::UniqueHdc memory(::CreateCompatibleDC(screen.get()));
  if (!picture_ || !memory) return;
  win32::ScopedSelect select(memory.get(), picture_.get());
  RECT all{0, 0, width_, height_};
  ::FillRect(memory.get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  for (const auto& item : picture.items) DrawItem(memory.get(), item);
}

bool Splash::ShowSplashFile(const std::string& path) {
  auto text = ReadFileBytes(path, kMaxSplashFileSize);
  if (!text) {
    error_ = "the splash file " + path + " cannot be read";
    return false;
  }
  auto parsed = ParseSplash(*text);
  if (!parsed.picture) {
    error_ = path + ", line " + std::to_string(parsed.line) + ": " + parsed.error;
    return false;
  }
  Render(*parsed.picture);
  if (!picture_) return false;

  int x = (::GetSystemMetrics(SM_CXSCREEN) - width_) / 2;
  int y = (::GetSystemMetrics(SM_CYSCREEN) - height_) / 2;
  WNDCLASSEXA wc{};
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_APPSTARTING));
  // A tool window (no taskbar button), topmost, shown without activation.
  if (!CreateBound(kClassName, wc, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "Corvane", WS_POPUP, x, y, width_,
                   height_, nullptr, nullptr, instance_)) {
    return false;
  }
  if (parsed.picture->radius > 0) {
    int d = parsed.picture->radius * 2;
    // The window owns the region from here on.
    ::SetWindowRgn(hwnd(), ::CreateRoundRectRgn(0, 0, width_ + 1, height_ + 1, d, d), FALSE);
  }
  ::ShowWindow(hwnd(), SW_SHOWNA);
  ::UpdateWindow(hwnd());
  return true;
}

void Splash::SetDisplayTime(int seconds) {
  if (hwnd() == nullptr) return;
  if (seconds > 0) {
    ::SetTimer(hwnd(), kDisplayTimer, static_cast<UINT>(seconds) * 1000u, nullptr);
  } else {
    ::KillTimer(hwnd(), kDisplayTimer);
  }
}

void Splash::Remove() {
  if (hwnd() == nullptr || fadeStep_ > 0) return;
  auto setLayered = LayeredAttributesIfAny();
  if (setLayered == nullptr || !::IsWindowVisible(hwnd())) {
    ::DestroyWindow(hwnd());
    return;
  }
  LONG_PTR ex = ::GetWindowLongPtrA(hwnd(), GWL_EXSTYLE);
  ::SetWindowLongPtrA(hwnd(), GWL_EXSTYLE, ex | WS_EX_LAYERED);
  if (!setLayered(hwnd(), 0, 255, LWA_ALPHA)) {
    ::DestroyWindow(hwnd());
    return;
  }
  fadeStep_ = 1;
  ::SetTimer(hwnd(), kFadeTimer, kFadeInterval, nullptr);
}

LRESULT Splash::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      win32::ScopedPaint paint(hwnd());
      win32::UniqueHdc memory(::CreateCompatibleDC(paint.dc()));
      if (memory && picture_) {
        win32::ScopedSelect select(memory.get(), picture_.get());
        ::BitBlt(paint.dc(), 0, 0, width_, height_, memory.get(), 0, 0, SRCCOPY);
      }
      return 0;
    }
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_TIMER:
      if (wParam == kDisplayTimer) {
        ::KillTimer(hwnd(), kDisplayTimer);
        Remove();
      } else if (wParam == kFadeTimer) {
        if (fadeStep_ >= kFadeSteps) {
          ::KillTimer(hwnd(), kFadeTimer);
          ::DestroyWindow(hwnd());
        } else {
          auto alpha = static_cast<BYTE>(255 - 255 * fadeStep_ / kFadeSteps);
          if (auto setLayered = LayeredAttributesIfAny()) setLayered(hwnd(), 0, alpha, LWA_ALPHA);
          ++fadeStep_;
        }
      }
      return 0;
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace corvane::shell
