// The movie player: a child window of its own class that plays a movie file
// of the program's vector format (docs/movie-format.md), and reports the
// command of each drawn button that is pressed.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace corvane::win32 {

// The player window's class name. The main window finds the player among its
// children by this name (compared in lower case).
inline constexpr char kMoviePlayerClass[] = "CorvaneMoviePlayer";

class MoviePlayer {
 public:
  // FSCommand: the command text and its argument text.
  using CommandHandler = std::function<void(const std::string& command, const std::string& args)>;

  MoviePlayer();
  ~MoviePlayer();
  MoviePlayer(const MoviePlayer&) = delete;
  MoviePlayer& operator=(const MoviePlayer&) = delete;

  // Creates the player window as a child of parent, at the given place in
  // pixels. Right-button presses are its caller's business (see the main
  // window's hook).
  bool Create(HWND parent, int left, int top, int width, int height, HINSTANCE instance);
  HWND hwnd() const;

  // LoadMovie(layer, path): loads the file and starts playing it. A missing
  // file leaves the surface empty; a corrupt one is refused the same way.
  // Returns whether a movie now plays.
  bool LoadMovie(int layer, const std::string& path);
  // SetVariable("_root.home", "true") sends the movie to its home screen.
  void SetVariable(const std::string& name, const std::string& value);
  void SetCommandHandler(CommandHandler handler);
  // ZOrder 0: in front of its sibling windows.
  void BringToFront();
  // Placement in the parent's client area, in pixels.
  void Place(int left, int top, int width, int height);

  // The name of the screen the movie shows ("home", "about", ...); empty
  // while no movie plays. For tests and diagnostics.
  std::string ScreenName() const;
  // Whether an animation runs (the frame timer is on).
  bool Animating() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace corvane::win32
