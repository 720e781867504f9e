// The movie's behaviour, apart from any window: which screen shows, which
// button is hovered, pressed or focused, the animations between them, and the
// commands that presses raise. The player window feeds it pointer and key
// events with a millisecond clock and paints FrameAt(now) while Animating.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/movie/MovieModel.h"
#include "platform/movie/MovieRenderer.h"

namespace corvane::movie {

// An FSCommand: the command text and its argument text.
struct Command {
  std::string command;
  std::string args;
  friend bool operator==(const Command&, const Command&) = default;
};

enum class Key { Tab, ShiftTab, Left, Right, Up, Down, Enter, Space };

// A value that eases from one level to another over a time.
struct Tween {
  float from = 0;
  float to = 0;
  std::uint32_t start = 0;
  int duration = 0;
  float At(std::uint32_t now) const;
  bool Running(std::uint32_t now) const;
  void Set(float target, std::uint32_t now, int durationMs);
  // True if it moved at any time after since.
  bool MovedAfter(std::uint32_t since) const;
};

class MoviePlayback {
 public:
  // The movie must outlive the playback.
  explicit MoviePlayback(const Movie& movie);

  // Shows the home screen, faded in from nothing.
  void Start(std::uint32_t now);
  int screen() const { return screen_; }
  const std::string& screenName() const;
  void GoTo(int screen, std::uint32_t now);
  // "_root.home" = "true" returns to the home screen; any other variable is
  // kept but changes nothing that shows.
  void SetVariable(std::string_view name, std::string_view value, std::uint32_t now);
  std::optional<std::string> GetVariable(std::string_view name) const;

  // Pointer positions are in movie pixels.
  void PointerMove(PointF p, std::uint32_t now);
  void PointerLeave(std::uint32_t now);
  std::optional<Command> PointerDown(PointF p, std::uint32_t now);
  std::optional<Command> PointerUp(PointF p, std::uint32_t now);
  // The press ends without a command (the window lost the mouse capture).
  void CancelPress(std::uint32_t now);
  std::optional<Command> KeyPress(Key key, std::uint32_t now);
  // The window lost the keyboard focus: the focus ring fades out.
  void Blur(std::uint32_t now);

  int hovered() const { return hovered_; }
  int pressed() const { return pressed_; }
  int focused() const { return focused_; }
  bool Animating(std::uint32_t now) const;
  FrameState FrameAt(std::uint32_t now) const;
  // The movie area that changed since the previous call (a transition makes
  // it the whole movie), or nothing.
  std::optional<RectF> TakeDirty(std::uint32_t now);

 private:
  struct ButtonState {
    Tween hover, press, active, focus;
  };
  std::optional<Command> Activate(int button, std::uint32_t now);
  void UpdateHover(std::uint32_t now);
  void SetFocus(int button, std::uint32_t now);
  void MarkButton(int button);
  std::vector<int> FocusOrder() const;

  const Movie& movie_;
  int screen_ = 0;
  int previousScreen_ = -1;  // -1: nothing, before the first screen
  Tween transition_;
  std::vector<ButtonState> buttons_;
  std::vector<RectF> buttonBounds_;
  int hovered_ = -1;
  int pressed_ = -1;
  int focused_ = -1;
  bool focusVisible_ = false;
  std::optional<PointF> pointer_;
  std::vector<std::pair<std::string, std::string>> variables_;
  std::optional<RectF> dirty_;
  std::uint32_t lastTake_ = 0;
  bool wholeDirty_ = false;
};

}  // namespace corvane::movie
