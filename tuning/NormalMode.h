// frmNormalMode, the advanced editor: eight pages that build workingProfile
// by connection type and apply it on the last one. The model holds the page
// and the rules and reaches its controls (tuning/NormalModeLayout.h) only
// through the view; the window (win32/frmNormalMode.h) only builds it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/ui/View.h"
#include "tuning/Apply.h"
#include "tuning/NormalModeLayout.h"
#include "tuning/NormalModeRules.h"
#include "tuning/TuningProfile.h"

namespace corvane {

// Event::Change's value when the user edited the box's text himself; 0 when
// the text was set as a whole. Only a complete entry is held to a lower
// bound.
inline constexpr int kEditedInBox = ui::kEditedByUser;

// currWizardPage after Finish.
inline constexpr int kFinishedPage = 8;

// What outlives the window: the editor's command unloads and loads it again
// but keeps connectionType, and sets currWizardPage to 0 in between.
struct NormalModeState {
  std::int16_t currWizardPage = 0;  // 0..7; kFinishedPage after Finish
  std::int16_t connectionType = 0;  // the index of the option last clicked
};

struct NormalModeHooks {
  // ApplyTuningProfile on workingProfile.
  std::function<ApplyResult()> apply;
  // The movie to the front and "_root.home" := "true".
  std::function<void()> returnHome;
  // Opens the MTU finder, which may offer a size for the MTU box.
  std::function<void()> findMtu;
  // "Changes…": shows the preview of applying the profile Finish would
  // apply; its apply calls FinishFromPreview.
  std::function<void(const TuningProfile& target)> showChanges;
  // Runs after a Finish whose apply wrote every value (the drift watch
  // records it).
  std::function<void(const TuningProfile& applied)> afterApply;
};

class NormalModeModel final : public ui::FormModel {
 public:
  // profile: the working profile the editor fills (workingProfile).
  NormalModeModel(ui::IView& view, NormalModeState& state, TuningProfile& profile, NormalModeHooks hooks)
      : view_(view), state_(state), profile_(profile), hooks_(std::move(hooks)) {}

  // The load event: page 0 in front, cmbNDI filled and on its first item.
  void OnLoad() override;
  void OnEvent(const ui::Event& event) override;

  // The user left a number box (or the multiplier): its entry is complete.
  void CompleteEntry(int id);

  void Next();
  void Back();
  // "Changes…" on the last page: completes the open entries and shows the
  // preview of the profile Finish would apply; nothing is written.
  void cmdChangesClick();
  // Apply from the preview: exactly Finish, when the last page is still the
  // one shown.
  void FinishFromPreview();
  // workingProfile as Finish would apply it: the boxes' texts read in.
  TuningProfile FinishedProfile() const;
  // hideAllExcept: only page frmNo stays visible (every page is set; the
  // load's step). A page change shows and hides only the two pages.
  void hideAllExcept(int frmNo);

  std::int16_t currWizardPage() const { return state_.currWizardPage; }
  std::int16_t connectionType() const { return state_.connectionType; }

 private:
  struct NumberBox {
    int id;
    Bounds bounds;
    std::int32_t TuningProfile::*field;
  };
  static const NumberBox kNumberBoxes[7];
  static const NumberBox* FindBox(int id);

  void ValidateBox(const NumberBox& box, Check check);
  void ValidateMultiplier(Check check);
  // Holds every box to its lower bound: Next, Back and Finish complete any
  // entry still open.
  void CompleteAllEntries();
  void EnterPage(int page);
  void Finish();
  void ReadBoxes(TuningProfile& profile) const;
  void SetMultiplierText(int multiplier);
  // The page shown goes and `page` comes.
  void ShowPage(int page);
  // The two buttons' states, set on the view only when they change.
  void SetBackEnabled(bool enabled);
  void SetNextEnabled(bool enabled);
  void SetNextText(std::string_view text);

  ui::IView& view_;
  NormalModeState& state_;
  TuningProfile& profile_;
  NormalModeHooks hooks_;
  // What this model's controls show; only the model changes it. The
  // design state until OnLoad says so again.
  int shownPage_ = 0;
  bool backEnabled_ = false;
  bool nextEnabled_ = true;
  std::string_view nextText_ = kNextCaption;
};

}  // namespace corvane
