// The preview of a plan, apart from its window: what an apply or a restore
// would change, per adapter, old -> new; unchanged values folded into one
// line; values the running Windows ignores marked with the reason. "Apply"
// runs the caller's own path (the wizard's Optimize, the editor's Finish, the
// backup manager's Restore) once the registry is seen to be as planned;
// "Back" writes nothing.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Layout.h"
#include "platform/ui/View.h"
#include "tuning/Plan.h"

namespace corvane {

namespace preview {
enum : int {
  kIdLblSummary = 1,
  kIdLstChanges = 2,
  kIdCmdApply = 3,
  kIdCmdBack = 4,
};
// The child frame's 440 x 250 pixels, like the windows it is shown over.
inline constexpr int kFormWidth = 440;
inline constexpr int kFormHeight = 250;
}  // namespace preview

inline constexpr std::string_view kChangesCaption = "Changes\x85";  // "Changes…" in Windows-1252
inline constexpr std::array<std::string_view, 5> kPreviewColumns{"Adapter", "Value", "Now",
                                                                  "After", "Note"};

// The window as data, in pixels.
const ui::Layout& ChangesPreviewLayout();

// One list row per changing value, in the plan's order: the adapter (empty
// for the others), the value's name, its data now and after, and for a value
// that would be written but that the running Windows ignores, why. Then one
// line "N values stay as they are" when some do not change.
std::vector<std::vector<std::string>> PreviewRows(const Plan& plan);
// "5 of 16 values would change; Windows 10 ignores 2 of them." or the
// plan's message when there is no plan.
std::string PreviewSummary(const Plan& plan);

// The rows sorted by column (0-based), numbers by value, the folded line
// staying last.
void SortPreviewRows(std::vector<std::vector<std::string>>& rows, int column, bool descending);

class ChangesPreviewModel final : public ui::FormModel {
 public:
  struct Hooks {
    // Works the plan out again from the registry as it is now.
    std::function<Plan()> replan;
    // Closes the preview (the window goes; nothing is written).
    std::function<void()> close;
    // Runs the apply or restore the preview stands before (after close).
    std::function<void()> apply;
  };

  ChangesPreviewModel(ui::IView& view, Plan plan, std::string applyCaption, Hooks hooks);

  void OnLoad() override;
  void OnEvent(const ui::Event& event) override;

  // Checks that the registry is as planned, then closes and applies; when it
  // is not, says so and shows the plan as it is now instead.
  void cmdApplyClick();
  void cmdBackClick();
  void ColumnClick(int column);

  const Plan& plan() const { return plan_; }

 private:
  void Show();

  ui::IView& view_;
  Plan plan_;
  std::string applyCaption_;
  Hooks hooks_;
  std::vector<std::vector<std::string>> rows_;
  int sortColumn_ = -1;
  bool descending_ = false;
};

}  // namespace corvane
