#include "platform/movie/MoviePlayback.h"

#include <algorithm>

#include "platform/movie/MovieHitTest.h"

namespace corvane::movie {

namespace {

RectF UnionRect(const std::optional<RectF>& a, const RectF& b) {
  if (!a) return b;
  float x0 = std::min(a->x, b.x);
  float y0 = std::min(a->y, b.y);
  float x1 = std::max(a->x + a->w, b.x + b.w);
  float y1 = std::max(a->y + a->h, b.y + b.h);
  return {x0, y0, x1 - x0, y1 - y0};
}

// How far a new screen's items rise while they fade in, in movie pixels.
constexpr float kEnterRise = 8;

}  // namespace

float Tween::At(std::uint32_t now) const {
  std::uint32_t elapsed = now - start;
  if (duration <= 0 || elapsed >= static_cast<std::uint32_t>(duration)) return to;
  float t = static_cast<float>(elapsed) / static_cast<float>(duration);
  float eased = 1 - (1 - t) * (1 - t) * (1 - t);  // ease out: quick start, soft landing
  return from + (to - from) * eased;
}

bool Tween::Running(std::uint32_t now) const {
  return duration > 0 && (now - start) < static_cast<std::uint32_t>(duration);
}

void Tween::Set(float target, std::uint32_t now, int durationMs) {
  float current = At(now);
  if (current == target && !Running(now)) {
    from = to = target;
    return;
  }
  from = current;
  to = target;
  start = now;
  duration = durationMs;
}

bool Tween::MovedAfter(std::uint32_t since) const {
  if (duration <= 0 || from == to) return false;
  std::uint32_t end = start + static_cast<std::uint32_t>(duration);
  return static_cast<std::int32_t>(end - since) > 0;
}

MoviePlayback::MoviePlayback(const Movie& movie) : movie_(movie) {
  buttons_.resize(movie_.buttons.size());
  for (std::size_t b = 0; b < movie_.buttons.size(); ++b) {
    buttonBounds_.push_back(ButtonBounds(movie_, static_cast<int>(b)));
  }
}

const std::string& MoviePlayback::screenName() const {
  static const std::string kNone;
  return screen_ >= 0 && static_cast<std::size_t>(screen_) < movie_.screens.size()
             ? movie_.screens[static_cast<std::size_t>(screen_)]
             : kNone;
}

void MoviePlayback::Start(std::uint32_t now) {
  previousScreen_ = -1;
  screen_ = 0;
  transition_ = Tween{0, 1, now, movie_.transitionMs};
  for (std::size_t b = 0; b < buttons_.size(); ++b) {
    const auto& on = movie_.buttons[b].activeOn;
    float active = std::find(on.begin(), on.end(), screen_) != on.end() ? 1.0f : 0.0f;
    buttons_[b] = ButtonState{};
    buttons_[b].active = Tween{active, active, now, 0};
  }
  hovered_ = pressed_ = focused_ = -1;
  focusVisible_ = false;
  wholeDirty_ = true;
  lastTake_ = now;
  UpdateHover(now);
}

void MoviePlayback::GoTo(int screen, std::uint32_t now) {
  if (screen < 0 || static_cast<std::size_t>(screen) >= movie_.screens.size()) return;
  if (screen == screen_) return;
  previousScreen_ = screen_;
  screen_ = screen;
  transition_ = Tween{0, 1, now, movie_.transitionMs};
  wholeDirty_ = true;
  for (std::size_t b = 0; b < buttons_.size(); ++b) {
    const auto& on = movie_.buttons[b].activeOn;
    float active = std::find(on.begin(), on.end(), screen_) != on.end() ? 1.0f : 0.0f;
    buttons_[b].active.Set(active, now, movie_.transitionMs);
  }
  if (pressed_ >= 0) {
    buttons_[static_cast<std::size_t>(pressed_)].press.Set(0, now, movie_.pressMs);
    pressed_ = -1;
  }
  auto order = FocusOrder();
  if (focused_ >= 0 && std::find(order.begin(), order.end(), focused_) == order.end()) SetFocus(-1, now);
  UpdateHover(now);
}

void MoviePlayback::SetVariable(std::string_view name, std::string_view value, std::uint32_t now) {
  auto it = std::find_if(variables_.begin(), variables_.end(),
                         [&](const auto& v) { return v.first == name; });
  if (it != variables_.end()) {
    it->second = std::string(value);
  } else if (variables_.size() < 256) {
    variables_.emplace_back(std::string(name), std::string(value));
  }
  if (name == "_root.home" && value == "true") GoTo(0, now);
}

std::optional<std::string> MoviePlayback::GetVariable(std::string_view name) const {
  for (const auto& [n, v] : variables_) {
    if (n == name) return v;
  }
  return std::nullopt;
}

void MoviePlayback::MarkButton(int button) {
  if (button >= 0) dirty_ = UnionRect(dirty_, buttonBounds_[static_cast<std::size_t>(button)]);
}

void MoviePlayback::UpdateHover(std::uint32_t now) {
  int hit = pointer_ ? ButtonAt(movie_, screen_, *pointer_) : -1;
  hovered_ = hit;
  for (std::size_t b = 0; b < buttons_.size(); ++b) {
    int index = static_cast<int>(b);
    bool hover = hovered_ == index && (pressed_ < 0 || pressed_ == index);
    bool press = pressed_ == index && hovered_ == index;
    ButtonState& state = buttons_[b];
    float hoverBefore = state.hover.to;
    float pressBefore = state.press.to;
    state.hover.Set(hover ? 1.0f : 0.0f, now, movie_.hoverMs);
    state.press.Set(press ? 1.0f : 0.0f, now, movie_.pressMs);
    if (state.hover.to != hoverBefore || state.press.to != pressBefore) MarkButton(index);
  }
}

void MoviePlayback::PointerMove(PointF p, std::uint32_t now) {
  pointer_ = p;
  UpdateHover(now);
}

void MoviePlayback::PointerLeave(std::uint32_t now) {
  pointer_.reset();
  UpdateHover(now);
}

std::optional<Command> MoviePlayback::PointerDown(PointF p, std::uint32_t now) {
  pointer_ = p;
  if (focusVisible_) {
    focusVisible_ = false;
    SetFocus(focused_, now);
  }
  int hit = ButtonAt(movie_, screen_, p);
  if (hit < 0) {
    UpdateHover(now);
    return std::nullopt;
  }
  const Button& button = movie_.buttons[static_cast<std::size_t>(hit)];
  if (button.trigger == Trigger::Press) {
    UpdateHover(now);
    return Activate(hit, now);
  }
  pressed_ = hit;
  if (button.focusable) SetFocus(hit, now);
  UpdateHover(now);
  return std::nullopt;
}

std::optional<Command> MoviePlayback::PointerUp(PointF p, std::uint32_t now) {
  pointer_ = p;
  int pressed = pressed_;
  pressed_ = -1;
  UpdateHover(now);
  if (pressed < 0) return std::nullopt;
  if (ButtonAt(movie_, screen_, p) != pressed) return std::nullopt;  // released elsewhere
  return Activate(pressed, now);
}

void MoviePlayback::CancelPress(std::uint32_t now) {
  if (pressed_ < 0) return;
  pressed_ = -1;
  UpdateHover(now);
}

std::optional<Command> MoviePlayback::Activate(int button, std::uint32_t now) {
  const Button& b = movie_.buttons[static_cast<std::size_t>(button)];
  Command command{b.command, b.args};
  if (b.gotoScreen >= 0) GoTo(b.gotoScreen, now);
  return command;
}

std::vector<int> MoviePlayback::FocusOrder() const {
  std::vector<int> order;
  for (int b : ButtonsOnScreen(movie_, screen_)) {
    const Button& button = movie_.buttons[static_cast<std::size_t>(b)];
    if (button.focusable && button.trigger == Trigger::Release) order.push_back(b);
  }
  return order;
}

void MoviePlayback::SetFocus(int button, std::uint32_t now) {
  int before = focused_;
  focused_ = button;
  for (std::size_t b = 0; b < buttons_.size(); ++b) {
    float target = focusVisible_ && static_cast<int>(b) == focused_ ? 1.0f : 0.0f;
    if (buttons_[b].focus.to != target) {
      buttons_[b].focus.Set(target, now, movie_.hoverMs);
      MarkButton(static_cast<int>(b));
    }
  }
  if (before != focused_) MarkButton(before);
}

std::optional<Command> MoviePlayback::KeyPress(Key key, std::uint32_t now) {
  std::vector<int> order = FocusOrder();
  if (key == Key::Enter || key == Key::Space) {
    if (!focusVisible_ || focused_ < 0) return std::nullopt;
    if (std::find(order.begin(), order.end(), focused_) == order.end()) return std::nullopt;
    return Activate(focused_, now);
  }
  if (order.empty()) return std::nullopt;
  bool forward = key == Key::Tab || key == Key::Right || key == Key::Down;
  auto it = std::find(order.begin(), order.end(), focused_);
  int next;
  if (!focusVisible_ && it != order.end()) {
    next = focused_;  // the first key shows where the focus is
  } else if (it == order.end()) {
    next = forward ? order.front() : order.back();
  } else {
    auto index = static_cast<std::size_t>(it - order.begin());
    std::size_t n = order.size();
    next = order[forward ? (index + 1) % n : (index + n - 1) % n];
  }
  focusVisible_ = true;
  SetFocus(next, now);
  return std::nullopt;
}

void MoviePlayback::Blur(std::uint32_t now) {
  focusVisible_ = false;
  SetFocus(focused_, now);
}

bool MoviePlayback::Animating(std::uint32_t now) const {
  if (transition_.Running(now)) return true;
  for (const ButtonState& s : buttons_) {
    if (s.hover.Running(now) || s.press.Running(now) || s.active.Running(now) || s.focus.Running(now)) {
      return true;
    }
  }
  return false;
}

FrameState MoviePlayback::FrameAt(std::uint32_t now) const {
  FrameState frame;
  float p = transition_.At(now);
  frame.itemOpacity.reserve(movie_.items.size());
  frame.itemOffsetY.reserve(movie_.items.size());
  for (const Item& item : movie_.items) {
    bool before = previousScreen_ >= 0 && Movie::OnScreen(item, previousScreen_);
    bool after = Movie::OnScreen(item, screen_);
    float opacity = before && after ? 1.0f : after ? p : before ? 1 - p : 0.0f;
    frame.itemOpacity.push_back(opacity);
    frame.itemOffsetY.push_back(after && !before ? (1 - p) * kEnterRise : 0.0f);
  }
  frame.lookWeight.reserve(buttons_.size());
  for (const ButtonState& s : buttons_) {
    frame.lookWeight.push_back({1.0f, s.hover.At(now), s.press.At(now), s.active.At(now)});
    frame.focus.push_back(s.focus.At(now));
  }
  return frame;
}

std::optional<RectF> MoviePlayback::TakeDirty(std::uint32_t now) {
  std::optional<RectF> dirty = dirty_;
  if (wholeDirty_ || transition_.MovedAfter(lastTake_)) {
    dirty = RectF{0, 0, static_cast<float>(movie_.width), static_cast<float>(movie_.height)};
  } else {
    for (std::size_t b = 0; b < buttons_.size(); ++b) {
      const ButtonState& s = buttons_[b];
      if (s.hover.MovedAfter(lastTake_) || s.press.MovedAfter(lastTake_) ||
          s.active.MovedAfter(lastTake_) || s.focus.MovedAfter(lastTake_)) {
        dirty = UnionRect(dirty, buttonBounds_[b]);
      }
    }
  }
  dirty_.reset();
  wholeDirty_ = false;
  lastTake_ = now;
  return dirty;
}

}  // namespace corvane::movie
