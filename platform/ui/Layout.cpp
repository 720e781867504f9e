#include "platform/ui/Layout.h"

#include <algorithm>
#include <set>

namespace corvane::ui {

int ToPixels(Unit unit, int value, int twipsPerPixel) {
  if (unit == Unit::Pixels) return value;
  if (twipsPerPixel <= 0) twipsPerPixel = 15;
  // Round half away from zero, as the twips conversions of the program do.
  int half = twipsPerPixel / 2;
  return value >= 0 ? (value + half) / twipsPerPixel : -((-value + half) / twipsPerPixel);
}

const Control* FindControl(const Layout& layout, int id) {
  for (const Control& c : layout.controls) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

const Control* FindControl(const Layout& layout, std::string_view name) {
  for (const Control& c : layout.controls) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

std::vector<int> OptionGroup(const Layout& layout, int id) {
  const Control* option = FindControl(layout, id);
  if (option == nullptr || option->kind != ControlKind::Option) return {};
  std::vector<int> group;
  bool holdsIt = false;
  for (const Control& c : layout.controls) {
    if (c.kind != ControlKind::Option || c.parent != option->parent) continue;
    if ((c.flags & kGroupStart) != 0 && !group.empty()) {
      if (holdsIt) break;
      group.clear();
    }
    group.push_back(c.id);
    if (c.id == id) holdsIt = true;
  }
  return group;
}

bool IsInside(const Layout& layout, int id, int container) {
  const Control* c = FindControl(layout, id);
  for (std::size_t steps = 0; c != nullptr && steps < layout.controls.size(); ++steps) {
    if (c->parent == container) return true;
    if (c->parent == 0) return false;
    c = FindControl(layout, c->parent);
  }
  return false;
}

Rect FormRect(const Layout& layout, const Control& control) {
  Rect r{control.left, control.top, control.width, control.height};
  int parent = control.parent;
  // A table with a cycle in its parents is refused by CheckLayout; stop
  // after as many steps as there are controls all the same.
  for (std::size_t steps = 0; parent != 0 && steps < layout.controls.size(); ++steps) {
    const Control* p = FindControl(layout, parent);
    if (p == nullptr) break;
    r.left += p->left;
    r.top += p->top;
    parent = p->parent;
  }
  return r;
}

LayoutIndex::LayoutIndex(const Layout& layout) : layout_(&layout) {
  const std::size_t n = layout.controls.size();
  byId_.reserve(n);
  for (std::size_t i = 0; i < n; ++i) byId_.emplace_back(layout.controls[i].id, static_cast<int>(i));
  // The first of equal identifiers wins, as FindControl's scan does.
  std::stable_sort(byId_.begin(), byId_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  parents_.assign(n, -1);
  held_.assign(n, {});
  for (std::size_t i = 0; i < n; ++i) {
    const int parent = layout.controls[i].parent;
    parents_[i] = parent == 0 ? -1 : IndexOf(parent);
  }
  for (std::size_t i = 0; i < n; ++i) {
    // A table with a cycle in its parents is refused by CheckLayout; stop
    // after as many steps as there are controls all the same.
    int up = parents_[i];
    for (std::size_t steps = 0; up >= 0 && steps < n; ++steps) {
      auto& held = held_[static_cast<std::size_t>(up)];
      if (static_cast<std::size_t>(up) == i || (!held.empty() && held.back() == static_cast<int>(i))) break;
      held.push_back(static_cast<int>(i));
      up = parents_[static_cast<std::size_t>(up)];
    }
  }
}

int LayoutIndex::IndexOf(int id) const {
  auto found = std::lower_bound(byId_.begin(), byId_.end(), id,
                                [](const std::pair<int, int>& entry, int key) { return entry.first < key; });
  return found != byId_.end() && found->first == id ? found->second : -1;
}

const Control* LayoutIndex::Find(int id) const {
  const int index = IndexOf(id);
  return index < 0 ? nullptr : &At(index);
}

std::vector<std::string> CheckLayout(const Layout& layout, int frameWidth, int frameHeight, int twipsPerPixel) {
  std::vector<std::string> faults;
  auto fault = [&](std::string_view name, const std::string& what) {
    faults.push_back(std::string(layout.name) + "." + std::string(name) + ": " + what);
  };
  if (layout.name.empty()) faults.push_back("a layout without a name");
  int formWidth = ToPixels(layout.unit, layout.width, twipsPerPixel);
  int formHeight = ToPixels(layout.unit, layout.height, twipsPerPixel);
  if (formWidth <= 0 || formHeight <= 0) fault("", "the form has no size");
  if (formWidth > frameWidth || formHeight > frameHeight) {
    fault("", "the form (" + std::to_string(formWidth) + " x " + std::to_string(formHeight) +
                  ") is larger than its frame (" + std::to_string(frameWidth) + " x " +
                  std::to_string(frameHeight) + ")");
  }
  std::set<int> ids;
  std::set<std::string_view> names;
  for (const Control& c : layout.controls) {
    if (c.id < 1 || c.id > 0xFFFF) fault(c.name, "identifier " + std::to_string(c.id) + " out of 1..65535");
    if (!ids.insert(c.id).second) fault(c.name, "identifier " + std::to_string(c.id) + " used twice");
    if (c.name.empty()) fault(c.name, "a control without a name");
    if (!names.insert(c.name).second) fault(c.name, "name used twice");
    if (c.width <= 0 || c.height <= 0) fault(c.name, "no size");
    int parentWidth = layout.width;
    int parentHeight = layout.height;
    if (c.parent != 0) {
      const Control* p = FindControl(layout, c.parent);
      if (p == nullptr || !ids.contains(c.parent) || p == &c) {
        fault(c.name, "its parent " + std::to_string(c.parent) + " is not listed before it");
        continue;
      }
      if (p->kind != ControlKind::Frame && p->kind != ControlKind::Panel) {
        fault(c.name, "its parent " + std::string(p->name) + " holds no controls");
      }
      parentWidth = p->width;
      parentHeight = p->height;
    }
    if (c.left < 0 || c.top < 0 || c.left + c.width > parentWidth || c.top + c.height > parentHeight) {
      fault(c.name, "lies outside its parent");
    }
  }
  for (const Column& column : layout.columns) {
    const Control* c = FindControl(layout, column.control);
    if (c == nullptr || c->kind != ControlKind::ListView) {
      faults.push_back(std::string(layout.name) + ": column \"" + std::string(column.heading) +
                       "\" belongs to no list view");
    }
    if (column.width <= 0) {
      faults.push_back(std::string(layout.name) + ": column \"" + std::string(column.heading) + "\" has no width");
    }
  }
  return faults;
}

}  // namespace corvane::ui
