#include "shell/messages/win32/msgFrm.h"

#include <cstring>
#include <memory>
#include "platform/win32/Dib.h"
#include "platform/win32/MessagePump.h"
#include "platform/win32/Screen.h"

namespace corvane::shell {

namespace {

constexpr UINT_PTR kTimer1 = 1;

HFONT GuiFont() { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

// GetScreenSize: the display's size in pixels.
SIZE GetScreenSize() {
  win32::ScopedGetDc screen(nullptr);
  if (screen.get() == nullptr) return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  return {::GetDeviceCaps(screen.get(), HORZRES), ::GetDeviceCaps(screen.get(), VERTRES)};
}

std::array<POINT, 3> ToPoints(const Triangle& t) {
  return {{{t[0].x, t[0].y}, {t[1].x, t[1].y}, {t[2].x, t[2].y}}};
}

HRGN RoundRegion(const RoundRectShape& s) {
  return ::CreateRoundRectRgn(s.rect.left, s.rect.top, s.rect.right, s.rect.bottom,
                              s.ellipseWidth, s.ellipseHeight);
}

RECT ToRect(const RectI& r) { return {r.left, r.top, r.right, r.bottom}; }

std::unique_ptr<msgFrm>& NotificationInstance() {
  static std::unique_ptr<msgFrm> instance;
  return instance;
}

}  // namespace

msgFrm::~msgFrm() { ReleaseBackBuffer(); }

bool msgFrm::LoadWindow(HWND owner) {
  if (hwnd() != nullptr) return true;
  metrics_.twipsPerPixelX = win32::ScreenTwipsPerPixel(LOGPIXELSX);
  metrics_.twipsPerPixelY = win32::ScreenTwipsPerPixel(LOGPIXELSY);
  strip_ = MakeIconStrip();
  if (!titleFont_) {
    LOGFONTA font{};
    ::GetObjectA(GuiFont(), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    titleFont_.reset(::CreateFontIndirectA(&font));
  }
  WNDCLASSEXA wc{};
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = nullptr;  // everything comes from the back buffer
  width_ = metrics_.WindowWidth();
  height_ = 200;
  if (!CreateBound(kClassName, wc, WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT, "",
                   WS_POPUP | WS_CLIPCHILDREN, 0, 0, width_, height_, owner, nullptr,
                   ::GetModuleHandleA(nullptr))) {
    return false;
  }
  CreateControls();
  return true;
}

void msgFrm::CreateControls() {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  auto make = [&](const char* cls, DWORD style, DWORD exStyle, int id) {
    HWND control = ::CreateWindowExA(exStyle, cls, "", WS_CHILD | style, 0, 0, 10, 10, hwnd(),
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                                     nullptr);
    if (control != nullptr) {
      (void)::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), 0);
    }
  };
  for (int i = 0; i < 3; ++i) make("BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, kIdCmd1 + i);
  make("BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, kIdCheck1);
  make("EDIT", ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER, 0, kIdText);
  make("BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, kIdCancel);
  make("BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, kIdOk);
  make("BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, kIdCheck2);
  (void)::SetWindowTextA(Item(kIdCancel), "Cancel");
  (void)::SetWindowTextA(Item(kIdOk), "OK");
}

MeasureText msgFrm::Measurer() {
  return [this](const std::string& text, int widthTwips) {
    win32::ScopedGetDc dc(hwnd());
    win32::ScopedSelect font(dc.get(), GuiFont());
    RECT r{0, 0, widthTwips / metrics_.twipsPerPixelX, 0};
    (void)::DrawTextA(dc.get(), text.c_str(), static_cast<int>(text.size()), &r,
                      DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return static_cast<int>(r.bottom - r.top) * metrics_.twipsPerPixelY;
  };
}

void msgFrm::Prepare(Mode mode, const std::string& title, const std::string& message,
                     std::uint32_t mColor, std::int16_t Intensity) {
  mode_ = mode;
  title_ = title;
  message_ = message;
  balloonColor_ = static_cast<COLORREF>(BalloonColorFor(mColor));
  balloonBrush_.reset(::CreateSolidBrush(balloonColor_));
  tag_ = IntensityTag(Intensity);
  closeMark_ = CloseMark();
  closePressed_ = false;
  (void)::SetWindowTextA(hwnd(), title.c_str());
}

void msgFrm::PlaceControls() {
  auto place = [&](int id, bool visible, const RectI& r, const char* caption) {
    HWND control = Item(id);
    if (control == nullptr) return;
    if (caption != nullptr) (void)::SetWindowTextA(control, caption);
    (void)::SetWindowPos(control, nullptr, r.left, r.top, r.width(), r.height(),
                         SWP_NOZORDER | SWP_NOACTIVATE);
    (void)::ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
  };
  bool box = mode_ == Mode::MessageBox;
  bool input = mode_ == Mode::InputBox;
  for (int i = 0; i < 3; ++i) {
    const auto& b = layout_.buttons[static_cast<std::size_t>(i)];
    place(kIdCmd1 + i, box && b.visible, layout_.buttonRects[static_cast<std::size_t>(i)],
          box ? b.caption.c_str() : nullptr);
  }
  place(kIdCheck1, box && layout_.checkVisible, layout_.check, nullptr);
  place(kIdText, input, layout_.textBox, nullptr);
  place(kIdCancel, input, layout_.buttonRects[0], nullptr);
  place(kIdOk, input, layout_.buttonRects[1], nullptr);
  place(kIdCheck2, input && layout_.checkVisible, layout_.check, nullptr);
}

bool msgFrm::CreateBackBuffer(int width, int height) {
  ReleaseBackBuffer();
  win32::ScopedGetDc screen(nullptr);
  memDc_.reset(::CreateCompatibleDC(screen.get()));
  if (!memDc_) return false;
  // Top-down, the layout of Image.
  void* bits = nullptr;
  dib_ = win32::CreateTopDownDib(screen.get(), width, height, bits);
  if (!dib_) {
    memDc_.reset();
    return false;
  }
  bits_ = static_cast<Pixel*>(bits);
  previousBitmap_ = ::SelectObject(memDc_.get(), dib_.get());
  return true;
}

void msgFrm::ReleaseBackBuffer() {
  if (memDc_ && previousBitmap_ != nullptr) ::SelectObject(memDc_.get(), previousBitmap_);
  previousBitmap_ = nullptr;
  bits_ = nullptr;
  dib_.reset();
  memDc_.reset();
}

// CaptureScreenArea: the screen under the window's rectangle, into the back
// buffer and into behind_, from which the shadow bands are taken.
void msgFrm::CaptureScreenArea() {
  RECT rect{};
  ::GetWindowRect(hwnd(), &rect);
  // Only the part on the screen is read: the notification reaches two
  // pixels past the right edge, and a read that leaves the screen can fail
  // as a whole. What lies off the screen is never seen anyway.
  RECT screenRect{::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
  screenRect.right = screenRect.left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
  screenRect.bottom = screenRect.top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  RECT visible{};
  ::GdiFlush();
  std::memset(bits_, 0, static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * sizeof(Pixel));
  if (::IntersectRect(&visible, &rect, &screenRect)) {
    win32::ScopedGetDc screen(nullptr);
    (void)::BitBlt(memDc_.get(), visible.left - rect.left, visible.top - rect.top,
                   visible.right - visible.left, visible.bottom - visible.top, screen.get(),
                   visible.left, visible.top, SRCCOPY);
  }
  ::GdiFlush();
  behind_ = Image(width_, height_);
  std::memcpy(behind_.view().pixels, bits_,
              static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * sizeof(Pixel));
}

void msgFrm::n_GetShadowRect(std::int16_t Inty) {
  // The window must not be on the screen yet (or must be shaped to its body
  // alone): the bands are the screen behind it, darkened.
  CaptureScreenArea();
  ImageView canvas{bits_, width_, height_};
  PaintShadow(behind_.view(), canvas, Inty);
}

void msgFrm::n_GetMainRect() {
  ::GdiFlush();
  mainRegion_.reset(RoundRegion(BodyRegion(width_, height_)));
  win32::UniqueHbrush edge(::CreateSolidBrush(RGB(70, 70, 70)));
  (void)::FillRgn(memDc_.get(), mainRegion_.get(), edge.get());
  RoundRectShape fill = BodyFill(width_, height_);
  win32::ScopedSelect brush(memDc_.get(), balloonBrush_.get());
  win32::ScopedSelect pen(memDc_.get(), ::GetStockObject(BLACK_PEN));
  (void)::RoundRect(memDc_.get(), fill.rect.left, fill.rect.top, fill.rect.right, fill.rect.bottom,
                    fill.ellipseWidth, fill.ellipseHeight);
}

void msgFrm::n_SetPointer(int idx) {
  auto shape = PointerTriangles(idx, width_, height_);
  if (!shape) return;  // style 0: nothing painted, the previous region kept
  auto outer = ToPoints(shape->outer);
  auto inner = ToPoints(shape->inner);
  {
    win32::ScopedSelect brush(memDc_.get(), ::GetStockObject(BLACK_BRUSH));
    win32::ScopedSelect pen(memDc_.get(), ::GetStockObject(BLACK_PEN));
    (void)::Polygon(memDc_.get(), outer.data(), 3);
  }
  {
    win32::UniqueHpen balloonPen(::CreatePen(PS_SOLID, 1, balloonColor_));
    win32::ScopedSelect brush(memDc_.get(), balloonBrush_.get());
    win32::ScopedSelect pen(memDc_.get(), balloonPen.get());
    (void)::Polygon(memDc_.get(), inner.data(), 3);
  }
  pointerRegion_.reset(::CreatePolygonRgn(outer.data(), 3, WINDING));
}

// The window's shape: body, and the shadow and pointer when asked. The
// system owns the combined region once it has it.
void msgFrm::ApplyShape(bool withShadow, bool withPointer) {
  win32::UniqueHrgn shape(::CreateRectRgn(0, 0, 0, 0));
  (void)::CombineRgn(shape.get(), mainRegion_.get(), nullptr, RGN_COPY);
  if (withShadow) {
    win32::UniqueHrgn shadow(RoundRegion(ShadowRegion(width_, height_)));
    (void)::CombineRgn(shape.get(), shape.get(), shadow.get(), RGN_OR);
  }
  if (withPointer && pointerRegion_) {
    (void)::CombineRgn(shape.get(), shape.get(), pointerRegion_.get(), RGN_OR);
  }
  if (::SetWindowRgn(hwnd(), shape.get(), TRUE) != 0) (void)shape.release();
}

int msgFrm::GetPointerStyle(float X, float Y) {
  POINT cursor{};
  (void)::GetCursorPos(&cursor);
  SIZE screen = GetScreenSize();
  Placement p = shell::GetPointerStyle(X, Y, {cursor.x, cursor.y}, screen.cx, screen.cy, width_,
                                       height_);
  (void)::SetWindowPos(hwnd(), nullptr, p.left, p.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return p.style;
}

void msgFrm::PaintCell(int cell, const RectI& where) {
  ::GdiFlush();
  Image picture = IconCell(strip_, cell, PixelFromRgb(balloonColor_));
  ImageView canvas{bits_, width_, height_};
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) canvas.Set(where.left + x, where.top + y, picture.At(x, y));
  }
}

// The panel and what is drawn on it: icon, title, message, close mark.
void msgFrm::PaintContents() {
  RECT panel = ToRect(layout_.panel);
  (void)::FillRect(memDc_.get(), &panel, balloonBrush_.get());
  (void)::SetBkMode(memDc_.get(), TRANSPARENT);
  (void)::SetTextColor(memDc_.get(), RGB(0, 0, 0));
  {
    win32::ScopedSelect font(memDc_.get(), titleFont_ ? titleFont_.get() : GuiFont());
    RECT title = ToRect(layout_.title);
    (void)::DrawTextA(memDc_.get(), title_.c_str(), static_cast<int>(title_.size()), &title,
                      DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  {
    win32::ScopedSelect font(memDc_.get(), GuiFont());
    RECT message = ToRect(layout_.message);
    (void)::DrawTextA(memDc_.get(), message_.c_str(), static_cast<int>(message_.size()), &message,
                      DT_WORDBREAK | DT_NOPREFIX);
  }
  if (layout_.iconVisible) PaintCell(layout_.iconCell, layout_.icon);
  if (mode_ == Mode::Notification) PaintCell(closeMark_.cell(), layout_.closeMark);
  ::GdiFlush();
}

void msgFrm::DrawBalloon(bool NoPointer, float X, float Y, std::int16_t Inty) {
  noPointer_ = NoPointer;
  if (!CreateBackBuffer(width_, height_)) return;
  // Placed first and painted while still hidden: the shadow needs the
  // screen without the window on it.
  pointerStyle_ = GetPointerStyle(X, Y);
  n_GetShadowRect(Inty);
  n_GetMainRect();
  pointerRegion_.reset();
  if (!NoPointer) n_SetPointer(pointerStyle_);
  PaintContents();
  ApplyShape(true, !NoPointer);
  (void)::InvalidateRect(hwnd(), nullptr, FALSE);
}

void msgFrm::n_RefreshShadow(std::int16_t Inty) {
  n_GetShadowRect(Inty);
  n_GetMainRect();
  PaintContents();
  ApplyShape(true, false);
  (void)::InvalidateRect(hwnd(), nullptr, FALSE);
  (void)::UpdateWindow(hwnd());
}

void msgFrm::StartDrag() {
  if (mode_ == Mode::Notification || dragging_ || !memDc_) return;
  dragging_ = true;
  // While it moves the window is its body alone, edged above and below.
  n_GetMainRect();
  PaintContents();
  {
    win32::ScopedSelect pen(memDc_.get(), ::GetStockObject(BLACK_PEN));
    (void)::MoveToEx(memDc_.get(), 5, 20, nullptr);
    (void)::LineTo(memDc_.get(), width_ - 5, 20);
    (void)::MoveToEx(memDc_.get(), 5, height_ - 25, nullptr);
    (void)::LineTo(memDc_.get(), width_ - 5, height_ - 25);
  }
  ApplyShape(false, false);
  (void)::UpdateWindow(hwnd());

  // The system's move loop, as if the caption were dragged; it returns when
  // the button is released.
  POINT cursor{};
  (void)::GetCursorPos(&cursor);
  (void)::ReleaseCapture();
  (void)::SendMessageA(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(cursor.x, cursor.y));

  // Let what the move uncovered repaint before the screen behind is read.
  win32::DispatchWaitingMessages();
  if (hwnd() != nullptr) {
    // The pointer is gone after a move.
    noPointer_ = true;
    n_RefreshShadow(IntensityFromTag(tag_));
  }
  dragging_ = false;
}

void msgFrm::RunModal(HWND owner) {
  done_ = false;
  bool ownerWasEnabled = owner != nullptr && ::IsWindowEnabled(owner);
  if (ownerWasEnabled) (void)::EnableWindow(owner, FALSE);
  (void)::ShowWindow(hwnd(), SW_SHOW);
  (void)::SetForegroundWindow(hwnd());
  MSG message;
  while (!done_ && hwnd() != nullptr) {
    BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      // The program is ending: hand the quit on to the outer loop.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got == -1) break;
    if (!::IsDialogMessageA(hwnd(), &message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }
  if (ownerWasEnabled) (void)::EnableWindow(owner, TRUE);
}

void msgFrm::Finish(std::int16_t code) {
  resultCode_ = code;
  done_ = true;
  (void)::ShowWindow(hwnd(), SW_HIDE);
}

std::int16_t msgFrm::RunMessageBox(const MessageBoxArgs& args, bool NoPointer, std::uint32_t mColor,
                                   float X, float Y, std::int16_t Intensity, HWND owner) {
  Prepare(Mode::MessageBox, args.mCaption, args.mPrompt, mColor, Intensity);
  layout_ = LayoutMessageBox(args, metrics_, Measurer());
  width_ = layout_.windowWidth;
  height_ = layout_.windowHeight;
  (void)::SetWindowPos(hwnd(), nullptr, 0, 0, width_, height_,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  (void)::SetWindowTextA(Item(kIdCheck1), args.CheckboxTxt.c_str());
  (void)::SendMessageA(Item(kIdCheck1), BM_SETCHECK, BST_UNCHECKED, 0);
  PlaceControls();
  DrawBalloon(NoPointer, X, Y, Intensity);
  defaultButton_ = SetDefaultButton(args.mFlags, defaultButton_);
  resultCode_ = 0;
  RunModal(owner);
  bool checked = ::SendMessageA(Item(kIdCheck1), BM_GETCHECK, 0, 0) == BST_CHECKED;
  return MessageBoxResult(resultCode_, checked);
}

std::string msgFrm::RunInputBox(const std::string& mPrompt, std::int32_t mFlags,
                                const std::string& mCaption, const std::string& DefaultText,
                                bool NoPointer, const std::string& CheckboxTxt,
                                std::uint32_t mColor, float X, float Y, std::int16_t Intensity,
                                HWND owner) {
  Prepare(Mode::InputBox, mCaption, mPrompt, mColor, Intensity);
  layout_ = LayoutInputBox(mPrompt, mFlags, CheckboxTxt, metrics_, Measurer());
  width_ = layout_.windowWidth;
  height_ = layout_.windowHeight;
  (void)::SetWindowPos(hwnd(), nullptr, 0, 0, width_, height_,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  (void)::SetWindowTextA(Item(kIdCheck2), CheckboxTxt.c_str());
  (void)::SendMessageA(Item(kIdCheck2), BM_SETCHECK, BST_UNCHECKED, 0);
  (void)::SetWindowTextA(Item(kIdText), DefaultText.c_str());
  PlaceControls();
  DrawBalloon(NoPointer, X, Y, Intensity);
  resultCode_ = -1;
  RunModal(owner);
  char text[1024] = {};
  (void)::GetWindowTextA(Item(kIdText), text, sizeof text);
  bool checked = ::SendMessageA(Item(kIdCheck2), BM_GETCHECK, 0, 0) == BST_CHECKED;
  return InputBoxResult(text, resultCode_, checked);
}

void msgFrm::ShowNotification(const std::string& mPrompt, std::int32_t mFlags,
                              const std::string& mCaption, std::int16_t nTime, bool NoPointer,
                              std::uint32_t mColor, float X, float Y, std::int16_t Intensity) {
  (void)::KillTimer(hwnd(), kTimer1);
  // Laid out again from the start: hidden, so that its shadow is taken
  // from the screen without it.
  if (::IsWindowVisible(hwnd())) {
    (void)::ShowWindow(hwnd(), SW_HIDE);
    (void)::SetWindowRgn(hwnd(), nullptr, FALSE);
  }
  Prepare(Mode::Notification, mCaption, mPrompt, mColor, Intensity);
  layout_ = LayoutNotification(mPrompt, mFlags, metrics_, Measurer());
  width_ = layout_.windowWidth;
  height_ = layout_.windowHeight;
  (void)::SetWindowPos(hwnd(), nullptr, 0, 0, width_, height_,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  PlaceControls();
  DrawBalloon(NoPointer, X, Y, Intensity);
  (void)::SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  (void)::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  (void)::UpdateWindow(hwnd());
  unsigned interval = NotificationIntervalMs(nTime);
  if (interval > 0) (void)::SetTimer(hwnd(), kTimer1, interval, nullptr);
}

void msgFrm::PressButton(int index) {
  if (index < 0 || index > 2) return;
  const auto& b = layout_.buttons[static_cast<std::size_t>(index)];
  if (b.visible) Finish(b.code);
}

void msgFrm::OnOk() {
  char text[1024] = {};
  (void)::GetWindowTextA(Item(kIdText), text, sizeof text);
  // An empty text keeps the box open.
  if (InputOkCloses(text)) Finish(0);
}

LRESULT msgFrm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      win32::ScopedPaint paint(hwnd());
      const RECT& area = paint.area();
      if (memDc_) {
        (void)::BitBlt(paint.dc(), area.left, area.top, area.right - area.left,
                       area.bottom - area.top, memDc_.get(), area.left, area.top, SRCCOPY);
      }
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the back buffer covers everything
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      (void)::SetBkColor(dc, balloonColor_);
      return reinterpret_cast<LRESULT>(balloonBrush_.get());
    }
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      if (HIWORD(wParam) != BN_CLICKED && lParam != 0) break;
      if (mode_ == Mode::MessageBox) {
        if (id >= kIdCmd1 && id <= kIdCmd1 + 2) {
          PressButton(id - kIdCmd1);
        } else if (id == IDOK) {
          // Enter: the focused button, else the default one.
          HWND focus = ::GetFocus();
          int focusId = focus != nullptr && ::GetParent(focus) == hwnd() ? ::GetDlgCtrlID(focus) : 0;
          PressButton(focusId >= kIdCmd1 && focusId <= kIdCmd1 + 2 ? focusId - kIdCmd1
                                                                  : defaultButton_ - 1);
        }
      } else if (mode_ == Mode::InputBox) {
        if (id == kIdOk || id == IDOK) OnOk();
        if (id == kIdCancel || id == IDCANCEL) Finish(-1);
      }
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) {
        if (mode_ == Mode::MessageBox && defaultButton_ >= 1 && defaultButton_ <= 3 &&
            layout_.buttons[static_cast<std::size_t>(defaultButton_ - 1)].visible) {
          (void)::SetFocus(Item(kIdCmd1 + defaultButton_ - 1));
          return 0;
        }
        if (mode_ == Mode::InputBox) {
          (void)::SetFocus(Item(kIdText));
          (void)::SendMessageA(Item(kIdText), EM_SETSEL, 0, -1);
          return 0;
        }
      }
      break;
    case WM_LBUTTONDOWN: {
      int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
      if (mode_ == Mode::Notification) {
        if (layout_.closeMark.Contains(x, y)) {
          closePressed_ = true;
          (void)::SetCapture(hwnd());
          if (closeMark_.ButtonDown()) {
            PaintCell(closeMark_.cell(), layout_.closeMark);
            RECT r = ToRect(layout_.closeMark);
            (void)::InvalidateRect(hwnd(), &r, FALSE);
          }
        }
        return 0;
      }
      StartDrag();
      return 0;
    }
    case WM_MOUSEMOVE: {
      int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
      if (mode_ == Mode::Notification) {
        bool changed = false;
        if (layout_.closeMark.Contains(x, y)) {
          changed = closeMark_.MouseMoveOverMark();
        } else if (layout_.panel.Contains(x, y)) {
          changed = closeMark_.MouseMoveOverPanel();
        }
        if (changed) {
          PaintCell(closeMark_.cell(), layout_.closeMark);
          RECT r = ToRect(layout_.closeMark);
          (void)::InvalidateRect(hwnd(), &r, FALSE);
        }
        return 0;
      }
      if ((wParam & MK_LBUTTON) != 0 &&
          (layout_.panel.Contains(x, y) || layout_.message.Contains(x, y))) {
        StartDrag();
      }
      return 0;
    }
    case WM_LBUTTONUP:
      if (mode_ == Mode::Notification && closePressed_) {
        closePressed_ = false;
        (void)::ReleaseCapture();
        int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
        (void)closeMark_.ButtonUp();
        if (layout_.closeMark.Contains(x, y)) {
          (void)::KillTimer(hwnd(), kTimer1);
          (void)::DestroyWindow(hwnd());
          return 0;
        }
        (void)closeMark_.MouseMoveOverPanel();
        PaintCell(closeMark_.cell(), layout_.closeMark);
        RECT r = ToRect(layout_.closeMark);
        (void)::InvalidateRect(hwnd(), &r, FALSE);
      }
      return 0;
    case WM_TIMER:
      if (wParam == kTimer1) {
        // The notification's time is up: it closes itself.
        (void)::KillTimer(hwnd(), kTimer1);
        (void)::DestroyWindow(hwnd());
        return 0;
      }
      break;
    case WM_CLOSE:
      if (mode_ == Mode::Notification) {
        (void)::DestroyWindow(hwnd());
      } else {
        Finish(mode_ == Mode::InputBox ? -1 : 0);
      }
      return 0;
    case WM_DESTROY:
      done_ = true;
      break;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

std::int16_t msg_Box(const std::string& mPrompt, std::int32_t mFlags, const std::string& mCaption,
                     bool NoPointer, const std::string& CheckboxTxt, const std::string& Btn1,
                     const std::string& Btn2, const std::string& Btn3, std::uint32_t mColor,
                     float X, float Y, std::int16_t Intensity, HWND owner) {
  msgFrm window;
  if (!window.LoadWindow(owner)) return 0;
  MessageBoxArgs args{mPrompt, mFlags, mCaption, CheckboxTxt, Btn1, Btn2, Btn3};
  return window.RunMessageBox(args, NoPointer, mColor, X, Y, Intensity, owner);
}

std::string input_box(const std::string& mPrompt, std::int32_t mFlags, const std::string& mCaption,
                      const std::string& DefaultText, bool NoPointer,
                      const std::string& CheckboxTxt, std::uint32_t mColor, float X, float Y,
                      std::int16_t Intensity, HWND owner) {
  msgFrm window;
  if (!window.LoadWindow(owner)) return {};
  return window.RunInputBox(mPrompt, mFlags, mCaption, DefaultText, NoPointer, CheckboxTxt, mColor,
                            X, Y, Intensity, owner);
}

void MsgAuto_box(const std::string& mPrompt, std::int32_t mFlags, const std::string& mCaption,
                 std::int16_t nTime, bool NoPointer, std::uint32_t mColor, float X, float Y,
                 std::int16_t Intensity) {
  auto& instance = NotificationInstance();
  if (!instance) instance = std::make_unique<msgFrm>();
  if (!instance->LoadWindow(nullptr)) return;
  instance->ShowNotification(mPrompt, mFlags, mCaption, nTime, NoPointer, mColor, X, Y, Intensity);
}

void ShowProgramStillRunningNotification() {
  SIZE screen = GetScreenSize();
  MsgAuto_box("The Program Still Running Here", 64, "Program notification", 5, true,
              Rgb(242, 248, 200), static_cast<float>(screen.cx) - 40.0f,
              static_cast<float>(screen.cy), 0);
}

HWND NotificationWindow() {
  auto& instance = NotificationInstance();
  return instance ? instance->hwnd() : nullptr;
}

void CloseNotification() {
  auto& instance = NotificationInstance();
  if (instance && instance->hwnd() != nullptr) ::DestroyWindow(instance->hwnd());
}

}  // namespace corvane::shell
