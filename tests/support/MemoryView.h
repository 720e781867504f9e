// The in-memory twin of a form's controls for native model tests: it keeps
// what IView sets, follows the same rules as the Win32 form (the change
// echo of text boxes, exclusive options, hidden containers), records the
// message boxes, and plays the user's actions as events.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/ui/Layout.h"
#include "platform/ui/View.h"

namespace corvane::testing {

class MemoryView final : public ui::IView {
 public:
  // The controls of the layout with their captions and flags.
  explicit MemoryView(const ui::Layout& layout);

  // Where the view's events go (the model's OnEvent); none: dropped.
  std::function<void(const ui::Event&)> onEvent;

  // IView
  void SetText(int id, std::string_view text) override;
  std::string Text(int id) const override;
  void SetValue(int id, int value) override;
  int Value(int id) const override;
  void SetRange(int id, int minimum, int maximum) override;
  void SetEnabled(int id, bool enabled) override;
  bool Enabled(int id) const override;
  void SetVisible(int id, bool visible) override;
  bool Visible(int id) const override;
  void SetItems(int id, std::span<const std::string> items) override;
  int ItemCount(int id) const override;
  void SetRows(int id, std::span<const std::vector<std::string>> rows) override;
  std::vector<std::vector<std::string>> Rows(int id) const override;
  void SetSamples(int id, std::span<const int> visible, int zoom, std::size_t total) override;
  void SetToolTip(int id, std::string_view text) override;
  int ShowMessage(std::string_view text, std::string_view title, std::uint32_t flags) override;

  // The user's actions. Each changes the control as the system's control
  // would and raises its event; on a disabled or hidden control nothing
  // happens (false).
  bool Click(int id);                       // button, check box (toggles), option (sets)
  bool Type(int id, std::string_view text);  // replaces a text box's text
  bool Choose(int id, int index);           // list, drop-down list, list view row; slider position
  bool Arrow(int id, int delta);            // an up-down's arrow (+1 up, -1 down)
  bool ClickColumn(int id, int column);

  struct Message {
    std::string text;
    std::string title;
    std::uint32_t flags;
  };
  std::vector<Message> messages;
  // The answers the next message boxes give, in order; then kAnswerOk.
  std::deque<int> answers;
  // Runs while each message box is open (what the user or the program does
  // meanwhile: an unload, say), before its answer is given.
  std::function<void()> whileMessageShows;

  std::vector<std::string> Items(int id) const;
  std::vector<int> Samples(int id) const;
  int Zoom(int id) const;
  std::string ToolTip(int id) const;
  std::pair<int, int> Range(int id) const;
  // Every SetValue, in order ("chkRunMainProgram=1").
  std::vector<std::string> valueLog;

 private:
  struct State {
    const ui::Control* control = nullptr;
    std::string text;
    int value = 0;
    int minimum = 0, maximum = 100;
    bool enabled = true;
    bool visible = true;
    std::vector<std::string> items;
    std::vector<std::vector<std::string>> rows;
    std::vector<int> samples;
    int zoom = 0;
    std::size_t total = 0;
    std::string toolTip;
  };
  State* Find(int id);
  const State* Find(int id) const;
  bool Usable(int id) const;
  void Raise(const ui::Event& event);

  const ui::Layout& layout_;
  std::map<int, State> states_;
};

}  // namespace corvane::testing
