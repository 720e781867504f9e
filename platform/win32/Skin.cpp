#include "platform/win32/Skin.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>

#include "platform/FileBytes.h"
#include "platform/skin/ControlSkins.h"
#include "platform/win32/Handle.h"

namespace corvane::win32 {

namespace {

// The state of every window this process skins, by handle, for the shared
// window procedure. Kept in the process (a window property would be asked
// of the window system on every message); windows are skinned and their
// messages handled on the user-interface thread only.
std::unordered_map<HWND, Skin::Skinned*>& SkinnedWindows() {
  static std::unordered_map<HWND, Skin::Skinned*> table;
  return table;
}

enum class Painter {
  HostOnly,    // not skinned itself; answers for its skinned children
  Surface,     // forms, frames, the main window: background
  PushButton,  // owner-drawn face, hover and default state
  Choice,      // check boxes and option buttons: colours and font via the parent
  Label,       // static text and skin labels: colours and font via the parent
  GroupBox,    // outline and caption drawn here
};

std::string ClassOf(HWND hwnd) {
  char name[256] = {};
  int n = ::GetClassNameA(hwnd, name, sizeof name);
  return std::string(name, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::optional<Painter> PainterFor(HWND hwnd) {
  std::string className = ClassOf(hwnd);
  auto style = static_cast<std::uint32_t>(::GetWindowLongPtrA(hwnd, GWL_STYLE));
  switch (skin::ClassifyControl(className, style)) {
    case skin::ControlKind::CommandButton: return Painter::PushButton;
    case skin::ControlKind::CheckBox:
    case skin::ControlKind::OptionButton: return Painter::Choice;
    case skin::ControlKind::Frame: return Painter::GroupBox;
    case skin::ControlKind::Label:
    case skin::ControlKind::SkinLabel: return Painter::Label;
    case skin::ControlKind::Other: break;
  }
  // The system's other controls keep their plain look: the skin does not
  // know how they draw. Windows of the program's own classes and dialogs
  // are surfaces.
  static constexpr const char* kPlainClasses[] = {
      "Button",   "Edit",           "ListBox",          "ComboBox",        "ComboLBox",
      "ScrollBar", "RichEdit",      "RichEdit20A",      "SysListView32",   "SysTreeView32",
      "SysTabControl32", "msctls_trackbar32", "msctls_updown32", "msctls_progress32",
      "SysHeader32", "ToolbarWindow32", "msctls_statusbar32", "SysIPAddress32", "tooltips_class32"};
  for (const char* plain : kPlainClasses) {
    if (::lstrcmpiA(className.c_str(), plain) == 0) return std::nullopt;
  }
  return Painter::Surface;
}

UniqueHfont CreateSkinFont(const skin::SkinObject& object) {
  ScopedGetDc screen(nullptr);
  int dpi = screen.get() != nullptr ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
  LOGFONTA lf{};
  lf.lfHeight = -::MulDiv(object.fontSize, dpi, 72);
  lf.lfWeight = object.bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynA(lf.lfFaceName, object.font.c_str(), LF_FACESIZE);
  return UniqueHfont(::CreateFontIndirectA(&lf));
}

COLORREF Mix(COLORREF a, COLORREF b, int num, int den) {
  auto mix = [&](int x, int y) { return static_cast<BYTE>(x + (y - x) * num / (den > 0 ? den : 1)); };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
             mix(GetBValue(a), GetBValue(b)));
}

using TrackMouseEventFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);

// TrackMouseEvent is missing on Windows 95; buttons then simply show no
// hover look there.
TrackMouseEventFn TrackMouseEventIfAny() {
  static TrackMouseEventFn fn = [] {
    HMODULE user32 = ::GetModuleHandleA("user32.dll");
    return user32 != nullptr
               ? reinterpret_cast<TrackMouseEventFn>(
                     reinterpret_cast<void*>(::GetProcAddress(user32, "TrackMouseEvent")))
               : nullptr;
  }();
  return fn;
}

}  // namespace

void FillVerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
  int height = rect.bottom - rect.top;
  if (height <= 0 || rect.right <= rect.left) return;
  if (top == bottom) {
    UniqueHbrush brush(::CreateSolidBrush(top));
    ::FillRect(dc, &rect, brush.get());
    return;
  }
  // Bands of equal colour, so that a tall surface costs few calls.
  int last = -1;
  RECT band = rect;
  for (int y = 0; y < height; ++y) {
    COLORREF color = Mix(top, bottom, y, height - 1);
    if (y == height - 1 || Mix(top, bottom, y + 1, height - 1) != color) {
      band.top = rect.top + last + 1;
      band.bottom = rect.top + y + 1;
      UniqueHbrush brush(::CreateSolidBrush(color));
      ::FillRect(dc, &band, brush.get());
      last = y;
    }
  }
}

