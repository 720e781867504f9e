// frmBackUp: the backup manager's form on the feature-window kit. Its rules
// are BackupWindowModel (tuning/BackupWindow.h); the window builds the model
// over the real list view, registry, files and the user's regional formats.
#pragma once

#include <memory>

#include "platform/win32/FormWindow.h"
#include "tuning/BackupWindow.h"
#include "tuning/DriftWatch.h"
#include "platform/win32/Win32Clock.h"
#include "tuning/win32/Win32DateTimeFormat.h"
#include "tuning/win32/Win32FileSystem.h"
#include "tuning/win32/Win32ListView.h"
#include "tuning/win32/frmChanges.h"

namespace corvane::win32 {

class frmBackUp final : public FormWindow {
 public:
  frmBackUp() : FormWindow(BackUpLayout()) {}
  // drift: whom showing the manager asks for a drift check.
  explicit frmBackUp(DriftLink drift) : FormWindow(BackUpLayout()), drift_(std::move(drift)) {}

  // Rebuilds the list (the shell calls it before every showing).
  void intializeList() {
    if (backup() != nullptr) backup()->intializeList();
  }
  BackupWindowModel* backup() const { return static_cast<BackupWindowModel*>(model()); }

  // The list is rebuilt, then a drift check.
  void BeforeShow() override {
    FormWindow::BeforeShow();
    if (drift_.checkSoon) drift_.checkSoon();
  }

 protected:
  std::unique_ptr<ui::FormModel> MakeModel(IShellServices& services) override;

 private:
  DriftLink drift_;
  Win32FileSystem files_;
  Win32Clock clock_;
  std::unique_ptr<Win32DateTimeFormat> format_;
  std::unique_ptr<Win32ListControl> list_;
  // The preview of the selected snapshot's restore, once opened.
  std::unique_ptr<frmChanges> changes_;
};

}  // namespace corvane::win32
