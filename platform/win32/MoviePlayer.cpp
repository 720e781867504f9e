#include "platform/win32/MoviePlayer.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "platform/movie/MoviePlayback.h"
#include "platform/movie/MovieReader.h"
#include "platform/movie/MovieRenderer.h"
#include "platform/win32/Dib.h"
#include "platform/win32/Handle.h"
#include "platform/win32/MovieTextGdi.h"
#include "platform/win32/Window.h"

namespace corvane::win32 {

namespace {

constexpr UINT_PTR kAnimationTimer = 1;
constexpr UINT kFrameMs = 15;
// Where TrackMouseEvent is missing (Windows 95), leaving the window is
// noticed by looking at the cursor while a button is lit.
constexpr UINT_PTR kLeavePollTimer = 2;
constexpr UINT kLeavePollMs = 100;

using TrackMouseEventFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);

TrackMouseEventFn FindTrackMouseEvent() {
  HMODULE user32 = ::GetModuleHandleA("user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<TrackMouseEventFn>(
      reinterpret_cast<void*>(::GetProcAddress(user32, "TrackMouseEvent")));
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  DWORD size = ::GetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE || size > movie::MovieLimits::kMaxFileBytes) return std::nullopt;
  std::string data(size, '\0');
  DWORD read = 0;
  if (size > 0 && (!::ReadFile(file.get(), data.data(), size, &read, nullptr) || read != size)) {
    return std::nullopt;
  }
  return data;
}

}  // namespace

class MoviePlayer::Impl final : public Window<MoviePlayer::Impl> {
 public:
  bool Create(HWND parent, int left, int top, int width, int height, HINSTANCE instance) {
    WNDCLASSEXA wc{};
    // No CS_DBLCLKS: a quick second click is a second press, as on a button.
    wc.style = 0;
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = nullptr;  // everything is painted from the back buffer
    return CreateBound(kMoviePlayerClass, wc, 0, "",
                       WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, left, top, width,
                       height, parent, nullptr, instance);
  }

  bool LoadMovie(int layer, const std::string& path) {
    if (layer != 0) return movie_ != nullptr;  // only level 0 exists in this player
    playback_.reset();
    movie_.reset();
    if (auto data = ReadWholeFile(path)) {
      movie::MovieReadResult result = movie::ReadMovie(*data);
      if (result.movie) {
        movie_ = std::make_unique<movie::Movie>(std::move(*result.movie));
        playback_ = std::make_unique<movie::MoviePlayback>(*movie_);
        playback_->Start(::GetTickCount());
      }
    }
    UpdateView();
    tipScreen_ = kTipsStale;
    rebuildTips_ = true;
    if (hwnd() != nullptr) {
      (void)::InvalidateRect(hwnd(), nullptr, FALSE);
      Refresh();
    }
    return movie_ != nullptr;
  }

  void SetVariable(const std::string& name, const std::string& value) {
    if (!playback_) return;
    playback_->SetVariable(name, value, ::GetTickCount());
    Refresh();
  }

  std::string ScreenName() const { return playback_ ? playback_->screenName() : std::string(); }
  bool Animating() const { return playback_ && playback_->Animating(::GetTickCount()); }