struct Skin::Skinned {
  Skin* owner = nullptr;
  HWND hwnd = nullptr;
  WNDPROC previous = nullptr;
  Painter painter = Painter::HostOnly;
  std::string objectName;
  skin::SkinObject object;
  UniqueHbrush faceBrush;
  UniqueHfont font;
  HFONT previousFont = nullptr;
  bool fontSet = false;
  bool hover = false;
  bool isDefault = false;
  LONG_PTR buttonType = 0;  // a push button's own type, restored on detach
};

Skin::Skin() = default;

Skin::~Skin() {
  while (!windows_.empty()) Detach(windows_.begin()->first);
}

bool Skin::LoadSkinFile(const std::string& path) {
  skin_.reset();
  auto text = ReadFileBytes(path, skin::kMaxSkinFileSize);
  if (!text) {
    error_ = "the skin file " + path + " cannot be read";
    return false;
  }
  auto result = skin::ParseSkin(*text);
  if (!result.skin) {
    error_ = path + ", line " + std::to_string(result.line) + ": " + result.error;
    return false;
  }
  error_.clear();
  skin_ = std::move(result.skin);
  return true;
}

std::optional<std::string> Skin::AppliedObject(HWND window) const {
  auto found = windows_.find(window);
  if (found == windows_.end() || found->second->painter == Painter::HostOnly) return std::nullopt;
  return found->second->objectName;
}

Skin::Skinned* Skin::Attach(HWND window) {
  auto found = windows_.find(window);
  if (found != windows_.end()) return found->second.get();
  auto state = std::make_unique<Skinned>();
  state->owner = this;
  state->hwnd = window;
  SkinnedWindows()[window] = state.get();
  state->previous = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Skin::SubclassProc)));
  if (state->previous == nullptr) {
    SkinnedWindows().erase(window);
    return nullptr;
  }
  Skinned* raw = state.get();
  windows_.emplace(window, std::move(state));
  return raw;
}

void Skin::Detach(HWND window) {
  auto found = windows_.find(window);
  if (found == windows_.end()) return;
  std::unique_ptr<Skinned> state = std::move(found->second);
  windows_.erase(found);
  bool ours = ::GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Skin::SubclassProc);
  if (!ours) {
    // Someone subclassed the window after us and calls our procedure as its
    // previous one: keep the record alive, now only passing messages on.
    state->owner = nullptr;
    (void)state.release();
    return;
  }
  ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(state->previous));
  SkinnedWindows().erase(window);
  if (state->painter == Painter::PushButton) {
    LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
    ::SetWindowLongPtrA(window, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | state->buttonType);
  }
  if (state->fontSet) ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(state->previousFont), FALSE);
  ::InvalidateRect(window, nullptr, TRUE);
}

bool Skin::ApplySkin(HWND window, const std::string& objectName) {
  if (!skin_ || window == nullptr || !::IsWindow(window)) return false;
  const skin::SkinObject* object = skin_->Find(objectName);
  if (object == nullptr) return false;
  DWORD pid = 0;
  ::GetWindowThreadProcessId(window, &pid);
  if (pid != ::GetCurrentProcessId()) return false;
  auto painter = PainterFor(window);
  if (!painter) return false;

  // The parent answers WM_CTLCOLOR* and WM_DRAWITEM for its children, so
  // controls painted through their parent need the parent subclassed too.
  if (*painter == Painter::PushButton || *painter == Painter::Choice || *painter == Painter::Label) {
    HWND parent = ::GetParent(window);
    if (parent == nullptr || Attach(parent) == nullptr) return false;
  }
  Skinned* state = Attach(window);
  if (state == nullptr) return false;

  bool wasSkinned = state->painter != Painter::HostOnly;
  state->painter = *painter;
  state->objectName = objectName;
  state->object = *object;
  state->faceBrush.reset(::CreateSolidBrush(ToColorRef(object->face)));
  state->font = CreateSkinFont(*object);

  switch (*painter) {
    case Painter::PushButton: {
      LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
      if (!wasSkinned) {
        state->buttonType = style & BS_TYPEMASK;
        state->isDefault = state->buttonType == BS_DEFPUSHBUTTON;
      }
      // Owner drawing is the system's own way to give a push button another
      // face; the button keeps its place, size, visibility and behaviour.
      ::SetWindowLongPtrA(window, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
      break;
    }
    case Painter::Choice:
    case Painter::Label:
    case Painter::GroupBox:
      if (!state->fontSet) {
        state->previousFont = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
        state->fontSet = true;
      }
      if (state->font) ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(state->font.get()), FALSE);
      break;
    case Painter::Surface:
    case Painter::HostOnly:
      break;
  }
  ::InvalidateRect(window, nullptr, TRUE);
  return true;
}

