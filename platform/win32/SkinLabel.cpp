#include "platform/win32/SkinLabel.h"

#include <vector>

#include "platform/skin/ControlSkins.h"
#include "platform/win32/Handle.h"

namespace corvane::win32 {

namespace {

void Paint(HWND hwnd) {
  ScopedPaint paint(hwnd);
  RECT client{};
  ::GetClientRect(hwnd, &client);
  int width = client.right;
  int height = client.bottom;
  if (width <= 0 || height <= 0) return;
  UniqueHdc memory(::CreateCompatibleDC(paint.dc()));
  UniqueHbitmap bitmap(::CreateCompatibleBitmap(paint.dc(), width, height));
  if (!memory || !bitmap) return;
  ScopedSelect selectBitmap(memory.get(), bitmap.get());

  // Colours as a static text gets them: from the parent, which the skin
  // answers for a skinned label or form.
  HWND parent = ::GetParent(hwnd);
  ::SetTextColor(memory.get(), ::GetSysColor(COLOR_WINDOWTEXT));
  ::SetBkColor(memory.get(), ::GetSysColor(COLOR_BTNFACE));
  auto brush = reinterpret_cast<HBRUSH>(
      parent != nullptr ? ::SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(memory.get()),
                                         reinterpret_cast<LPARAM>(hwnd))
                        : 0);
  if (brush == nullptr) brush = ::GetSysColorBrush(COLOR_BTNFACE);
  if (!::IsWindowEnabled(hwnd)) ::SetTextColor(memory.get(), ::GetSysColor(COLOR_GRAYTEXT));
  ::FillRect(memory.get(), &client, brush);

  auto font = reinterpret_cast<HFONT>(::SendMessageA(hwnd, WM_GETFONT, 0, 0));
  ScopedSelect selectFont(memory.get(), font != nullptr ? static_cast<HGDIOBJ>(font)
                                                        : ::GetStockObject(DEFAULT_GUI_FONT));
  int length = ::GetWindowTextLengthA(hwnd);
  std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
  ::GetWindowTextA(hwnd, text.data(), length + 1);
  auto style = static_cast<DWORD>(::GetWindowLongPtrA(hwnd, GWL_STYLE));
  UINT align = (style & SS_TYPEMASK) == SS_CENTER ? DT_CENTER
               : (style & SS_TYPEMASK) == SS_RIGHT ? DT_RIGHT
                                                   : DT_LEFT;
  ::SetBkMode(memory.get(), TRANSPARENT);
  RECT textRect = client;
  ::DrawTextA(memory.get(), text.data(), length, &textRect, align | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  ::BitBlt(paint.dc(), 0, 0, width, height, memory.get(), 0, 0, SRCCOPY);
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint fills everything, off screen
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_SETFONT:
      ::SetWindowLongPtrA(hwnd, 0, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam) != 0) ::InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return ::GetWindowLongPtrA(hwnd, 0);
    case WM_SETTEXT:
    case WM_ENABLE: {
      LRESULT result = ::DefWindowProcA(hwnd, message, wParam, lParam);
      ::InvalidateRect(hwnd, nullptr, FALSE);
      return result;
    }
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // read-only text: clicks belong to what is under it
    default:
      return ::DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

bool SkinLabel::Register(HINSTANCE instance) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExA(instance, skin::kSkinLabelClass, &existing)) return true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_PARENTDC;
  wc.lpfnWndProc = &LabelProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = skin::kSkinLabelClass;
  return ::RegisterClassExA(&wc) != 0;
}

SkinLabel::~SkinLabel() {
  if (hwnd_ != nullptr && ::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
}

bool SkinLabel::Create(HWND parent, int id, const std::string& text, int left, int top, int width,
                       int height, DWORD style) {
  auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(parent, GWLP_HINSTANCE));
  if (!Register(instance)) return false;
  hwnd_ = ::CreateWindowExA(0, skin::kSkinLabelClass, text.c_str(), WS_CHILD | style, left, top,
                            width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            instance, nullptr);
  if (hwnd_ != nullptr) {
    ::SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  }
  return hwnd_ != nullptr;
}

std::string SkinLabel::Text() const {
  if (hwnd_ == nullptr) return {};
  int length = ::GetWindowTextLengthA(hwnd_);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  int copied = ::GetWindowTextA(hwnd_, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

void SkinLabel::SetText(const std::string& text) {
  if (hwnd_ != nullptr) ::SetWindowTextA(hwnd_, text.c_str());
}

}  // namespace corvane::win32
