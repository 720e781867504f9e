#include "shell/win32/MainWindow.h"

#include <cstdlib>
#include <vector>

#include "platform/AppInfo.h"
#include "platform/OsVersion.h"
#include "platform/skin/ControlSkins.h"
#include "platform/win32/Win32OsVersion.h"
#include "shell/MainWindowLayout.h"
#include "shell/win32/Hook.h"
#include "platform/win32/MessagePump.h"
#include "platform/win32/ProgramFile.h"
#include "platform/win32/SoundPlayer.h"
#include "platform/win32/Screen.h"

namespace corvane::shell {

namespace {

constexpr char kMovieFile[] = "\\speed up.swf";
constexpr char kSkinFile[] = "\\KeltMask.skn";
constexpr char kSplashFile[] = "\\KeltSpl.spl";
// How often a start that meets another copy without a window looks again.
constexpr DWORD kInstanceRetryMs = 100;
// Set on the main window once it is ending: a copy started then must not
// hand itself to a window that is about to go.
constexpr char kEndingProperty[] = "CorvaneEnding";

// The running copy's main window, found hidden in the tray as well; none
// while that copy is still before its window in its own start-up, or once
// its window is ending.
HWND RunningMainWindow() {
  HWND running = ::FindWindowA(kMainWindowClass, nullptr);
  return running != nullptr && ::GetPropA(running, kEndingProperty) == nullptr ? running : nullptr;
}

// Whether another copy is exiting: it holds its ending mutex from the start
// of its exit until its process ends, its main window gone or not.
bool AnotherCopyIsEnding() {
  win32::UniqueHandleNull probe(::CreateMutexA(nullptr, FALSE, kEndingMutexName));
  return probe && ::GetLastError() == ERROR_ALREADY_EXISTS;
}

// Posted to itself: the program ends outside the handler that asked for it,
// which may run inside the movie player's own message handling.
constexpr UINT kEndProgramMessage = WM_APP + 1;
// A request of the test path, run after the sender's WM_COPYDATA returned
// (a handler may run a modal loop: a message box, the move loop).
constexpr UINT kTestRequestMessage = WM_APP + 2;
// Posted once the main window has painted: the hidden feature windows load
// then (see MainWindow::LoadFeatureWindows).
constexpr UINT kLoadFeatureWindowsMessage = WM_APP + 3;

using win32::ScreenTwipsPerPixel;

LRESULT CALLBACK ChildFrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

// The form's controls in the form's order (creation order, children of
// inner containers after their container).
BOOL CALLBACK CollectControl(HWND control, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(control);
  return TRUE;
}

struct TestRequestData {
  ULONG_PTR kind;
  std::string text;
};

}  // namespace

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance), splash_(instance), sounds_(win32::MakeSoundPlayer()), pump_(&win32::DispatchWaitingMessages) {
  char flag[8] = {};
  testCommands_ = ::GetEnvironmentVariableA(kTestCommandsVariable, flag, sizeof flag) == 1 && flag[0] == '1';
  shellExecute_ = MakeShellExecute();
}

MainWindow::~MainWindow() {
  // Features first: they are children of the frame and use the skin.
  for (auto& feature : features_) {
    if (feature) feature->Unload();
  }
  if (previousWindowProc != nullptr) HookWindow(flashWindow_, false);
}

void MainWindow::ConnectFeatureWindow(Feature feature, std::unique_ptr<FeatureWindow> window) {
  features_[static_cast<std::size_t>(feature)] = std::move(window);
}

FeatureWindow* MainWindow::Slot(Feature feature) const {
  return features_[static_cast<std::size_t>(feature)].get();
}

std::string MainWindow::ApplicationFolder() const { return win32::ProgramFolder(); }

StartUpResult MainWindow::StartUp() {
  // Nothing is loaded from a folder the program cannot name, and never
  // from the current folder instead.
  if (ApplicationFolder().empty()) {
    win32::TellProgramFolderUnusable(nullptr);
    return StartUpResult::Ended;
  }
  StartUpResult result = RunStartUp(*this);
  if (result == StartUpResult::Ended && hwnd() != nullptr) ::DestroyWindow(hwnd());
  if (result == StartUpResult::Shown) {
    // Shown and painted in one go, the movie included: it has its first
    // picture already.
    ::ShowWindow(hwnd(), SW_SHOW);
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (featureLoadPending_) ::PostMessageA(hwnd(), kLoadFeatureWindowsMessage, 0, 0);
  }
  return result;
}