LRESULT CALLBACK Skin::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto found = SkinnedWindows().find(hwnd);
  Skinned* state = found != SkinnedWindows().end() ? found->second : nullptr;
  if (state == nullptr) return ::DefWindowProcA(hwnd, message, wParam, lParam);
  if (state->owner == nullptr) {
    WNDPROC passTo = state->previous;
    if (message == WM_NCDESTROY) SkinnedWindows().erase(hwnd);
    return ::CallWindowProcA(passTo, hwnd, message, wParam, lParam);
  }
  WNDPROC previous = state->previous;
  try {
    return state->owner->Handle(*state, hwnd, message, wParam, lParam);
  } catch (...) {
    return ::CallWindowProcA(previous, hwnd, message, wParam, lParam);
  }
}

namespace {

void DrawPushButton(const skin::SkinObject& look, bool hover, bool isDefault, COLORREF behind,
                    HFONT font, const DRAWITEMSTRUCT& item) {
  RECT rc = item.rcItem;
  int width = rc.right - rc.left;
  int height = rc.bottom - rc.top;
  if (width <= 0 || height <= 0) return;
  // Drawn off screen and copied in one go: the face never flickers.
  UniqueHdc memory(::CreateCompatibleDC(item.hDC));
  UniqueHbitmap bitmap(::CreateCompatibleBitmap(item.hDC, width, height));
  if (!memory || !bitmap) return;
  ScopedSelect selectBitmap(memory.get(), bitmap.get());
  RECT local{0, 0, width, height};
  UniqueHbrush back(::CreateSolidBrush(behind));
  ::FillRect(memory.get(), &local, back.get());

  bool disabled = (item.itemState & ODS_DISABLED) != 0;
  bool pressed = (item.itemState & ODS_SELECTED) != 0;
  bool focused = (item.itemState & ODS_FOCUS) != 0;
  skin::Rgb top = look.face, bottom = look.face2;
  if (!disabled && pressed) {
    top = look.pressed;
    bottom = look.pressed2;
  } else if (!disabled && hover) {
    top = look.hover;
    bottom = look.hover2;
  }
  int diameter = look.radius * 2;
  UniqueHrgn shape(::CreateRoundRectRgn(0, 0, width + 1, height + 1, diameter, diameter));
  ::SelectClipRgn(memory.get(), shape.get());
  FillVerticalGradient(memory.get(), local, Skin::ToColorRef(top), Skin::ToColorRef(bottom));
  ::SelectClipRgn(memory.get(), nullptr);
  UniqueHbrush edge(::CreateSolidBrush(Skin::ToColorRef(
      !disabled && (focused || isDefault) ? look.accent : look.border)));
  ::FrameRgn(memory.get(), shape.get(), edge.get(), 1, 1);

  char text[256] = {};
  ::GetWindowTextA(item.hwndItem, text, sizeof text);
  ::SetBkMode(memory.get(), TRANSPARENT);
  ::SetTextColor(memory.get(), Skin::ToColorRef(disabled ? look.disabledText : look.text));
  HGDIOBJ useFont = font != nullptr ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT);
  ScopedSelect selectFont(memory.get(), useFont);
  RECT textRect = local;
  if (pressed) ::OffsetRect(&textRect, 1, 1);
  ::DrawTextA(memory.get(), text, -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ::BitBlt(item.hDC, rc.left, rc.top, width, height, memory.get(), 0, 0, SRCCOPY);
}

// A group box's outline and caption, or its caption alone over what stands
// there (a caption at least as wide as the one before covers it).
void DrawGroupBox(HWND hwnd, HDC dc, const skin::SkinObject& look, COLORREF behind, HFONT font, bool captionOnly) {
  if (dc == nullptr) return;
  RECT client{};
  ::GetClientRect(hwnd, &client);
  HGDIOBJ useFont = font != nullptr ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT);
  ScopedSelect selectFont(dc, useFont);
  char text[256] = {};
  int length = ::GetWindowTextA(hwnd, text, sizeof text);
  SIZE extent{0, 0};
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(dc, &metrics);
  // Captions follow the system's rule for group boxes: "&&" shows as one
  // "&", a single "&" underlines the letter after it.
  RECT measured{0, 0, 0, 0};
  if (length > 0) ::DrawTextA(dc, text, length, &measured, DT_SINGLELINE | DT_LEFT | DT_CALCRECT);
  extent.cx = measured.right - measured.left;
  if (!captionOnly) {
    int top = metrics.tmHeight / 2;
    int diameter = look.radius * 2;
    UniqueHrgn outline(::CreateRoundRectRgn(client.left, client.top + top, client.right + 1, client.bottom + 1,
                                            diameter, diameter));
    UniqueHbrush edge(::CreateSolidBrush(Skin::ToColorRef(look.border)));
    ::FrameRgn(dc, outline.get(), edge.get(), 1, 1);
  }
  if (length > 0) {
    RECT caption{client.left + 8, client.top, client.left + 8 + extent.cx + 8, client.top + metrics.tmHeight};
    UniqueHbrush back(::CreateSolidBrush(behind));
    ::FillRect(dc, &caption, back.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, Skin::ToColorRef(::IsWindowEnabled(hwnd) ? look.text : look.disabledText));
    RECT textRect{caption.left + 4, caption.top, caption.right, caption.bottom};
    ::DrawTextA(dc, text, length, &textRect, DT_SINGLELINE | DT_LEFT);
  }
}

