// Where the movie draws the button that sends a command: its hit area in
// movie pixels on the named screen ("home", "about", ...).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace corvane::gui {

std::optional<RECT> FindMovieButton(const std::string& movieFile, const std::string& command,
                                    const std::string& screen);

}  // namespace corvane::gui
