// A window described as data: its controls as one constant table (kind, the
// program's name for the control, caption, place and size, parent, style).
// The Win32 side (platform/win32/FormWindow.h) creates the controls from the
// table; models and tests reach them by their identifiers.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane::ui {

enum class ControlKind {
  Button,    // cmd: a command button
  CheckBox,  // chk
  Option,    // opt: an option button; one per group is set
  Frame,     // frame / frm: a group box that holds other controls
  Panel,     // a borderless container (a page of controls)
  Label,     // lbl: text the skin paints as a label
  TextBox,   // txt: one line of editable text
  ComboBox,  // a drop-down list of items, no free text
  ListBox,   // a list of items
  ListView,  // a list of rows with column headings (Layout::columns)
  Slider,    // sld
  UpDown,    // a pair of arrows beside a text box
  Graph,     // hist: a scrolling graph of samples 0..100
};

// Style flags of a control (the table's last column).
enum ControlFlag : std::uint32_t {
  kHidden = 1u << 0,      // created invisible
  kDisabled = 1u << 1,    // created disabled
  kGroupStart = 1u << 2,  // an option that starts a new group among its siblings
  kReadOnly = 1u << 3,    // a text box that shows but does not take input
  kCentered = 1u << 4,    // centred text (labels, text boxes)
  kNumber = 1u << 5,      // a text box that takes digits only
};

// Places are relative to the parent control (the form for parent 0), in the
// layout's unit; sizes likewise.
struct Control {
  int id;  // unique in the form, 1..0xFFFF; 0 is the form itself
  ControlKind kind;
  std::string_view name;  // the program's name for it ("chkRunMainProgram")
  std::string_view caption;
  int left, top, width, height;
  int parent;  // the id of the Frame or Panel that holds it, 0 for the form
  std::uint32_t flags = 0;
};

// A list view's column: heading and width, in the list view's order.
struct Column {
  int control;
  std::string_view heading;
  int width;
};

enum class Unit { Pixels, Twips };

struct Layout {
  std::string_view name;         // the window's name ("frmMainSettings")
  std::string_view windowClass;  // its window class ("CorvaneMainSettings")
  std::string_view caption;  // the form's caption
  Unit unit;
  int width, height;  // the form's size
  std::span<const Control> controls;
  std::span<const Column> columns = {};
};

// Twips to pixels, rounded to the nearest pixel; the identity for pixels.
int ToPixels(Unit unit, int value, int twipsPerPixel);

// The control with that identifier; nullptr when the table has none.
const Control* FindControl(const Layout& layout, int id);
const Control* FindControl(const Layout& layout, std::string_view name);

// The options of the group that holds the option `id`, in table order: its
// siblings (same parent) from the nearest kGroupStart at or before it up to
// the next one. Empty when `id` is no option.
std::vector<int> OptionGroup(const Layout& layout, int id);

// Whether `id` lies inside `container`, directly or deeper.
bool IsInside(const Layout& layout, int id, int container);

struct Rect {
  int left, top, width, height;
};
// The control's place relative to the form, adding up its parents' places.
Rect FormRect(const Layout& layout, const Control& control);

// A layout's controls resolved once, for a form that asks about them on
// every event: each control's place in the table by its identifier, its
// container, and what each container holds (directly or deeper). Built
// when a window is made; the table outlives it.
class LayoutIndex {
 public:
  explicit LayoutIndex(const Layout& layout);

  std::size_t size() const { return parents_.size(); }
  // The control's place in the table; -1 when the table has none.
  int IndexOf(int id) const;
  const Control* Find(int id) const;
  const Control& At(int index) const { return layout_->controls[static_cast<std::size_t>(index)]; }
  // The place of the container that holds the control at `index`; -1 for
  // the form (or a parent the table does not list).
  int ParentOf(int index) const { return parents_[static_cast<std::size_t>(index)]; }
  // The places of the controls inside the container at `index`, deeper
  // ones included, in table order; empty for a control that holds none.
  std::span<const int> Held(int index) const { return held_[static_cast<std::size_t>(index)]; }

 private:
  const Layout* layout_;
  std::vector<std::pair<int, int>> byId_;  // (id, place), sorted by id
  std::vector<int> parents_;
  std::vector<std::vector<int>> held_;
};

// Whether the table holds together: identifiers in 1..0xFFFF and unique,
// names non-empty and unique, every parent a Frame or Panel listed before its
// children, every control inside its parent, every size positive, the form
// within the frame it is shown in (frameWidth x frameHeight pixels, at
// twipsPerPixel for a layout in twips), every column's control a ListView.
// Returns one line per fault; empty when sound.
std::vector<std::string> CheckLayout(const Layout& layout, int frameWidth, int frameHeight,
                                     int twipsPerPixel = 15);

}  // namespace corvane::ui