void PaintGroupBox(HWND hwnd, const skin::SkinObject& look, COLORREF behind, HFONT font) {
  ScopedPaint paint(hwnd);
  DrawGroupBox(hwnd, paint.dc(), look, behind, font, false);
}

// Captions are measured in a memory device context of the process's own:
// asking the window system for a box's context each time a timer rewrites
// its caption would cost a round trip for the same figures.
HDC MeasuringDc() {
  static UniqueHdc dc(::CreateCompatibleDC(nullptr));
  return dc.get();
}

struct CaptionMeasure {
  int width = 0;   // the caption's text, as PaintGroupBox measures it
  int height = 0;  // the font's line
};

CaptionMeasure MeasureCaption(HWND hwnd, HFONT font) {
  CaptionMeasure measure;
  HDC dc = MeasuringDc();
  if (dc == nullptr) return measure;
  ScopedSelect selectFont(dc, font != nullptr ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA metrics{};
  if (::GetTextMetricsA(dc, &metrics)) measure.height = metrics.tmHeight;
  char text[256] = {};
  int length = ::GetWindowTextA(hwnd, text, sizeof text);
  if (length > 0) {
    RECT measured{0, 0, 0, 0};
    ::DrawTextA(dc, text, length, &measured, DT_SINGLELINE | DT_LEFT | DT_CALCRECT);
    measure.width = measured.right - measured.left;
  }
  return measure;
}

// A group box paints only its outline and caption; what lies around them is
// its parent's. When a caption changes, a caption at least as wide as the
// one before covers it: it is drawn now, alone (timers rewrite some
// captions several times a second, and a paint to come costs the window
// system several round trips more). A narrower one would leave the old
// one's tail behind, so the strip it stands in is painted again from the
// parent down, with whatever else lies in it.
void RepaintCaption(HWND hwnd, const CaptionMeasure& before, const skin::SkinObject& look, COLORREF behind,
                    HFONT font) {
  // A hidden box is painted whole when it shows.
  if (!::IsWindowVisible(hwnd)) return;
  const CaptionMeasure after = MeasureCaption(hwnd, font);
  if (after.width >= before.width) {
    ScopedGetDc dc(hwnd);
    DrawGroupBox(hwnd, dc.get(), look, behind, font, true);
    return;
  }
  HWND parent = ::GetParent(hwnd);
  RECT strip{};
  if (parent == nullptr || !::GetWindowRect(hwnd, &strip)) {
    ::InvalidateRect(hwnd, nullptr, TRUE);
    return;
  }
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&strip), 2);
  strip.bottom = strip.top + std::max<LONG>(after.height, 16) + 1;
  ::RedrawWindow(parent, &strip, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

}  // namespace

