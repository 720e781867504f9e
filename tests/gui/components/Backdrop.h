// The backdrop that the component host paints behind the message windows:
// vertical stripes of four known colours, so that a test can tell the
// screen behind the balloon from the balloon, and check the shadow's
// darkening against the colour it darkens.
#pragma once

#include <windows.h>

namespace corvane::gui {

inline COLORREF BackdropColor(int x, int /*y*/) {
  static const COLORREF kStripes[] = {RGB(70, 130, 180), RGB(200, 120, 60), RGB(90, 170, 90),
                                      RGB(220, 220, 220)};
  return kStripes[(x / 32) % 4];
}

}  // namespace corvane::gui