// ---- start-up steps ---------------------------------------------------------

void MainWindow::CreateInstanceMutex() {
  // Default security, not initially owned. Held until the process ends; an
  // existing mutex of that name means another copy runs. A copy that is
  // exiting has no main window any more but holds its mutex until its
  // process ends, and a copy still early in its start-up has no window yet:
  // this one waits a bounded time for either to settle, so that a start in
  // that gap either starts or brings the other copy's window forward.
  for (DWORD waited = 0;; waited += kInstanceRetryMs) {
    instanceMutex_.reset(::CreateMutexA(nullptr, FALSE, kInstanceMutexName));
    previousInstance_ = ::GetLastError() == ERROR_ALREADY_EXISTS;
    if (!previousInstance_ || RunningMainWindow() != nullptr) return;
    if (waited >= exitingCopyWaitMs_) {
      // A copy still exiting after the wait (a slow machine) is going all
      // the same: this one starts rather than end unseen. One still early
      // in its own start-up is left to show itself.
      if (AnotherCopyIsEnding()) previousInstance_ = false;
      return;
    }
    // Its own handle would keep the name alive after the other copy's goes.
    instanceMutex_.reset();
    ::Sleep(kInstanceRetryMs);
  }
}

void MainWindow::ShowRunningCopy() {
  HWND running = RunningMainWindow();
  if (running == nullptr) return;
  // The user just started this copy, so it may bring a window to the front;
  // it lends that right to the running copy, which comes forward itself.
  // Windows 95 and NT 4 have no such lock and no such function.
  DWORD runningProcess = 0;
  ::GetWindowThreadProcessId(running, &runningProcess);
  using AllowSetForegroundWindowFn = BOOL(WINAPI*)(DWORD);
  if (HMODULE user32 = ::GetModuleHandleA("user32.dll")) {
    auto allow = reinterpret_cast<AllowSetForegroundWindowFn>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "AllowSetForegroundWindow")));
    if (allow != nullptr) (void)allow(runningProcess);
  }
  // Its tray menu's "Main Window": shown, restored and in front. Posted, so
  // that this copy ends at once even when the other is busy.
  (void)::PostMessageA(running, WM_COMMAND, MAKEWPARAM(kMenuMainWindow, 0), 0);
}

void MainWindow::ShowSplash() {
  if (splash_.ShowSplashFile(ApplicationFolder() + kSplashFile)) splash_.SetDisplayTime(0);
}