LRESULT Skin::Handle(Skinned& state, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC previous = state.previous;
  auto passOn = [&] { return ::CallWindowProcA(previous, hwnd, message, wParam, lParam); };
  auto childState = [&](HWND child) -> Skinned* {
    auto found = windows_.find(child);
    return found != windows_.end() ? found->second.get() : nullptr;
  };
  // The colour behind a child: this window's skinned face, else the
  // system's face colour.
  auto behind = [&](HWND parent) {
    Skinned* p = childState(parent);
    return p != nullptr && p->painter == Painter::Surface ? ToColorRef(p->object.face)
                                                          : ::GetSysColor(COLOR_BTNFACE);
  };

  switch (message) {
    case WM_NCDESTROY: {
      windows_.erase(hwnd);
      ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      SkinnedWindows().erase(hwnd);
      return ::CallWindowProcA(previous, hwnd, message, wParam, lParam);
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      auto dc = reinterpret_cast<HDC>(wParam);
      auto child = reinterpret_cast<HWND>(lParam);
      Skinned* c = childState(child);
      const Skinned* look = nullptr;
      if (c != nullptr && (c->painter == Painter::Choice || c->painter == Painter::Label ||
                           c->painter == Painter::GroupBox)) {
        look = c;
      } else if (state.painter == Painter::Surface) {
        look = &state;  // the form's own colours for its plain texts
      }
      if (look == nullptr || !look->faceBrush) return passOn();
      ::SetTextColor(dc, ToColorRef(::IsWindowEnabled(child) ? look->object.text : look->object.disabledText));
      ::SetBkColor(dc, ToColorRef(look->object.face));
      return reinterpret_cast<LRESULT>(look->faceBrush.get());
    }
    case WM_CTLCOLORDLG:
      if (state.painter == Painter::Surface && state.faceBrush) {
        return reinterpret_cast<LRESULT>(state.faceBrush.get());
      }
      return passOn();
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      Skinned* c = item != nullptr && item->CtlType == ODT_BUTTON ? childState(item->hwndItem) : nullptr;
      if (c == nullptr || c->painter != Painter::PushButton) return passOn();
      DrawPushButton(c->object, c->hover, c->isDefault, behind(hwnd), c->font.get(), *item);
      return TRUE;
    }
    default:
      break;
  }

  switch (state.painter) {
    case Painter::Surface:
      if (message == WM_ERASEBKGND) {
        RECT client{};
        ::GetClientRect(hwnd, &client);
        FillVerticalGradient(reinterpret_cast<HDC>(wParam), client, ToColorRef(state.object.face),
                             ToColorRef(state.object.face2));
        return 1;
      }
      break;
    case Painter::PushButton:
      switch (message) {
        case WM_ERASEBKGND:
          return 1;  // the owner-drawn face covers everything
        case WM_MOUSEMOVE:
          if (!state.hover) {
            if (auto track = TrackMouseEventIfAny()) {
              TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd, 0};
              if (track(&tme)) {
                state.hover = true;
                ::InvalidateRect(hwnd, nullptr, FALSE);
              }
            }
          }
          break;
        case WM_MOUSELEAVE:
          state.hover = false;
          ::InvalidateRect(hwnd, nullptr, FALSE);
          break;
        case BM_SETSTYLE: {
          // The dialog manager moves the default-button mark this way; keep
          // the owner-drawn type and remember the mark.
          auto type = static_cast<LONG_PTR>(wParam & BS_TYPEMASK);
          if (type == BS_DEFPUSHBUTTON || type == BS_PUSHBUTTON) {
            state.isDefault = type == BS_DEFPUSHBUTTON;
            state.buttonType = type;
            WPARAM kept = (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW;
            LRESULT r = ::CallWindowProcA(previous, hwnd, message, kept, lParam);
            ::InvalidateRect(hwnd, nullptr, FALSE);
            return r;
          }
          break;
        }
        case WM_GETDLGCODE: {
          LRESULT code = passOn();
          code &= ~static_cast<LRESULT>(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
          return code | (state.isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        }
        default:
          break;
      }
      break;
    case Painter::GroupBox:
      if (message == WM_PAINT) {
        HWND parent = ::GetParent(hwnd);
        PaintGroupBox(hwnd, state.object, behind(parent), state.font.get());
        return 0;
      }
      if (message == WM_SETTEXT || message == WM_ENABLE) {
        const CaptionMeasure before = MeasureCaption(hwnd, state.font.get());
        // The window keeps the text; the button's own handler would also
        // clear its caption in the system's colour and mark the whole box
        // for a paint, which the painting here makes needless.
        LRESULT r = message == WM_SETTEXT ? ::DefWindowProcA(hwnd, message, wParam, lParam) : passOn();
        RepaintCaption(hwnd, before, state.object, behind(::GetParent(hwnd)), state.font.get());
        return r;
      }
      break;
    case Painter::Choice:
    case Painter::Label:
    case Painter::HostOnly:
      break;
  }
  return passOn();
}

}  // namespace corvane::win32
