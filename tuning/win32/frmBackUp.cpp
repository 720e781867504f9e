#include "tuning/win32/frmBackUp.h"

namespace corvane::win32 {

std::unique_ptr<ui::FormModel> frmBackUp::MakeModel(IShellServices& services) {
  // The regional formats as they are when the program starts.
  format_ = std::make_unique<Win32DateTimeFormat>();
  list_ = std::make_unique<Win32ListControl>(Control(backup::kIdLstBackUpList));
  IShellServices* shell = &services;
  HWND form = FormWindow::hwnd();
  BackupWindowModel::Hooks hooks{[shell] { shell->SendMovieHome(); },
                                 [form] { (void)::SetFocus(form); }};
  TuningContext context{services.registry(), files_, clock_, services.ApplicationFolder()};
  auto showChanges = [this, shell, context](const std::string& fileName) {
    auto plan = [context, fileName] {
      return PlanRestore(context, fileName, currentOsFamily, currentWindowsVersion);
    };
    // Exactly what "Restore" does, its question included.
    OpenPreview(changes_, *shell, FormWindow::hwnd(), plan(), plan, "&Restore", [this] {
      if (backup() != nullptr) backup()->cmdRestoreClick();
    });
  };
  auto model = std::make_unique<BackupWindowModel>(BackupContext{context, *list_, *format_, std::move(hooks)}, view(),
                                                   timers());
  model->SetShowChanges(std::move(showChanges));
  return model;
}

}  // namespace corvane::win32
