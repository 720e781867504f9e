#include "shell/win32/MainWindow.h"

#include "platform/win32/Handle.h"
#include "shell/MainWindowLayout.h"

namespace corvane::shell {

namespace {

constexpr char kMainClassName[] = "CorvaneMainWindow";
constexpr char kMainCaption[] = "Corvane";

int ScreenTwipsPerPixel(int axis) {
  win32::ScopedGetDc screen(nullptr);
  return TwipsPerPixel(screen.get() != nullptr ? ::GetDeviceCaps(screen.get(), axis) : 96);
}

}  // namespace

bool MainWindow::Create(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.style = CS_DBLCLKS;
  wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(1));
  wc.hbrBackground = ::GetSysColorBrush(COLOR_3DFACE);
  int width = TwipsToPixels(kMainWindowWidthTwips, ScreenTwipsPerPixel(LOGPIXELSX));
  int height = TwipsToPixels(kMainWindowHeightTwips, ScreenTwipsPerPixel(LOGPIXELSY));
  return CreateBound(kMainClassName, wc, 0, kMainCaption,
                     WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 0,
                     0, width, height, nullptr, nullptr, instance);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace corvane::shell
