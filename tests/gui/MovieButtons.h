// Where the movie draws the button that sends a command, read from the
// movie file itself with the player's own hit-test rules: its hit area, and
// a point inside it that no other button covers, in movie pixels, on the
// named screen ("home", "about", ...).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace corvane::gui {

std::optional<RECT> FindMovieButton(const std::string& movieFile, const std::string& command,
                                    const std::string& screen);
std::optional<POINT> MovieButtonClickPoint(const std::string& movieFile, const std::string& command,
                                           const std::string& screen);
// Every command some button of the movie sends.
std::vector<std::string> MovieCommands(const std::string& movieFile);

}  // namespace corvane::gui
