// The base of every window class of the program, after the classic samples'
// BaseWindow<T>: a static window procedure binds the C++ object to its HWND at
// WM_NCCREATE, forwards each message to T::HandleMessage, and unbinds at
// WM_NCDESTROY. No exception leaves a window procedure: one that reaches it is
// turned into the message's default handling.
#pragma once

#include <windows.h>

namespace corvane::win32 {

template <typename Derived>
class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window() {
    if (hwnd_ != nullptr) {
      // Unbind first, so that messages sent during destruction do not reach
      // a half-destroyed object.
      ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
      ::DestroyWindow(hwnd_);
    }
  }

  HWND hwnd() const { return hwnd_; }

 protected:
  // Registers the class once per process (a second registration fails
  // harmlessly) and creates the window bound to this object.
  bool CreateBound(const char* className, const WNDCLASSEXA& classTemplate, DWORD exStyle,
                   const char* caption, DWORD style, int x, int y, int width, int height,
                   HWND parent, HMENU menu, HINSTANCE instance) {
    WNDCLASSEXA wc = classTemplate;
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Window::StaticProc;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    ::RegisterClassExA(&wc);
    return ::CreateWindowExA(exStyle, className, caption, style, x, y, width, height, parent, menu,
                             instance, this) != nullptr;
  }

  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcA(hwnd_, message, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      self = static_cast<Window*>(create->lpCreateParams);
      self->hwnd_ = hwnd;
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (self == nullptr) return ::DefWindowProcA(hwnd, message, wParam, lParam);

    LRESULT result = 0;
    try {
      result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
      result = ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
    }
    return result;
  }

  HWND hwnd_ = nullptr;
};

}  // namespace corvane::win32
