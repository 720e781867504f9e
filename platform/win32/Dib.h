// The 32-bit top-down device-independent bitmaps the program draws into and
// reads back directly: one 0x00RRGGBB word a pixel, rows from the top.
#pragma once

#include <windows.h>

#include "platform/win32/Handle.h"

namespace corvane::win32 {

// A width x height section for dc; bits gets its first pixel. None, and bits
// null, when the system refuses it.
inline UniqueHbitmap CreateTopDownDib(HDC dc, int width, int height, void*& bits) {
  BITMAPINFO info{};
  // A negative height makes the rows run from the top down.
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  bits = nullptr;
  UniqueHbitmap bitmap(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bits == nullptr) bitmap.reset();
  return bitmap;
}

}  // namespace corvane::win32
