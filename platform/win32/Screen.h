// The screen's twips per pixel, for converting the design's twips.
#pragma once

#include <windows.h>

#include "platform/Twips.h"
#include "platform/win32/Handle.h"

namespace corvane::win32 {

// axis: LOGPIXELSX or LOGPIXELSY. 15 when the display cannot be asked.
inline int ScreenTwipsPerPixel(int axis) {
  ScopedGetDc screen(nullptr);
  return TwipsPerPixel(screen.get() != nullptr ? ::GetDeviceCaps(screen.get(), axis) : 96);
}

}  // namespace corvane::win32
