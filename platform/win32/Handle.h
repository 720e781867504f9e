// One move-only owner for every kind of Win32 handle, after WIL's unique_any:
// a traits type names the handle type, its empty value and how it is closed.
// Copying is deleted, so a handle can never be closed twice.
#pragma once

#include <windows.h>

#include <utility>

namespace corvane::win32 {

template <typename Traits>
class UniqueHandle {
 public:
  using pointer = typename Traits::type;

  UniqueHandle() = default;
  explicit UniqueHandle(pointer value) : value_(value) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  pointer get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::invalid(); }
  pointer release() { return std::exchange(value_, Traits::invalid()); }
  void reset(pointer value = Traits::invalid()) {
    pointer old = std::exchange(value_, value);
    if (old != Traits::invalid()) Traits::close(old);
  }
  // For out-parameters: closes what is held and hands out the slot.
  pointer* put() {
    reset();
    return &value_;
  }

 private:
  pointer value_ = Traits::invalid();
};

template <typename T, auto Close>
struct NullTraits {
  using type = T;
  static constexpr T invalid() { return nullptr; }
  static void close(T value) { (void)Close(value); }
};

struct FileHandleTraits {
  using type = HANDLE;
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE value) { ::CloseHandle(value); }
};

template <typename T>
struct GdiTraits {
  using type = T;
  static constexpr T invalid() { return nullptr; }
  static void close(T value) { ::DeleteObject(value); }
};

using UniqueHkey = UniqueHandle<NullTraits<HKEY, &::RegCloseKey>>;
using UniqueHandleNull = UniqueHandle<NullTraits<HANDLE, &::CloseHandle>>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueHicon = UniqueHandle<NullTraits<HICON, &::DestroyIcon>>;
using UniqueHmenu = UniqueHandle<NullTraits<HMENU, &::DestroyMenu>>;
using UniqueHmodule = UniqueHandle<NullTraits<HMODULE, &::FreeLibrary>>;
using UniqueHbrush = UniqueHandle<GdiTraits<HBRUSH>>;
using UniqueHfont = UniqueHandle<GdiTraits<HFONT>>;
using UniqueHbitmap = UniqueHandle<GdiTraits<HBITMAP>>;
using UniqueHrgn = UniqueHandle<GdiTraits<HRGN>>;
using UniqueHpen = UniqueHandle<GdiTraits<HPEN>>;
using UniqueHdc = UniqueHandle<NullTraits<HDC, &::DeleteDC>>;  // from CreateCompatibleDC
// A window this code made and owns outright (not one the system or a
// parent destroys first).
using UniqueHwnd = UniqueHandle<NullTraits<HWND, &::DestroyWindow>>;

// SelectObject for a scope: puts the previous object back.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
  ~ScopedSelect() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// GetDC/ReleaseDC for a scope.
class ScopedGetDc {
 public:
  explicit ScopedGetDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  ScopedGetDc(const ScopedGetDc&) = delete;
  ScopedGetDc& operator=(const ScopedGetDc&) = delete;
  ~ScopedGetDc() {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint/EndPaint for a WM_PAINT handler.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND window) : window_(window) { dc_ = ::BeginPaint(window, &paint_); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  ~ScopedPaint() { ::EndPaint(window_, &paint_); }
  HDC dc() const { return dc_; }
  const RECT& area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
};

}  // namespace corvane::win32
