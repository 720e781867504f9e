#include "shell/win32/Hook.h"

#include "shell/MoviePlayerHook.h"

namespace corvane::shell {

WNDPROC previousWindowProc = nullptr;

namespace {
HWND hookedWindow = nullptr;
}

bool HookWindow(HWND hWnd, bool enable) {
  if (enable) {
    if (previousWindowProc != nullptr) return hookedWindow == hWnd;  // one hook per process
    auto replaced = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookedWindowProc)));
    if (replaced == nullptr) return false;
    previousWindowProc = replaced;
    hookedWindow = hWnd;
    return true;
  }
  if (previousWindowProc == nullptr) return false;
  if (::IsWindow(hookedWindow)) {
    ::SetWindowLongPtrA(hookedWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousWindowProc));
  }
  previousWindowProc = nullptr;
  hookedWindow = nullptr;
  return true;
}

LRESULT CALLBACK HookedWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC previous = previousWindowProc;
  if (previous == nullptr) return ::DefWindowProcA(hWnd, msg, wParam, lParam);
  UINT passed = FilterMoviePlayerMessage(msg, wParam);
  if (msg == WM_NCDESTROY) {
    // The player goes away before the process ends: the kept procedure is
    // no longer anyone's.
    previousWindowProc = nullptr;
    hookedWindow = nullptr;
  }
  return ::CallWindowProcA(previous, hWnd, passed, wParam, lParam);
}

HWND FindMoviePlayerWindow(HWND mainWindow) {
  for (HWND child = ::GetWindow(mainWindow, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    char name[kClassNameBufferSize] = {};
    int length = ::GetClassNameA(child, name, static_cast<int>(sizeof name));
    if (length > 0 && IsMoviePlayerClass(std::string_view(name, static_cast<std::size_t>(length)))) {
      return child;
    }
  }
  return nullptr;
}

}  // namespace corvane::shell
