// What a window's model sees of its window: the controls through IView, the
// window's timers through ITimers, and control events as one small Event.
// The Win32 side is platform/win32/FormWindow.h; tests use the in-memory
// view and fake timers of tests/support.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::ui {

struct Event {
  enum Kind : std::uint8_t {
    Click,        // a button pressed, a check box or option clicked (value: the box's value)
    Change,       // a text box's text changed (value: kEditedByUser when edited in the box, 0 when set whole)
    Select,       // a list, drop-down list or list view row chosen (value: the index)
    Scroll,       // a slider moved (value: its position) or an up-down pressed (value: +1/-1)
    Column,       // a list view's column heading clicked (value: the column, from 0)
    DoubleClick,  // a list or list view row double-clicked (value: the index)
    Tick,         // a timer elapsed (id: the timer's identifier)
  };
  int id = 0;
  Kind kind = Click;
  int value = 0;
  friend bool operator==(const Event&, const Event&) = default;
};

// Event::Change's value when the user edited the box's text himself (a key,
// a paste, an undo); 0 when the text was set as a whole (SetText).
inline constexpr int kEditedByUser = 1;

// The answers of ShowMessage, as the system's message box gives them.
enum MessageAnswer : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };
// Flags of ShowMessage (those of the system's message box).
enum MessageFlag : std::uint32_t {
  kMessageOk = 0x0,
  kMessageOkCancel = 0x1,
  kMessageYesNoCancel = 0x3,
  kMessageYesNo = 0x4,
  kMessageError = 0x10,
  kMessageQuestion = 0x20,
  kMessageWarning = 0x30,
  kMessageInformation = 0x40,
};

// The controls of one form, by identifier. An identifier the form does not
// have is ignored by the setters and reads as empty, 0, false.
//
// Programmatic changes raise no events, with one exception the windows rely
// on: SetText on a text box with a text different from the one it shows
// raises its Change event once, at once, before SetText returns (so a
// Change handler that snaps the text back to the last valid value is called
// once more with that value, and stops there). An equal text raises nothing.
class IView {
 public:
  // Captions, label and text box texts.
  virtual void SetText(int id, std::string_view text) = 0;
  virtual std::string Text(int id) const = 0;
  // Check box 0 unchecked, 1 checked, 2 grayed; option 0/1 (setting 1 clears
  // the other options of its group); list, drop-down list and list view: the
  // selected index, -1 none; slider: its position.
  virtual void SetValue(int id, int value) = 0;
  virtual int Value(int id) const = 0;
  // A slider's or up-down's range.
  virtual void SetRange(int id, int minimum, int maximum) = 0;
  virtual void SetEnabled(int id, bool enabled) = 0;
  virtual bool Enabled(int id) const = 0;
  // Hiding a Frame or Panel hides what it holds.
  virtual void SetVisible(int id, bool visible) = 0;
  virtual bool Visible(int id) const = 0;
  // The items of a list or drop-down list; the selection becomes -1.
  virtual void SetItems(int id, std::span<const std::string> items) = 0;
  virtual int ItemCount(int id) const = 0;
  // The rows of a list view, each with one text per column; the selection
  // becomes -1.
  virtual void SetRows(int id, std::span<const std::vector<std::string>> rows) = 0;
  virtual std::vector<std::vector<std::string>> Rows(int id) const = 0;
  // A graph's visible samples, oldest first (0..100 on its scale), the
  // number of lines across it (its zoom) and the samples taken since it
  // was made (so that its grid scrolls with the line).
  virtual void SetSamples(int id, std::span<const int> visible, int zoom, std::size_t total) = 0;
  // The tip shown while the pointer rests on a control; "" shows none.
  virtual void SetToolTip(int id, std::string_view text) = 0;
  // A modal message box over the form; returns the button pressed.
  virtual int ShowMessage(std::string_view text, std::string_view title, std::uint32_t flags) = 0;

 protected:
  ~IView() = default;
};

inline constexpr int kMaxTimerInterval = 65535;

// The form's timers, by identifier. Each elapsed interval raises a Tick
// event with the timer's identifier.
class ITimers {
 public:
  // 0 stops the timer; 1..65535 (re)starts it with that interval in
  // milliseconds; more is taken as 65535, less than 0 as 0.
  virtual void SetTimer(int id, int intervalMs) = 0;

 protected:
  ~ITimers() = default;
};

// The interval a timer runs with: 0 stopped, else 1..65535.
constexpr int TimerInterval(int requested) {
  return requested <= 0 ? 0 : requested > kMaxTimerInterval ? kMaxTimerInterval : requested;
}

// A window's model: its working values and rules. The window calls these
// in this order: OnLoad once the controls exist, OnEvent for each event,
// OnUnload before the controls go.
class FormModel {
 public:
  virtual ~FormModel() = default;
  // The load event: fill lists, read stored settings, start timers.
  virtual void OnLoad() {}
  virtual void OnEvent(const Event& event) = 0;
  // Runs before each showing of the window by its command (the backup
  // manager rebuilds its list here).
  virtual void BeforeShow() {}
  // The unload event: stop what must not outlive the window.
  virtual void OnUnload() {}
};

}  // namespace corvane::ui
