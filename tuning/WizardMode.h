// frmWizardMode, apart from its window: the eight mode options, the summary
// of workingProfile in lblModeDescrip, and "Optimize &Now", which applies
// workingProfile as it stands and sends the movie home.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "platform/ui/Layout.h"
#include "platform/ui/View.h"
#include "tuning/Apply.h"
#include "tuning/Presets.h"
#include "tuning/TuningContext.h"

namespace corvane {

namespace wizard {
enum : int {
  kIdFrameOptimizationMode = 1,
  kIdOptMode0 = 10,  // optMode(0) to optMode(7): 10 to 17
  kIdLblModeDescrip = 20,
  kIdCmdOptimize = 21,
  kIdCmdChanges = 22,  // "Changes…": the preview of what Optimize would change
};
// The form's size: the child frame's 440 x 250 pixels, in twips.
inline constexpr int kFormWidth = 6600;
inline constexpr int kFormHeight = 3750;
}  // namespace wizard

// The window as data, in twips.
const ui::Layout& WizardModeLayout();

// The text of lblModeDescrip for a profile: five groups of values, tabs
// between them, CR LF line ends.
std::string ProfileSummary(const TuningProfile& profile);

inline constexpr std::string_view kNoSuchModeMessage = "Error no such this mode";

// What the user is told after an apply, and how: nothing (empty text) after
// a complete apply.
struct ApplyNotice {
  std::string text;
  std::uint32_t flags = ui::kMessageOk;
};
ApplyNotice ApplyNoticeFor(const ApplyResult& result);

// What the wizard uses: the tuning's registry, files, clock and folder, and
// returnHome, which brings the movie to the front and sends it to its home
// screen.
struct WizardContext {
  TuningContext tuning;
  std::function<void()> returnHome;
};

class WizardModeModel final : public ui::FormModel {
 public:
  // The feature windows' one constructor shape; the wizard runs no timers.
  WizardModeModel(const WizardContext& context, ui::IView& view, ui::ITimers& timers);

  // Copies "Automatic-A" into workingProfile and shows its summary.
  void OnLoad() override;
  void OnEvent(const ui::Event& event) override;

  // The option with that index was clicked: 0 to 7 copy that preset whole
  // into workingProfile; any other index only says so.
  void optModeClick(int index);
  // Applies workingProfile, tells the user what went wrong if anything did,
  // and returns the movie home.
  void cmdOptimizeClick();
  void ShowProfileSummary();

  const ApplyResult& lastApply() const { return lastApply_; }

  // What "Changes…" runs: the window shows the preview of workingProfile.
  void SetShowChanges(std::function<void()> showChanges) { showChanges_ = std::move(showChanges); }
  // Runs after an apply that wrote every value (the drift watch records it).
  void SetAfterApply(std::function<void(const TuningProfile&)> afterApply) {
    afterApply_ = std::move(afterApply);
  }

 private:
  std::function<void()> showChanges_;
  std::function<void(const TuningProfile&)> afterApply_;
  ui::IView& view_;
  TuningContext context_;
  std::function<void()> returnHome_;
  ApplyResult lastApply_;
};

}  // namespace corvane
