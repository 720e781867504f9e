#include "tuning/win32/frmBackUp.h"

namespace corvane::win32 {

std::unique_ptr<ui::FormModel> frmBackUp::MakeModel(IShellServices& services) {
  // The regional formats as they are when the program starts.
  format_ = std::make_unique<Win32DateTimeFormat>();
  list_ = std::make_unique<Win32ListControl>(Control(backup::kIdLstBackUpList));
  mListView::dateFormat = format_.get();
  IShellServices* shell = &services;
  HWND form = FormWindow::hwnd();
  BackupWindowModel::Hooks hooks{[shell] { shell->SendMovieHome(); },
                                 [form] { (void)::SetFocus(form); }};
  return std::make_unique<BackupWindowModel>(
      view(), *list_,
      TuningContext{services.registry(), files_, clock_, services.ApplicationFolder()}, *format_,
      std::move(hooks));
}

}  // namespace corvane::win32