  CommandHandler handler;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel: no flash of a background
      case WM_PAINT:
        Paint();
        return 0;
      case WM_SIZE:
        // The back buffer is rebuilt at the new size on the next paint.
        dib_.reset();
        UpdateView();
        tipScreen_ = kTipsStale;
        rebuildTips_ = true;
        SyncTips();
        (void)::InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
      case WM_TIMER:
        if (wParam == kAnimationTimer) {
          Refresh();
        } else if (wParam == kLeavePollTimer) {
          PollLeave();
        }
        return 0;
      case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        return 0;
      case WM_MOUSELEAVE:
        tracking_ = false;
        WakeTips();
        if (playback_) playback_->PointerLeave(::GetTickCount());
        Refresh();
        return 0;
      case WM_LBUTTONDOWN:
        OnButtonDown(lParam);
        return 0;
      case WM_LBUTTONUP:
        OnButtonUp(lParam);
        return 0;
      case WM_CAPTURECHANGED:
        if (playback_ && reinterpret_cast<HWND>(lParam) != hwnd()) {
          playback_->CancelPress(::GetTickCount());
          Refresh();
        }
        return 0;
      case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && SetButtonCursor()) return TRUE;
        break;
      case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS;
      case WM_KEYDOWN:
        if (OnKey(wParam)) return 0;
        break;
      case WM_KILLFOCUS:
        if (playback_) playback_->Blur(::GetTickCount());
        Refresh();
        return 0;
      case WM_DESTROY:
        (void)::KillTimer(hwnd(), kAnimationTimer);
        (void)::KillTimer(hwnd(), kLeavePollTimer);
        timerRunning_ = false;
        pollRunning_ = false;
        // The tip window is owned by this one and goes with it.
        tips_ = nullptr;
        tipIds_.clear();
        tipsQuiet_ = false;
        return 0;
      default:
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
  }

 private:
  void UpdateView() {
    RECT client{};
    if (movie_ && hwnd() != nullptr && ::GetClientRect(hwnd(), &client)) {
      view_ = movie::View::Fit(*movie_, client.right - client.left, client.bottom - client.top);
    }
  }

  movie::PointF ToMovie(LPARAM lParam) const {
    auto x = static_cast<float>(static_cast<short>(LOWORD(lParam)));
    auto y = static_cast<float>(static_cast<short>(HIWORD(lParam)));
    return view_.ToMovie(movie::PointF{x + 0.5f, y + 0.5f});
  }

  // Hands the dirty area to the window and runs the frame timer exactly as
  // long as something moves: an idle movie costs no timer and no paint.
  void Refresh() {
    if (hwnd() == nullptr) return;
    DWORD now = ::GetTickCount();
    if (playback_) {
      if (auto dirty = playback_->TakeDirty(now)) {
        movie::PixelRect r = view_.ToBuffer(*dirty);
        RECT rect{r.x0 - 1, r.y0 - 1, r.x1 + 1, r.y1 + 1};
        (void)::InvalidateRect(hwnd(), &rect, FALSE);
      }
    }
    SyncTips();
    bool animating = playback_ && playback_->Animating(now);
    if (animating && !timerRunning_) {
      timerRunning_ = ::SetTimer(hwnd(), kAnimationTimer, kFrameMs, nullptr) != 0;
    } else if (!animating && timerRunning_) {
      (void)::KillTimer(hwnd(), kAnimationTimer);
      timerRunning_ = false;
    }
  }

  bool EnsureBuffer(int width, int height) {
    if (dib_ && dibWidth_ == width && dibHeight_ == height) return true;
    dib_.reset();
    bits_ = nullptr;
    if (width <= 0 || height <= 0) return false;
    if (!memoryDc_) memoryDc_.reset(::CreateCompatibleDC(nullptr));
    if (!memoryDc_) return false;
    // Top down, as the rasterizer writes it.
    void* bits = nullptr;
    dib_ = CreateTopDownDib(memoryDc_.get(), width, height, bits);
    if (!dib_) return false;
    bits_ = static_cast<std::uint32_t*>(bits);
    dibWidth_ = width;
    dibHeight_ = height;
    fresh_ = true;
    return true;
  }

  void Paint() {
    ScopedPaint paint(hwnd());
    RECT client{};
    (void)::GetClientRect(hwnd(), &client);
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    if (!EnsureBuffer(width, height)) {
      // No back buffer (out of GDI memory): a plain neutral surface.
      UniqueHbrush brush(::CreateSolidBrush(RGB(movie::kEmptySurface.r, movie::kEmptySurface.g,
                                                 movie::kEmptySurface.b)));
      (void)::FillRect(paint.dc(), &paint.area(), brush.get());
      return;
    }
    movie::PixelBuffer buffer{bits_, dibWidth_, dibHeight_, dibWidth_};
    // A new buffer is drawn whole once; after that only what was invalidated.
    movie::PixelRect clip = fresh_ ? movie::PixelRect{0, 0, width, height}
                                   : movie::PixelRect{paint.area().left, paint.area().top,
                                                      paint.area().right, paint.area().bottom};
    fresh_ = false;
    ::GdiFlush();
    if (movie_ && playback_) {
      renderer_.Render(*movie_, playback_->FrameAt(::GetTickCount()), view_, buffer, clip);
    } else {
      movie::MovieRenderer::RenderEmpty(buffer, clip);
    }
    ScopedSelect select(memoryDc_.get(), dib_.get());
    const RECT& area = paint.area();
    (void)::BitBlt(paint.dc(), area.left, area.top, area.right - area.left, area.bottom - area.top,
                   memoryDc_.get(), area.left, area.top, SRCCOPY);
  }

  void TrackLeave() {
    if (tracking_) return;
    static const TrackMouseEventFn track = FindTrackMouseEvent();
    if (track != nullptr) {
      TRACKMOUSEEVENT request{};
      request.cbSize = sizeof request;
      request.dwFlags = TME_LEAVE;
      request.hwndTrack = hwnd();
      tracking_ = track(&request) != FALSE;
    }
    if (!tracking_ && !pollRunning_) {
      pollRunning_ = ::SetTimer(hwnd(), kLeavePollTimer, kLeavePollMs, nullptr) != 0;
    }
  }

  void PollLeave() {
    POINT cursor{};
    bool inside = false;
    if (::GetCursorPos(&cursor)) inside = ::WindowFromPoint(cursor) == hwnd();
    if (inside && playback_ && playback_->hovered() >= 0) return;
    (void)::KillTimer(hwnd(), kLeavePollTimer);
    pollRunning_ = false;
    if (!inside && playback_) {
      playback_->PointerLeave(::GetTickCount());
      Refresh();
    }
  }

  // Leaving the window matters only while a button is lit or held: then its
  // look goes back. Elsewhere on the movie nothing is watched; a leave watch
  // has the window system look at the pointer several times a second for
  // as long as it rests over the window.
  void WatchLeave() {
    if (playback_->hovered() >= 0 || playback_->pressed() >= 0) {
      TrackLeave();
      return;
    }
    if (!tracking_) return;
    static const TrackMouseEventFn track = FindTrackMouseEvent();
    TRACKMOUSEEVENT request{};
    request.cbSize = sizeof request;
    request.dwFlags = TME_LEAVE | TME_CANCEL;
    request.hwndTrack = hwnd();
    if (track != nullptr) (void)track(&request);
    tracking_ = false;
  }

  void OnMouseMove(LPARAM lParam) {
    if (!playback_) return;
    playback_->PointerMove(ToMovie(lParam), ::GetTickCount());
    WatchLeave();
    if (tipsQuiet_ && playback_->hovered() != quietButton_) WakeTips();
    Refresh();
  }

  void OnButtonDown(LPARAM lParam) {
    if (::GetFocus() != hwnd()) (void)::SetFocus(hwnd());
    if (!playback_) return;
    QuietTips();
    std::optional<movie::Command> command = playback_->PointerDown(ToMovie(lParam), ::GetTickCount());
    if (command) {
      // A press-triggered button ("Drag") hands the mouse to its handler.
      Refresh();
      Dispatch(*command);
      return;
    }
    if (playback_->pressed() >= 0) (void)::SetCapture(hwnd());
    Refresh();
  }

  void OnButtonUp(LPARAM lParam) {
    if (!playback_) return;
    std::optional<movie::Command> command = playback_->PointerUp(ToMovie(lParam), ::GetTickCount());
    if (::GetCapture() == hwnd()) (void)::ReleaseCapture();
    Refresh();
    if (command) Dispatch(*command);
  }

  bool OnKey(WPARAM key) {
    if (!playback_) return false;
    std::optional<movie::Key> k;
    switch (key) {
      case VK_TAB:
        k = ::GetKeyState(VK_SHIFT) < 0 ? movie::Key::ShiftTab : movie::Key::Tab;
        break;
      case VK_LEFT: k = movie::Key::Left; break;
      case VK_RIGHT: k = movie::Key::Right; break;
      case VK_UP: k = movie::Key::Up; break;
      case VK_DOWN: k = movie::Key::Down; break;
      case VK_RETURN: k = movie::Key::Enter; break;
      case VK_SPACE: k = movie::Key::Space; break;
      default: return false;
    }
    std::optional<movie::Command> command = playback_->KeyPress(*k, ::GetTickCount());
    Refresh();
    if (command) Dispatch(*command);
    return true;
  }

  bool SetButtonCursor() {
    if (!playback_) return false;
    int hovered = playback_->hovered();
    if (hovered < 0 || movie_->buttons[static_cast<std::size_t>(hovered)].trigger ==
                           movie::Trigger::Press) {
      return false;
    }
    // The hand is missing before Windows 98 and 2000; the arrow stays then.
    static const HCURSOR hand = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
    if (hand == nullptr) return false;
    (void)::SetCursor(hand);
    return true;
  }

  // The drawn buttons' tips (their tip= text), shown by the system's tooltip
  // control when the pointer rests on a button: one tool per button of the
  // shown screen that has a tip, set anew when the screen or the scale
  // changes. The control watches the pointer itself (TTF_SUBCLASS) and hides
  // the tip on a press.
  void SyncTips() {
    if (hwnd() == nullptr) return;
    int screen = playback_ ? playback_->screen() : -1;
    if (screen == tipScreen_) return;
    tipScreen_ = screen;
    if (tips_ == nullptr && playback_ && HasTips()) {
      ::InitCommonControls();
      auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(hwnd(), GWLP_HINSTANCE));
      tips_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                                instance, nullptr);
    }
    if (tips_ == nullptr) return;
    // The first version of the record: every comctl32 takes it, the one of
    // Windows 95 included.
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.hwnd = hwnd();
    std::vector<UINT_PTR> wanted;
    if (playback_ && screen >= 0) {
      for (const movie::Item& item : movie_->items) {
        if (item.kind != movie::Item::Kind::Button || ((item.screenMask >> screen) & 1u) == 0) continue;
        if (!movie_->buttons[static_cast<std::size_t>(item.index)].tip.empty()) {
          wanted.push_back(static_cast<UINT_PTR>(item.index));
        }
      }
    }
    // A button that stays (the header's, on every screen) keeps its tool,
    // so that a tip is not shown afresh under a pointer that has not moved.
    for (UINT_PTR id : tipIds_) {
      if (!rebuildTips_ && std::find(wanted.begin(), wanted.end(), id) != wanted.end()) continue;
      tool.uId = id;
      (void)::SendMessageA(tips_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    std::vector<UINT_PTR> kept;
    for (UINT_PTR id : wanted) {
      bool had = !rebuildTips_ && std::find(tipIds_.begin(), tipIds_.end(), id) != tipIds_.end();
      if (!had) {
        const movie::Button& button = movie_->buttons[id];
        movie::PixelRect r = view_.ToBuffer(button.box);
        tool.uFlags = TTF_SUBCLASS;
        tool.uId = id;
        tool.rect = RECT{r.x0, r.y0, r.x1, r.y1};
        tool.lpszText = const_cast<char*>(button.tip.c_str());  // copied by the control
        if (::SendMessageA(tips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) == FALSE) continue;
      }
      kept.push_back(id);
    }
    tipIds_ = std::move(kept);
    rebuildTips_ = false;
  }

  // After a press the pressed button's tip stays away until the pointer
  // moves to another button or leaves: the user knows what it does now.
  void QuietTips() {
    if (tips_ == nullptr || !playback_) return;
    (void)::SendMessageA(tips_, TTM_ACTIVATE, FALSE, 0);
    tipsQuiet_ = true;
    quietButton_ = playback_->hovered();
  }

  void WakeTips() {
    if (tips_ == nullptr || !tipsQuiet_) return;
    (void)::SendMessageA(tips_, TTM_ACTIVATE, TRUE, 0);
    tipsQuiet_ = false;
  }

  bool HasTips() const {
    for (const movie::Button& button : movie_->buttons) {
      if (!button.tip.empty()) return true;
    }
    return false;
  }

  // The handler may do anything, even destroy this window (the close
  // command), so nothing of the player is touched after it returns.
  void Dispatch(const movie::Command& command) {
    if (handler) {
      CommandHandler copy = handler;
      copy(command.command, command.args);
    }
  }

  std::unique_ptr<movie::Movie> movie_;
  std::unique_ptr<movie::MoviePlayback> playback_;
  GdiTextRasterizer text_;
  movie::MovieRenderer renderer_{text_};
  movie::View view_;
  UniqueHdc memoryDc_;
  UniqueHbitmap dib_;
  std::uint32_t* bits_ = nullptr;
  int dibWidth_ = 0;
  int dibHeight_ = 0;
  bool fresh_ = true;
  bool timerRunning_ = false;
  bool pollRunning_ = false;
  bool tracking_ = false;
  static constexpr int kTipsStale = -2;  // no screen is -2: the tips are set again
  HWND tips_ = nullptr;
  int tipScreen_ = kTipsStale;
  bool rebuildTips_ = true;  // a new movie or scale: every tool anew
  bool tipsQuiet_ = false;
  int quietButton_ = -1;
  std::vector<UINT_PTR> tipIds_;
};

MoviePlayer::MoviePlayer() : impl_(std::make_unique<Impl>()) {}
MoviePlayer::~MoviePlayer() = default;

bool MoviePlayer::Create(HWND parent, int left, int top, int width, int height, HINSTANCE instance) {
  return impl_->Create(parent, left, top, width, height, instance);
}

HWND MoviePlayer::hwnd() const { return impl_->hwnd(); }

bool MoviePlayer::LoadMovie(int layer, const std::string& path) { return impl_->LoadMovie(layer, path); }

void MoviePlayer::SetVariable(const std::string& name, const std::string& value) {
  impl_->SetVariable(name, value);
}

void MoviePlayer::SetCommandHandler(CommandHandler handler) { impl_->handler = std::move(handler); }

void MoviePlayer::BringToFront() {
  if (hwnd() == nullptr) return;
  (void)::SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MoviePlayer::Place(int left, int top, int width, int height) {
  if (hwnd() == nullptr) return;
  (void)::MoveWindow(hwnd(), left, top, width, height, TRUE);
}

std::string MoviePlayer::ScreenName() const { return impl_->ScreenName(); }

bool MoviePlayer::Animating() const { return impl_->Animating(); }

}  // namespace corvane::win32
