// A window's stored settings as one table, in the order the window reads
// and writes them: one text value per control under the program's key plus
// the window's section, named after the control. What a value holds depends
// on the control: check boxes "0"/"1", option buttons "True"/"False" (read
// without regard to case), text boxes their text, lists their index. A
// value that is missing or does not convert loads the row's default; a
// window always loads.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "platform/ui/Layout.h"
#include "platform/ui/View.h"

namespace corvane::ui {

enum class As { Check, Option, Text, Index };

struct Stored {
  int control;  // its name in the layout is the value's name
  As as;
  std::string_view fallback;  // the default, in stored form ("0", "True", "", "2")
};

// The key of a window's section under the program's own key:
// "SOFTWARE\Tarvik\Pellavon\Settings\" + section.
std::string SettingsKey(std::string_view section);

// A stored text in the control's form: the check or option value (0/1) or
// the list index; nothing when it does not convert. Index: a decimal number
// 0 or more, without blanks or sign.
std::optional<int> ParseStored(As as, std::string_view stored);
// The text stored for a value of that form.
std::string StoredText(As as, int value);

// Reads each row into the view, in table order. A list index beyond the
// list's items loads the default too. Only controls whose value differs
// are set; true when any was.
bool LoadStoredSettings(IRegistry& registry, std::string_view section, const Layout& layout,
                        std::span<const Stored> table, IView& view);
// A value the save could not write: its name and the platform's code.
struct FailedSetting {
  std::string name;
  RegStatus code = 0;
  friend bool operator==(const FailedSetting&, const FailedSetting&) = default;
};

struct SaveResult {
  int attempted = 0;
  std::vector<FailedSetting> failures;
  bool ok() const { return failures.empty(); }
};

// Writes each row from the view, in table order; every row is attempted.
[[nodiscard]] SaveResult SaveStoredSettings(IRegistry& registry, std::string_view section, const Layout& layout,
                                            std::span<const Stored> table, const IView& view);

// What the user is told when a save did not write everything, in the shape
// of the tuner's report: how many of how many, each value with its code,
// and the hint about administrator rights when one was refused. Empty when
// nothing failed.
std::string SaveFailureMessage(const SaveResult& result);
inline constexpr char kSettingsNotSaved[] = "The settings could not be saved";

// The changed flag of a window with settings and the enabled state of its
// "Save" button, kept together.
class ChangedFlag {
 public:
  ChangedFlag(IView& view, int saveButton) : view_(view), saveButton_(saveButton) {}
  void Set(bool changed) {
    changed_ = changed;
    view_.SetEnabled(saveButton_, changed);
  }
  bool changed() const { return changed_; }

 private:
  IView& view_;
  int saveButton_;
  bool changed_ = false;
};

}  // namespace corvane::ui
