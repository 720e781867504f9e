// The yardstick of the start-up benchmark: the least a Win32 program does to
// show a painted window — register a class, create, show, paint, pump.
#include <windows.h>

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd, &ps);
      HBRUSH brush = ::CreateSolidBrush(RGB(0x12, 0x34, 0x56));
      ::FillRect(dc, &ps.rcPaint, brush);
      ::DeleteObject(brush);
      ::EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &Proc;
  wc.hInstance = instance;
  wc.lpszClassName = "CorvaneBareWindow";
  ::RegisterClassA(&wc);
  HWND hwnd = ::CreateWindowExA(0, "CorvaneBareWindow", "Bare", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 675,
                                435, nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr) return 1;
  ::ShowWindow(hwnd, SW_SHOW);
  ::UpdateWindow(hwnd);
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
  return 0;
}
