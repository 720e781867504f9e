// Where the movie's buttons are: which button a point hits on a screen, and
// where the button that sends a command is drawn. The player hit-tests with
// it; tests use it to click the drawn buttons by position as a user would.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/movie/MovieModel.h"

namespace corvane::movie {

// The topmost button on the screen that contains the point (movie pixels);
// -1 when none does.
int ButtonAt(const Movie& movie, int screen, PointF point);

// The buttons shown on a screen, in drawing order.
std::vector<int> ButtonsOnScreen(const Movie& movie, int screen);

// The hit area of the first button shown on the screen that sends the
// command (compared whole and case-sensitively), in movie pixels. Nothing when
// the screen does not exist or has no such button.
std::optional<RectF> FindButton(const Movie& movie, const std::string& screen,
                                const std::string& command);

// A point inside that button that no button drawn above it covers: where a
// click reaches it. Nothing when it is hidden entirely.
std::optional<PointF> ButtonClickPoint(const Movie& movie, const std::string& screen,
                                       const std::string& command);

// The button with that id (the file's id= name), or -1.
int ButtonById(const Movie& movie, const std::string& id);

// Everything a button can paint (its box, every look, the focus ring), in
// movie pixels: what must be repainted when its looks change.
RectF ButtonBounds(const Movie& movie, int button);

// Every command some button of the movie sends, once each, in file order.
std::vector<std::string> Commands(const Movie& movie);

}  // namespace corvane::movie
