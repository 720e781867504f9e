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
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  bits = nullptr;
  UniqueHbitmap bitmap(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bits == nullptr) bitmap.reset();
  return bitmap;
}

}  // namespace corvane::win32
