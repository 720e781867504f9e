#include "shell/tray/win32/Tray.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstddef>
#include <cstring>

namespace corvane::shell {

namespace {

constexpr char kTrayClassName[] = "CorvaneTrayControl";
constexpr UINT_PTR kTimer1 = 1;

#ifndef _WIN64
// In the 32-bit program the portable record is the system structure, byte
// for byte, and is handed over as it is.
static_assert(sizeof(HWND) == 4, "the notification record holds 32-bit handles");
static_assert(sizeof(NOTIFYICONDATAA) >= NotifyIconRecord::kSize,
              "the 488-byte record must fit the system's structure");
static_assert(offsetof(NOTIFYICONDATAA, szTip) == nid_offset::kTip);
static_assert(offsetof(NOTIFYICONDATAA, dwState) == nid_offset::kState);
static_assert(offsetof(NOTIFYICONDATAA, szInfo) == nid_offset::kInfo);
static_assert(offsetof(NOTIFYICONDATAA, uTimeout) == nid_offset::kTimeout);
static_assert(offsetof(NOTIFYICONDATAA, szInfoTitle) == nid_offset::kInfoTitle);
static_assert(offsetof(NOTIFYICONDATAA, dwInfoFlags) == nid_offset::kInfoFlags);
#endif

enum : UINT { kMenuMainWindow = 1, kMenuHelp = 2, kMenuExit = 3 };

}  // namespace

Tray::Tray() : model_(*this) {}

Tray::~Tray() {
  // The icon must not outlive its window: the notification area would keep
  // a dead icon until the mouse passes over it.
  model_.Show(false);
}

bool Tray::Create(HINSTANCE instance) {
  taskbarCreated_ = ::RegisterWindowMessageA("TaskbarCreated");
  WNDCLASSEXA wc{};
  return CreateBound(kTrayClassName, wc, WS_EX_TOOLWINDOW, "", WS_POPUP, 0, 0, 36, 36, nullptr,
                     nullptr, instance);
}

void Tray::TrayImage(HICON icon) {
  ownedIcon_.reset();
  icon_ = icon;
  model_.TrayImageHandle(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(icon)));
}

bool Tray::TrayImageFromBitmap(HBITMAP bitmap) {
  if (bitmap == nullptr) {
    TrayImage(static_cast<HICON>(nullptr));
    return true;
  }
  HIMAGELIST list = ::ImageList_Create(32, 32, ILC_COLOR24 | ILC_MASK, 1, 1);
  if (list == nullptr) return false;
  HICON icon = nullptr;
  if (::ImageList_Add(list, bitmap, nullptr) >= 0) icon = ::ImageList_GetIcon(list, 0, ILD_NORMAL);
  (void)::ImageList_Destroy(list);
  if (icon == nullptr) return false;
  TrayImage(icon);
  ownedIcon_.reset(icon);
  return true;
}

LRESULT Tray::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == TrayModel::kCallbackMessage) {
    // The notification area puts the icon's mouse message in lParam.
    (void)model_.OnNotification(static_cast<std::uint32_t>(LOWORD(lParam)));
    return 0;
  }
  if (message == WM_TIMER && wParam == kTimer1) {
    model_.Timer1Tick();
    return 0;
  }
  if (taskbarCreated_ != 0 && message == taskbarCreated_) {
    model_.OnTaskbarCreated();
    return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

bool Tray::NotifyIcon(NotifyAction action, const NotifyIconRecord& record) {
  NOTIFYICONDATAA data{};
#ifndef _WIN64
  auto bytes = record.Bytes();
  std::memcpy(&data, bytes.data(), bytes.size());
#else
  // The 64-bit build (used to run the Windows tests where 32-bit code cannot
  // run) has wider handles in the structure: copy field by field. Window and
  // icon handles keep their meaning in 32 bits on every Windows.
  data.cbSize = sizeof data;
  data.hWnd = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(record.hWnd));
  data.uID = record.uID;
  data.uFlags = record.uFlags;
  data.uCallbackMessage = record.uCallbackMessage;
  data.hIcon = reinterpret_cast<HICON>(static_cast<std::uintptr_t>(record.hIcon));
  std::memcpy(data.szTip, record.szTip.data(), sizeof data.szTip);
  data.dwState = record.dwState;
  data.dwStateMask = record.dwStateMask;
  std::memcpy(data.szInfo, record.szInfo.data(), sizeof data.szInfo);
  data.uTimeout = record.uTimeout;
  std::memcpy(data.szInfoTitle, record.szInfoTitle.data(), sizeof data.szInfoTitle);
  data.dwInfoFlags = record.dwInfoFlags;
#endif
  return ::Shell_NotifyIconA(static_cast<DWORD>(action), &data) != FALSE;
}

void Tray::StartTimer1(unsigned intervalMs) { (void)::SetTimer(hwnd(), kTimer1, intervalMs, nullptr); }

void Tray::StopTimer1() { (void)::KillTimer(hwnd(), kTimer1); }

std::uint32_t Tray::WindowHandle() const {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(hwnd()));
}

TrayMenuChoice ShowTrayPopupMenu(HWND owner) {
  win32::UniqueHmenu menu(::CreatePopupMenu());
  if (!menu) return TrayMenuChoice::None;
  (void)::AppendMenuA(menu.get(), MF_STRING, kMenuMainWindow, "Main Window");
  (void)::AppendMenuA(menu.get(), MF_STRING, kMenuHelp, "&Help");
  (void)::AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
  (void)::AppendMenuA(menu.get(), MF_STRING, kMenuExit, "&Exit");
  // The mouse position. The notification area may send its callback
  // rather than post it, and a sent message leaves GetMessagePos at an
  // older message, so the cursor is asked directly (signed, as for
  // monitors left of or above the primary one).
  POINT cursor{};
  (void)::GetCursorPos(&cursor);
  int x = cursor.x;
  int y = cursor.y;
  (void)::SetForegroundWindow(owner);
  UINT chosen = static_cast<UINT>(::TrackPopupMenu(
      menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, owner, nullptr));
  // Lets the menu close properly when the owner is not the active window.
  (void)::PostMessageA(owner, WM_NULL, 0, 0);
  switch (chosen) {
    case kMenuMainWindow: return TrayMenuChoice::MainWindow;
    case kMenuHelp: return TrayMenuChoice::Help;
    case kMenuExit: return TrayMenuChoice::Exit;
    default: return TrayMenuChoice::None;
  }
}

}  // namespace corvane::shell
