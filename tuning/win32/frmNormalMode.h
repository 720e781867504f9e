// The advanced editor frmNormalMode on the feature-window kit: the form is
// made from kNormalModeLayout, the rules are NormalModeModel's. The window
// adds what the model cannot see for itself: whether a box's text changed
// by the user's editing or was set as a whole, and the user leaving a box.
// Created on its first command; each command unloads it, goes back to page
// 0 and loads it again (BeforeShow runs between the two).
#pragma once

#include <windows.h>

#include <memory>

#include "pinger/win32/frmMtuFinder.h"
#include "platform/win32/FormWindow.h"
#include "tuning/NormalMode.h"
#include "tuning/win32/Win32Clock.h"
#include "tuning/win32/Win32FileSystem.h"

namespace corvane::win32 {

class frmNormalMode final : public FormWindow {
 public:
  frmNormalMode() : FormWindow(kNormalModeLayout) {}

  // currWizardPage := 0, then the model's BeforeShow.
  void BeforeShow() override;

  std::int16_t currWizardPage() const { return state_.currWizardPage; }
  std::int16_t connectionType() const { return state_.connectionType; }
  NormalModeModel* editor() const { return static_cast<NormalModeModel*>(model()); }
  // The MTU finder the MTU page opens.
  frmMtuFinder& mtuFinder() { return mtuFinder_; }

 protected:
  std::unique_ptr<ui::FormModel> MakeModel(IShellServices& services) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The boxes whose entries are checked when complete.
  static bool IsEntryBox(int id);
  void SubclassEntryBoxes();

  NormalModeState state_;
  IShellServices* services_ = nullptr;
  Win32FileSystem files_;
  Win32Clock clock_;
  // Last: it goes first, giving the editor back its input.
  frmMtuFinder mtuFinder_;
};

}  // namespace corvane::win32
