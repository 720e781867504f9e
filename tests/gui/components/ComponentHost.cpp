// The host program of the components' GUI tests: it stands in for the main
// window and makes the calls the main window makes, so that the tests can
// drive the tray icon and the message windows with real input.
//
//   tray                          the tray icon; left click shows the host
//                                 window, right click opens the tray menu,
//                                 "&Exit" removes the icon and ends the host
//   msgbox FLAGS X Y NOPOINTER CHECK B1 B2 B3 RESULTFILE
//                                 msg_Box over the backdrop; exit code and
//                                 file: the result code
//   input FLAGS X Y CHECK DEFAULT RESULTFILE
//                                 input_box over the backdrop; the file gets
//                                 the text
//   notify9x                      the tray step's notification over the
//                                 backdrop; ends when it has closed itself
//   notify NTIME X Y              MsgAuto_box with a pointer
// An argument "-" stands for the empty text.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/messages/win32/msgFrm.h"
#include "shell/tray/win32/Tray.h"
#include "tests/gui/components/Backdrop.h"

namespace {

using namespace corvane;

std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  for (int i = 1; i < __argc; ++i) args.emplace_back(std::string(__argv[i]) == "-" ? "" : __argv[i]);
  return args;
}

void WriteResult(const std::string& path, const std::string& text) {
  if (FILE* out = std::fopen(path.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
  }
}

LRESULT CALLBACK BackdropProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(hwnd, &ps);
    RECT client;
    ::GetClientRect(hwnd, &client);
    for (int x = 0; x < client.right; x += 32) {
      HBRUSH brush = ::CreateSolidBrush(gui::BackdropColor(x, 0));
      RECT stripe{x, 0, x + 32, client.bottom};
      ::FillRect(dc, &stripe, brush);
      ::DeleteObject(brush);
    }
    ::EndPaint(hwnd, &ps);
    return 0;
  }
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

void ShowBackdrop(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &BackdropProc;
  wc.hInstance = instance;
  wc.lpszClassName = "CorvaneTestBackdrop";
  ::RegisterClassA(&wc);
  HWND backdrop = ::CreateWindowExA(WS_EX_TOOLWINDOW, "CorvaneTestBackdrop", "Backdrop", WS_POPUP, 0,
                                    0, ::GetSystemMetrics(SM_CXSCREEN),
                                    ::GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance,
                                    nullptr);
  ::ShowWindow(backdrop, SW_SHOWNOACTIVATE);
  ::UpdateWindow(backdrop);
  // Let the X server show it before the balloon reads the screen.
  MSG m;
  for (int i = 0; i < 10; ++i) {
    while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&m);
    ::Sleep(30);
  }
}

float ToFloat(const std::string& s) { return static_cast<float>(std::atof(s.c_str())); }

// The tray host: a plain window standing in for the main window.
shell::Tray* gTray = nullptr;

LRESULT CALLBACK TrayHostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    // The main window's unload: the icon goes first.
    if (gTray != nullptr) gTray->Show(false);
    ::DestroyWindow(hwnd);
    return 0;
  }
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

int RunTray(HINSTANCE instance) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &TrayHostProc;
  wc.hInstance = instance;
  wc.hbrBackground = ::GetSysColorBrush(COLOR_3DFACE);
  wc.lpszClassName = "CorvaneTrayHost";
  ::RegisterClassA(&wc);
  HWND host = ::CreateWindowA("CorvaneTrayHost", "Tray host", WS_OVERLAPPEDWINDOW, 200, 200, 300,
                              150, nullptr, nullptr, instance, nullptr);
  if (host == nullptr) return 2;

  shell::Tray tray;
  if (!tray.Create(instance)) return 2;
  gTray = &tray;
  tray.TrayImage(::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_INFORMATION)));
  tray.model().LeftClick = [&] { ::ShowWindow(host, SW_SHOW); };
  tray.model().RightClick = [&] {
    switch (shell::ShowTrayPopupMenu(host)) {
      case shell::TrayMenuChoice::MainWindow:
        ::ShowWindow(host, SW_SHOW);
        break;
      case shell::TrayMenuChoice::Exit:
        // The exit path: the icon goes with the program.
        tray.Show(false);
        ::DestroyWindow(host);
        break;
      default:
        break;
    }
  };
  tray.Show(true);
  if (__argc > 2 && std::string(__argv[2]) == "balloon") tray.showBalloonoolTip(true);

  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  gTray = nullptr;
  // Every exit path removes the icon: 4 tells that one did not.
  return tray.IsVisible() ? 4 : 0;
}

int WaitForNotificationToClose() {
  MSG message;
  while (shell::NotificationWindow() != nullptr && ::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  auto args = Arguments();
  if (args.empty()) return 2;
  const std::string& mode = args[0];
  if (mode == "tray") return RunTray(instance);
  if (mode == "msgbox" && args.size() == 10) {
    ShowBackdrop(instance);
    std::int16_t code = shell::msg_Box("Apply the new settings now? Windows keeps them until the "
                                       "next change.",
                                       std::atoi(args[1].c_str()), "Corvane question",
                                       args[4] == "1", args[5], args[6], args[7], args[8], 0,
                                       ToFloat(args[2]), ToFloat(args[3]), 0);
    WriteResult(args[9], std::to_string(code));
    return code;
  }
  if (mode == "input" && args.size() == 7) {
    ShowBackdrop(instance);
    std::string text = shell::input_box("Host to ping every few minutes:", std::atoi(args[1].c_str()),
                                        "Net Pinger", args[5], false, args[4], 0, ToFloat(args[2]),
                                        ToFloat(args[3]), 0);
    WriteResult(args[6], text);
    return 0;
  }
  if (mode == "notify9x") {
    ShowBackdrop(instance);
    shell::ShowProgramStillRunningNotification();
    return WaitForNotificationToClose();
  }
  if (mode == "notify" && args.size() == 4) {
    ShowBackdrop(instance);
    shell::MsgAuto_box("Memory freed: 24 MB", 64, "Ram Booster",
                       static_cast<std::int16_t>(std::atoi(args[1].c_str())), false, 0,
                       ToFloat(args[2]), ToFloat(args[3]), 0);
    return WaitForNotificationToClose();
  }
  return 2;
}