void MainWindow::SizeMainWindow() {
  int width = TwipsToPixels(kMainWindowWidthTwips, ScreenTwipsPerPixel(LOGPIXELSX));
  int height = TwipsToPixels(kMainWindowHeightTwips, ScreenTwipsPerPixel(LOGPIXELSY));
  WNDCLASSEXA wc{};
  wc.style = CS_DBLCLKS;
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hIcon = ::LoadIconA(instance_, MAKEINTRESOURCEA(1));
  wc.hbrBackground = nullptr;  // the skin or the movie covers everything
  // Borderless: the movie draws the whole look, title area included. The
  // system menu and minimise box give the taskbar button its menu.
  if (!CreateBound(kMainWindowClass, wc, 0, kProductName,
                   WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 0, 0, width, height,
                   nullptr, nullptr, instance_)) {
    return;
  }
  // The window's shape is the movie's area; what lies beyond it in the
  // design size is never seen.
  ::SetWindowRgn(hwnd(), ::CreateRectRgn(kMovieLeft, kMovieTop, kMovieLeft + kMovieWidth, kMovieTop + kMovieHeight),
                 FALSE);

  WNDCLASSEXA frameClass{};
  frameClass.cbSize = sizeof frameClass;
  frameClass.lpfnWndProc = &ChildFrameProc;
  frameClass.hInstance = instance_;
  frameClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
  frameClass.lpszClassName = kChildFrameClass;
  ::RegisterClassExA(&frameClass);
  int tppX = ScreenTwipsPerPixel(LOGPIXELSX);
  int tppY = ScreenTwipsPerPixel(LOGPIXELSY);
  FrameSize first = FrameSizeOf(Feature::WizardMode);
  frame_ = ::CreateWindowExA(0, kChildFrameClass, "framChildWindow", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                             TwipsToPixels(kFrameLeftTwips, tppX), TwipsToPixels(kFrameTopTwips, tppY),
                             first.width, first.height, hwnd(), nullptr, instance_, nullptr);
  if (frame_ != nullptr) ShapeFrame(first);

  movie_.SetCommandHandler([this](const std::string& command, const std::string& args) {
    OnFsCommand(command, args);
  });
  if (movie_.Create(hwnd(), kMovieLeft, kMovieTop, kMovieWidth, kMovieHeight, instance_)) {
    // The movie and the frame overlap: each paints only its own part.
    LONG_PTR style = ::GetWindowLongPtrA(movie_.hwnd(), GWL_STYLE);
    if ((style & WS_CLIPSIBLINGS) == 0) ::SetWindowLongPtrA(movie_.hwnd(), GWL_STYLE, style | WS_CLIPSIBLINGS);
  }

  trayMenu_.reset(::CreatePopupMenu());
  ::AppendMenuA(trayMenu_.get(), MF_STRING, kMenuMainWindow, "Main Window");
  ::AppendMenuA(trayMenu_.get(), MF_STRING, kMenuHelp, "&Help");
  ::AppendMenuA(trayMenu_.get(), MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(trayMenu_.get(), MF_STRING, kMenuExit, "&Exit");
}

void MainWindow::PlaceMovie() { movie_.Place(kMovieLeft, kMovieTop, kMovieWidth, kMovieHeight); }

void MainWindow::FrameThenMovieToFront() {
  BringFrameToFront();
  BringMovieToFront();
}

bool MainWindow::LoadMovie() { return movie_.LoadMovie(0, ApplicationFolder() + kMovieFile); }

void MainWindow::TellMovieDamaged() {
  std::string text = DamagedMovieMessage(ApplicationFolder() + kMovieFile);
  ::MessageBoxA(nullptr, text.c_str(), kAppTitle, MB_OK | MB_ICONERROR);
}

void MainWindow::LoadSkin() {
  // A missing or bad skin leaves every window its plain look.
  if (skin_.LoadSkinFile(ApplicationFolder() + kSkinFile)) {
    (void)skin_.ApplySkin(hwnd(), "Main");
    (void)skin_.ApplySkin(frame_, "NoFrame");
  }
}

void MainWindow::DetectOsFamily() { corvane::DetectOsFamily(win32::Win32OsVersion()); }

void MainWindow::FillPresetProfiles() {
  if (connections_.fillPresetProfiles) connections_.fillPresetProfiles();
}

void MainWindow::ShowTrayIcon() { ShowTrayIcon(true); }

void MainWindow::LoadFeatureWindows() {
  // Loading the six windows takes longer than everything else the start-up
  // does. A start that shows the main window shows and paints it first and
  // loads them right after, in the same order, before any command reaches
  // them. A start into the tray loads them here: its tray step reads the
  // settings window, and nothing is painted meanwhile anyway.
  featureLoadPending_ = true;
  if (!connections_.storedRunsInTray || connections_.storedRunsInTray()) LoadPendingFeatureWindows();
}

void MainWindow::LoadPendingFeatureWindows() {
  if (!featureLoadPending_) return;
  featureLoadPending_ = false;
  for (Feature feature : kStartUpLoadOrder) LoadFeature(feature);
}

bool MainWindow::RunProgramInTray() {
  return connections_.runProgramInTray ? connections_.runProgramInTray() : false;
}

void MainWindow::TrayStep() { dispatcher_.TrayStep(currentOsFamily); }

void MainWindow::RemoveSplash() { splash_.Remove(); }

void MainWindow::HookMoviePlayer() {
  flashWindow_ = FindMoviePlayerWindow(hwnd());
  if (flashWindow_ != nullptr) (void)HookWindow(flashWindow_, true);
}

// ---- what the window does ---------------------------------------------------

void MainWindow::OnFsCommand(const std::string& command, const std::string& args) {
  if (ending_) return;
  LoadPendingFeatureWindows();
  (void)dispatcher_.OnFsCommand(command, args);
}

void MainWindow::MinimizeMainWindow() { ::ShowWindow(hwnd(), SW_MINIMIZE); }

void MainWindow::HideMainWindow() { ::ShowWindow(hwnd(), SW_HIDE); }

void MainWindow::ShowMainWindow() {
  if (::IsIconic(hwnd())) {
    ::ShowWindow(hwnd(), SW_RESTORE);
  } else {
    ::ShowWindow(hwnd(), SW_SHOW);
  }
  ::SetForegroundWindow(hwnd());
}

void MainWindow::BringMovieToFront() { movie_.BringToFront(); }

void MainWindow::BringFrameToFront() {
  if (frame_ != nullptr) {
    ::SetWindowPos(frame_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void MainWindow::SizeFrame(FrameSize size) {
  if (frame_ != nullptr) {
    ::SetWindowPos(frame_, nullptr, 0, 0, size.width, size.height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShapeFrame(size);
  }
}

void MainWindow::ShapeFrame(FrameSize size) {
  // Rounded like the movie's card behind it, which has the frame's size:
  // the feature window reads as that card. The window owns the region.
  ::SetWindowRgn(frame_,
                 ::CreateRoundRectRgn(0, 0, size.width + 1, size.height + 1, 2 * kFrameCornerRadius,
                                      2 * kFrameCornerRadius),
                 TRUE);
}

void MainWindow::LoadFeature(Feature feature) {
  // A command before the start-up's load has run: the start-up's windows
  // load first, in their order.
  LoadPendingFeatureWindows();
  FeatureWindow* window = Slot(feature);
  if (window != nullptr && !window->IsLoaded()) (void)window->Load(*this, hwnd());
}

void MainWindow::UnloadFeature(Feature feature) {
  if (FeatureWindow* window = Slot(feature)) window->Unload();
  UpdateFrameVisibility();
}

void MainWindow::SetFeatureVisible(Feature feature, bool visible) {
  FeatureWindow* window = Slot(feature);
  if (window != nullptr && window->IsLoaded() && window->hwnd() != nullptr) {
    ::ShowWindow(window->hwnd(), visible ? SW_SHOWNA : SW_HIDE);
  }
  UpdateFrameVisibility();
}

void MainWindow::MakeFeatureChildOfFrame(Feature feature) {
  FeatureWindow* window = Slot(feature);
  if (window == nullptr || !window->IsLoaded() || window->hwnd() == nullptr || frame_ == nullptr) return;
  HWND w = window->hwnd();
  if (::GetParent(w) == frame_) return;
  // A feature window is made as a hidden pop-up owned by the main window;
  // inside the frame it is a child at the frame's top left corner.
  LONG_PTR style = ::GetWindowLongPtrA(w, GWL_STYLE);
  style &= ~static_cast<LONG_PTR>(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU);
  ::SetWindowLongPtrA(w, GWL_STYLE, style | WS_CHILD);
  ::SetParent(w, frame_);
  ::SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void MainWindow::UpdateFrameVisibility() {
  if (frame_ == nullptr) return;
  bool holdsVisible = false;
  for (const auto& feature : features_) {
    if (feature && feature->IsLoaded() && feature->hwnd() != nullptr && ::GetParent(feature->hwnd()) == frame_ &&
        (::GetWindowLongPtrA(feature->hwnd(), GWL_STYLE) & WS_VISIBLE) != 0) {
      holdsVisible = true;
    }
  }
  bool shown = (::GetWindowLongPtrA(frame_, GWL_STYLE) & WS_VISIBLE) != 0;
  if (holdsVisible != shown) ::ShowWindow(frame_, holdsVisible ? SW_SHOWNA : SW_HIDE);
}

void MainWindow::BeforeShowFeature(Feature feature) {
  if (FeatureWindow* window = Slot(feature)) window->BeforeShow();
}

void MainWindow::ShowTrayIcon(bool show) {
  if (connections_.trayShow) connections_.trayShow(show);
}

void MainWindow::ShowBalloonTip() {
  if (connections_.trayBalloon) connections_.trayBalloon();
}

void MainWindow::ShowTrayNotification(const TrayNotification& notification) {
  if (connections_.trayNotification) connections_.trayNotification(notification);
}

TrayNotification MainWindow::TrayNotificationHere() const {
  int tppX = ScreenTwipsPerPixel(LOGPIXELSX);
  int tppY = ScreenTwipsPerPixel(LOGPIXELSY);
  return TrayNotificationFor(::GetSystemMetrics(SM_CXSCREEN) * tppX, ::GetSystemMetrics(SM_CYSCREEN) * tppY,
                             tppX, tppY);
}

void MainWindow::OpenWithShell(const ShellOpenRequest& request) {
  if (shellExecute_) shellExecute_->Open(hwnd(), request);
}

void MainWindow::DragWindow() {
  // The system's own move loop takes over, as if the caption were dragged.
  ::ReleaseCapture();
  ::SendMessageA(hwnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void MainWindow::RunShortcut(SystemShortcut shortcut) {
  if (connections_.runShortcut) connections_.runShortcut(shortcut);
}

bool MainWindow::RestartWindows() {
  return connections_.restartWindows && connections_.restartWindows();
}

void MainWindow::BeginEnding() {
  // Unloading the feature windows takes seconds on a slow machine; a copy
  // started meanwhile must not post "Main Window" to this one.
  ending_ = true;
  (void)::SetPropA(hwnd(), kEndingProperty, reinterpret_cast<HANDLE>(1));
  if (!endingMutex_) endingMutex_.reset(::CreateMutexA(nullptr, FALSE, kEndingMutexName));
}

void MainWindow::EndProgram() {
  BeginEnding();
  ::PostMessageA(hwnd(), kEndProgramMessage, 0, 0);
}

void MainWindow::ShowPlainMessage(const std::string& text) {
  ::MessageBoxA(hwnd(), text.c_str(), kAppTitle, MB_OK);
}

void MainWindow::PopupTrayMenu() {
  if (!trayMenu_) return;
  POINT at{};
  ::GetCursorPos(&at);
  // In front first, so that the menu closes when the user clicks elsewhere.
  ::SetForegroundWindow(hwnd());
  UINT chosen = static_cast<UINT>(::TrackPopupMenu(trayMenu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                   at.x, at.y, 0, hwnd(), nullptr));
  ::PostMessageA(hwnd(), WM_NULL, 0, 0);
  switch (chosen) {
    case kMenuMainWindow: OnTrayMenu(TrayMenuItem::mnuMainWindow); break;
    case kMenuHelp: OnTrayMenu(TrayMenuItem::mnuHelp); break;
    case kMenuExit: OnTrayMenu(TrayMenuItem::mnuExit); break;
    default: break;
  }
}

// ---- services for the feature windows --------------------------------------

bool MainWindow::ApplySkin(HWND window, const char* objectName) {
  return objectName != nullptr && skin_.ApplySkin(window, objectName);
}

void MainWindow::applyAllControls(HWND form) {
  if (form == nullptr) return;
  std::vector<HWND> controls;
  ::EnumChildWindows(form, &CollectControl, reinterpret_cast<LPARAM>(&controls));
  for (HWND control : controls) {
    char name[256] = {};
    int n = ::GetClassNameA(control, name, sizeof name);
    auto style = static_cast<std::uint32_t>(::GetWindowLongPtrA(control, GWL_STYLE));
    auto object = skin::SkinObjectForControl(
        skin::ClassifyControl(std::string_view(name, n > 0 ? static_cast<std::size_t>(n) : 0), style));
    // A control that cannot be skinned keeps its plain look; the walk goes
    // on with the next.
    if (object) (void)skin_.ApplySkin(control, std::string(*object));
  }
}

void MainWindow::ReturnHome() {
  BringMovieToFront();
  movie_.SetVariable("_root.home", "true");
}

void MainWindow::SendMovieHome() { movie_.SetVariable("_root.home", "true"); }

// ---- messages ---------------------------------------------------------------

void MainWindow::RunTestRequest(ULONG_PTR kind, const std::string& text) {
  switch (kind) {
    case kTestFsCommand:
      OnFsCommand(text, "");
      return;
    case kTestEntryButton: {
      std::size_t space = text.find(' ');
      std::string name = text.substr(0, space);
      int index = space == std::string::npos ? 0 : std::atoi(text.c_str() + space + 1);
      static constexpr std::pair<const char*, EntryButton> kButtons[] = {
          {"cmdSorbek", EntryButton::cmdSorbek},           {"cmdSystemSettings", EntryButton::cmdSystemSettings},
          {"cmdRamBooster", EntryButton::cmdRamBooster},   {"cmdNetPinger", EntryButton::cmdNetPinger},
          {"cmdMainSettings", EntryButton::cmdMainSettings}, {"cmdHomePage", EntryButton::cmdHomePage}};
      for (const auto& [buttonName, button] : kButtons) {
        if (name == buttonName) OnEntryButton(button, index);
      }
      return;
    }
    case kTestTrayMenu:
      if (text == "mnuMainWindow") OnTrayMenu(TrayMenuItem::mnuMainWindow);
      if (text == "mnuHelp") OnTrayMenu(TrayMenuItem::mnuHelp);
      if (text == "mnuExit") OnTrayMenu(TrayMenuItem::mnuExit);
      return;
    case kTestPopupMenu:
      PopupTrayMenu();
      return;
    default:
      return;
  }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      // The unload of frmMain (Alt+F4, the taskbar's Close): the exit sequence.
      dispatcher_.ExitSequence();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // The session ends, this program's restart included: Windows ends the
      // process after this returns, so the icon goes now. A restart that
      // was cancelled (wParam FALSE) leaves everything as it was.
      if (wParam != FALSE) {
        ending_ = true;
        dispatcher_.EndSession();
      }
      return 0;
    case kEndProgramMessage:
      ::DestroyWindow(hwnd());
      return 0;
    case WM_DESTROY:
      (void)::RemovePropA(hwnd(), kEndingProperty);
      ::PostQuitMessage(0);
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == 0 && lParam == 0) {
        switch (LOWORD(wParam)) {
          case kMenuMainWindow: OnTrayMenu(TrayMenuItem::mnuMainWindow); return 0;
          case kMenuHelp: OnTrayMenu(TrayMenuItem::mnuHelp); return 0;
          case kMenuExit: OnTrayMenu(TrayMenuItem::mnuExit); return 0;
          default: break;
        }
      }
      break;
    case WM_COPYDATA: {
      auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (!testCommands_ || data == nullptr || data->cbData > 4096) return FALSE;
      auto* request = new TestRequestData{
          data->dwData, std::string(static_cast<const char*>(data->lpData), data->lpData != nullptr ? data->cbData : 0)};
      // Texts may come with their terminating NUL.
      if (!request->text.empty() && request->text.back() == '\0') request->text.pop_back();
      if (!::PostMessageA(hwnd(), kTestRequestMessage, 0, reinterpret_cast<LPARAM>(request))) {
        delete request;
        return FALSE;
      }
      return TRUE;
    }
    case kLoadFeatureWindowsMessage:
      if (!ending_) LoadPendingFeatureWindows();
      return 0;
    case kTestRequestMessage: {
      std::unique_ptr<TestRequestData> request(reinterpret_cast<TestRequestData*>(lParam));
      LoadPendingFeatureWindows();
      if (request) RunTestRequest(request->kind, request->text);
      return 0;
    }
    case WM_ERASEBKGND: {
      // Without a skin: the movie's night blue rather than a grey flash.
      RECT client{};
      ::GetClientRect(hwnd(), &client);
      win32::UniqueHbrush brush(::CreateSolidBrush(RGB(0x0B, 0x12, 0x20)));
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, brush.get());
      return 1;
    }
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace corvane::shell
