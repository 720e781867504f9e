// frmChanges: the preview of a plan on the feature-window kit, shown over the
// window that asked for it (same place, same size) while the main window
// takes no input. Its rules are ChangesPreviewModel (tuning/ChangesPreview.h).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/win32/FormWindow.h"
#include "tuning/ChangesPreview.h"

namespace corvane::win32 {

class frmChanges final : public FormWindow {
 public:
  frmChanges(Plan plan, std::string applyCaption, ChangesPreviewModel::Hooks hooks)
      : FormWindow(ChangesPreviewLayout()),
        plan_(std::move(plan)),
        applyCaption_(std::move(applyCaption)),
        hooks_(std::move(hooks)) {}
  ~frmChanges() override;

  // Loads the preview and shows it over `host`; the main window is disabled
  // until it closes. False when the window cannot be made.
  bool Open(IShellServices& services, HWND host);
  // Hides the preview and gives the main window its input back. The window
  // itself goes with the object (not while its own button is being handled).
  void Close();
  bool IsOpen() const { return open_; }

  ChangesPreviewModel* preview() const { return static_cast<ChangesPreviewModel*>(model()); }

 protected:
  std::unique_ptr<ui::FormModel> MakeModel(IShellServices& services) override;

 private:
  Plan plan_;
  std::string applyCaption_;
  ChangesPreviewModel::Hooks hooks_;
  HWND disabled_ = nullptr;
  bool open_ = false;
};

// Opens a new preview of plan over host in slot, in place of the one slot
// held, which goes first (never while its own button is handled). replan and
// apply as in ChangesPreviewModel::Hooks. slot is left empty when the window
// cannot be made.
void OpenPreview(std::unique_ptr<frmChanges>& slot, IShellServices& services, HWND host, Plan plan,
                 std::function<Plan()> replan, std::string applyCaption,
                 std::function<void()> apply);

}  // namespace corvane::win32
