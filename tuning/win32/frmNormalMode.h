// The advanced editor frmNormalMode on the feature-window kit: the form is
// made from kNormalModeLayout, the rules are NormalModeModel's. The window
// adds what the model cannot see for itself: the user leaving a box.
// Created on its first command; each command unloads it, goes back to page
// 0 and loads it again (BeforeShow runs between the two).
#pragma once

#include <windows.h>

#include <memory>

#include "pinger/win32/frmMtuFinder.h"
#include "platform/win32/FormWindow.h"
#include "tuning/DriftWatch.h"
#include "tuning/NormalMode.h"
#include "platform/win32/Win32Clock.h"
#include "tuning/win32/Win32FileSystem.h"
#include "tuning/win32/frmChanges.h"

namespace corvane::win32 {

class frmNormalMode final : public FormWindow {
 public:
  frmNormalMode() : FormWindow(kNormalModeLayout) {}
  // drift: where Finish records what it applied, and whom showing the
  // editor asks for a drift check.
  explicit frmNormalMode(DriftLink drift) : FormWindow(kNormalModeLayout), drift_(std::move(drift)) {}

  // currWizardPage := 0, then the model's BeforeShow; then a drift check.
  void BeforeShow() override;

  std::int16_t currWizardPage() const { return state_.currWizardPage; }
  std::int16_t connectionType() const { return state_.connectionType; }
  NormalModeModel* editor() const { return static_cast<NormalModeModel*>(model()); }
  // The MTU finder the MTU page opens.
  frmMtuFinder& mtuFinder() { return mtuFinder_; }
  // The preview of Finish, while one has been opened.
  frmChanges* changes() const { return changes_.get(); }

 protected:
  std::unique_ptr<ui::FormModel> MakeModel(IShellServices& services) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The boxes whose entries are checked when complete.
  static bool IsEntryBox(int id);

  void OpenChanges(const TuningProfile& target);

  NormalModeState state_;
  DriftLink drift_;
  IShellServices* services_ = nullptr;
  Win32FileSystem files_;
  Win32Clock clock_;
  // Made once per opening, not per load: its own apply runs Finish.
  std::unique_ptr<frmChanges> changes_;
  // Last: it goes first, giving the editor back its input.
  frmMtuFinder mtuFinder_;
};

}  // namespace corvane::win32
