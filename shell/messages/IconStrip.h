// The message windows' icon strip: one 192 x 16 picture of twelve 16 x 16
// cells, numbered from 1, pure green RGB(0, 255, 0) transparent. The artwork
// is the program's own, drawn here at run time from simple shapes.
#pragma once

#include <cstdint>

#include "shell/messages/Image.h"

namespace corvane::shell {

inline constexpr int kIconCellSize = 16;
inline constexpr int kIconCellCount = 12;
inline constexpr Pixel kIconTransparent = MakePixel(0, 255, 0);

// Cells in use: 1 critical, 2 exclamation, 3 information, 4 question,
// 5..7 the flag values 80, 96, 112, 9..11 the close mark (normal, mouse
// over it, button held down).
inline constexpr int kCellCloseNormal = 9;
inline constexpr int kCellCloseHover = 10;
inline constexpr int kCellClosePressed = 11;

Image MakeIconStrip();

// Cell k (1..12) drawn over a background: the transparent green becomes
// background (a pixel, 0x00RRGGBB). An empty cell for a number outside
// 1..12.
Image IconCell(const Image& strip, int cell, Pixel background);

// SetDisplayIcon's choice: the cell for the icon bits (flags and 112) of the
// message-box flags; 0 for no icon.
int IconCellForFlags(std::int32_t flags);

}  // namespace corvane::shell
