#include "tests/support/MemoryView.h"

namespace corvane::testing {

using ui::ControlKind;
using ui::Event;

MemoryView::MemoryView(const ui::Layout& layout) : layout_(layout) {
  for (const ui::Control& c : layout.controls) {
    State& s = states_[c.id];
    s.control = &c;
    s.text = std::string(c.caption);
    s.enabled = (c.flags & ui::kDisabled) == 0;
    s.visible = (c.flags & ui::kHidden) == 0;
    bool list = c.kind == ControlKind::ListBox || c.kind == ControlKind::ComboBox || c.kind == ControlKind::ListView;
    if (list) s.value = -1;
  }
}

MemoryView::State* MemoryView::Find(int id) {
  auto found = states_.find(id);
  return found == states_.end() ? nullptr : &found->second;
}

const MemoryView::State* MemoryView::Find(int id) const {
  auto found = states_.find(id);
  return found == states_.end() ? nullptr : &found->second;
}

void MemoryView::Raise(const Event& event) {
  if (onEvent) onEvent(event);
}

void MemoryView::SetText(int id, std::string_view text) {
  State* s = Find(id);
  if (s == nullptr || s->text == text) return;
  s->text = std::string(text);
  if (s->control->kind == ControlKind::TextBox) Raise(Event{id, Event::Change, 0});
}

std::string MemoryView::Text(int id) const {
  const State* s = Find(id);
  return s == nullptr ? std::string() : s->text;
}

void MemoryView::SetValue(int id, int value) {
  State* s = Find(id);
  if (s == nullptr) return;
  valueLog.push_back(std::string(s->control->name) + "=" + std::to_string(value));
  switch (s->control->kind) {
    case ControlKind::Option:
      if (value != 0) {
        for (int other : ui::OptionGroup(layout_, id)) Find(other)->value = 0;
      }
      s->value = value != 0 ? 1 : 0;
      return;
    case ControlKind::ListBox:
    case ControlKind::ComboBox:
      s->value = value >= 0 && value < static_cast<int>(s->items.size()) ? value : -1;
      return;
    case ControlKind::ListView:
      s->value = value >= 0 && value < static_cast<int>(s->rows.size()) ? value : -1;
      return;
    case ControlKind::Slider:
    case ControlKind::UpDown:
      s->value = value < s->minimum ? s->minimum : value > s->maximum ? s->maximum : value;
      return;
    default:
      s->value = value;
      return;
  }
}

int MemoryView::Value(int id) const {
  const State* s = Find(id);
  return s == nullptr ? 0 : s->value;
}

void MemoryView::SetRange(int id, int minimum, int maximum) {
  if (State* s = Find(id)) {
    s->minimum = minimum;
    s->maximum = maximum;
  }
}

std::pair<int, int> MemoryView::Range(int id) const {
  const State* s = Find(id);
  return s == nullptr ? std::pair{0, 0} : std::pair{s->minimum, s->maximum};
}

void MemoryView::SetEnabled(int id, bool enabled) {
  if (State* s = Find(id)) s->enabled = enabled;
}

bool MemoryView::Enabled(int id) const {
  const State* s = Find(id);
  return s != nullptr && s->enabled;
}

void MemoryView::SetVisible(int id, bool visible) {
  if (State* s = Find(id)) s->visible = visible;
}

bool MemoryView::Visible(int id) const {
  const State* s = Find(id);
  if (s == nullptr || !s->visible) return false;
  // A control shows only while every container around it shows.
  return s->control->parent == 0 || Visible(s->control->parent);
}

void MemoryView::SetItems(int id, std::span<const std::string> items) {
  if (State* s = Find(id)) {
    s->items.assign(items.begin(), items.end());
    s->value = -1;
  }
}

int MemoryView::ItemCount(int id) const {
  const State* s = Find(id);
  if (s == nullptr) return 0;
  return static_cast<int>(s->control->kind == ControlKind::ListView ? s->rows.size() : s->items.size());
}

std::vector<std::string> MemoryView::Items(int id) const {
  const State* s = Find(id);
  return s == nullptr ? std::vector<std::string>() : s->items;
}

void MemoryView::SetRows(int id, std::span<const std::vector<std::string>> rows) {
  if (State* s = Find(id)) {
    s->rows.assign(rows.begin(), rows.end());
    s->value = -1;
  }
}

std::vector<std::vector<std::string>> MemoryView::Rows(int id) const {
  const State* s = Find(id);
  return s == nullptr ? std::vector<std::vector<std::string>>() : s->rows;
}

void MemoryView::SetSamples(int id, std::span<const int> visible, int zoom, std::size_t total) {
  if (State* s = Find(id)) {
    s->samples.assign(visible.begin(), visible.end());
    s->zoom = zoom;
    s->total = total;
  }
}

void MemoryView::SetToolTip(int id, std::string_view text) {
  if (State* s = Find(id)) s->toolTip = text;
}

int MemoryView::Zoom(int id) const {
  const State* s = Find(id);
  return s == nullptr ? 0 : s->zoom;
}

std::string MemoryView::ToolTip(int id) const {
  const State* s = Find(id);
  return s == nullptr ? std::string() : s->toolTip;
}

std::vector<int> MemoryView::Samples(int id) const {
  const State* s = Find(id);
  return s == nullptr ? std::vector<int>() : s->samples;
}

int MemoryView::ShowMessage(std::string_view text, std::string_view title, std::uint32_t flags) {
  messages.push_back({std::string(text), std::string(title), flags});
  if (whileMessageShows) whileMessageShows();
  if (answers.empty()) return ui::kAnswerOk;
  int answer = answers.front();
  answers.pop_front();
  return answer;
}

bool MemoryView::Usable(int id) const { return Enabled(id) && Visible(id); }

bool MemoryView::Click(int id) {
  if (!Usable(id)) return false;
  State* s = Find(id);
  switch (s->control->kind) {
    case ControlKind::CheckBox:
      s->value = s->value == 1 ? 0 : 1;
      break;
    case ControlKind::Option:
      for (int other : ui::OptionGroup(layout_, id)) Find(other)->value = 0;
      s->value = 1;
      break;
    case ControlKind::Button:
      break;
    default:
      return false;
  }
  Raise(Event{id, Event::Click, s->value});
  return true;
}

bool MemoryView::Type(int id, std::string_view text) {
  if (!Usable(id) || Find(id)->control->kind != ControlKind::TextBox) return false;
  if ((Find(id)->control->flags & ui::kReadOnly) != 0) return false;
  State* s = Find(id);
  if (s->text == text) return true;
  // As the window reports it: a text the user edits in the box.
  s->text = std::string(text);
  Raise(Event{id, Event::Change, ui::kEditedByUser});
  return true;
}

bool MemoryView::Choose(int id, int index) {
  if (!Usable(id)) return false;
  State* s = Find(id);
  switch (s->control->kind) {
    case ControlKind::ListBox:
    case ControlKind::ComboBox:
    case ControlKind::ListView:
      if (index < 0 || index >= ItemCount(id)) return false;
      s->value = index;
      Raise(Event{id, Event::Select, index});
      return true;
    case ControlKind::Slider:
      SetValue(id, index);
      Raise(Event{id, Event::Scroll, s->value});
      return true;
    default:
      return false;
  }
}

bool MemoryView::Arrow(int id, int delta) {
  if (!Usable(id) || Find(id)->control->kind != ControlKind::UpDown) return false;
  Raise(Event{id, Event::Scroll, delta > 0 ? 1 : -1});
  return true;
}

bool MemoryView::ClickColumn(int id, int column) {
  if (!Usable(id) || Find(id)->control->kind != ControlKind::ListView) return false;
  Raise(Event{id, Event::Column, column});
  return true;
}

}  // namespace corvane::testing
