// Sizes and places of the main window, as the program's design fixes them.
#pragma once

#include "platform/Twips.h"

namespace corvane {

// The main window: 10710 x 7485 twips at the top left corner of the screen.
inline constexpr int kMainWindowWidthTwips = 10710;
inline constexpr int kMainWindowHeightTwips = 7485;

// The movie fills the main window's surface: 675 x 435 pixels at 0, 0.
inline constexpr int kMovieLeft = 0;
inline constexpr int kMovieTop = 0;
inline constexpr int kMovieWidth = 675;
inline constexpr int kMovieHeight = 435;

// The child frame's corners are rounded like the movie's card behind it.
inline constexpr int kFrameCornerRadius = 12;

}  // namespace corvane
