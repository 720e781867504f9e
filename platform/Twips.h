// Twips, the unit of the program's window design: 1440 to the inch.
#pragma once

namespace corvane {

// Twips per pixel for a display with the given logical pixels per inch
// (15 at 96 dpi). Never less than 1.
constexpr int TwipsPerPixel(int pixelsPerInch) {
  return pixelsPerInch > 0 && pixelsPerInch <= 1440 ? 1440 / pixelsPerInch : 15;
}

constexpr int TwipsToPixels(int twips, int twipsPerPixel) {
  return twipsPerPixel > 0 ? twips / twipsPerPixel : twips / 15;
}

}  // namespace corvane
