#include "shell/win32/Connect.h"

#include "platform/OsVersion.h"
#include "shell/addons/win32/Win32Addons.h"
#include "shell/messages/win32/msgFrm.h"
#include "memory/win32/ThreadedMemoryReleaser.h"
#include "memory/win32/frmRamConfiguration.h"
#include "memory/win32/frmSystemStatus.h"
#include "pinger/win32/frmNetPingerSettings.h"
#include "shell/settings/win32/frmMainSettings.h"
#include "shell/tray/win32/Tray.h"
#include "shell/win32/MainWindow.h"
#include "tuning/Presets.h"
#include "tuning/win32/frmNormalMode.h"
#include "tuning/win32/frmBackUp.h"
#include "tuning/win32/frmWizardMode.h"

namespace corvane::shell {

namespace {

class ConnectedParts final : public ShellParts, public memory::ITrayToolTip {
 public:
  explicit ConnectedParts(MainWindow& mainWindow) : mainWindow_(mainWindow) {}

  // Start-up step 11 adds the icon; the exit paths remove it.
  void TrayShow(bool show) {
    if (show && Tray1.hwnd() == nullptr) {
      if (!Tray1.Create(mainWindow_.instance())) return;
      // The program's own icon at the notification area's size; shared,
      // so it lives as long as the program. The texts keep their defaults.
      Tray1.TrayImage(static_cast<HICON>(::LoadImageA(mainWindow_.instance(), MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                      ::GetSystemMetrics(SM_CXSMICON),
                                                      ::GetSystemMetrics(SM_CYSMICON), LR_SHARED)));
      Tray1.model().LeftClick = [this] { mainWindow_.OnTrayMenu(TrayMenuItem::mnuMainWindow); };
      Tray1.model().RightClick = [this] { mainWindow_.PopupTrayMenu(); };
    }
    Tray1.Show(show);
    // A "still running here" note pointing at an icon that has gone would
    // be wrong; it goes with the icon.
    if (!show) CloseNotification();
  }

  void RunShortcut(SystemShortcut shortcut) {
    mdlAddons& addons = SystemAddons();
    switch (shortcut) {
      case SystemShortcut::InternetProperties: (void)addons.OpenInternetProperties(); return;
      case SystemShortcut::SystemProperties: (void)addons.OpenSystemProperties(); return;
      case SystemShortcut::ModemSettings: (void)addons.OpenModemSettings(); return;
      case SystemShortcut::NetworkSettings: (void)addons.OpenNetworkSettings(currentOsFamily); return;
    }
  }

  // The status window's memory tick: the tooltip, then the icon refreshed
  // (once the icon is there; the tray sends nothing when nothing changed).
  void SetTrayToolTip(std::string_view text) override { Tray1.model().TrayToolTip(std::string(text)); }
  void Show(bool show) override {
    if (Tray1.hwnd() != nullptr) Tray1.Show(show);
  }

  Tray Tray1;
  frmMainSettings* mainSettings = nullptr;  // owned by the main window
  win32::frmSystemStatus* systemStatus = nullptr;         // owned by the main window
  win32::frmRamConfiguration* ramConfiguration = nullptr;  // owned by the main window

 private:
  MainWindow& mainWindow_;
};

}  // namespace

std::unique_ptr<ShellParts> ConnectShellParts(MainWindow& mainWindow) {
  auto parts = std::make_unique<ConnectedParts>(mainWindow);
  ConnectedParts* p = parts.get();
  ShellConnections& c = mainWindow.connections();

  c.fillPresetProfiles = [] { FillPresetProfiles(); };

  // The wizard (its load takes "Automatic-A") and the backup manager, whose
  // BeforeShow is intializeList.
  // The wizard holds the drift watch; the backup manager and the editor
  // reach it through its link.
  auto wizard = std::make_unique<win32::frmWizardMode>();
  const DriftLink drift = wizard->driftLink();
  mainWindow.ConnectFeatureWindow(Feature::WizardMode, std::move(wizard));
  mainWindow.ConnectFeatureWindow(Feature::BackUp, std::make_unique<win32::frmBackUp>(drift));

  c.trayShow = [p](bool show) { p->TrayShow(show); };
  c.trayBalloon = [p] { p->Tray1.showBalloonoolTip(true); };
  c.trayNotification = [](const TrayNotification& n) {
    MsgAuto_box(n.mPrompt, n.mFlags, n.mCaption, n.nTime, n.NoPointer, n.mColor, n.X, n.Y, n.Intensity);
  };

  mainWindow.ConnectFeatureWindow(Feature::NetPingerSettings,
                                  std::make_unique<win32::frmNetPingerSettings>());

  // The status window (loaded first) owns the processor sampler that the RAM
  // configuration's check asks; the RAM configuration holds the tooltip's
  // form. Both free memory through one releaser, one claim at a time.
  std::shared_ptr<memory::IMemoryReleaser> releaser = win32::MakeMemoryReleaser(mainWindow.instance());
  auto status = std::make_unique<win32::frmSystemStatus>(releaser, *p, [p] {
    return p->ramConfiguration != nullptr && p->ramConfiguration->optPer();
  });
  p->systemStatus = status.get();
  mainWindow.ConnectFeatureWindow(Feature::SystemStatus, std::move(status));
  auto ram = std::make_unique<win32::frmRamConfiguration>(releaser, [p] {
    return p->systemStatus != nullptr ? p->systemStatus->Sampler() : nullptr;
  });
  p->ramConfiguration = ram.get();
  mainWindow.ConnectFeatureWindow(Feature::RamConfiguration, std::move(ram));

  auto settings = std::make_unique<frmMainSettings>();
  p->mainSettings = settings.get();
  mainWindow.ConnectFeatureWindow(Feature::MainSettings, std::move(settings));
  c.runProgramInTray = [p] { return p->mainSettings->chkRunProgramMini() == 1; };
  c.storedRunsInTray = [&mainWindow] { return StoredRunsInTray(mainWindow.registry()); };

  // Made on its first command, loaded again by each one.
  mainWindow.ConnectFeatureWindow(Feature::NormalMode, std::make_unique<win32::frmNormalMode>(drift));

  c.runShortcut = [p](SystemShortcut shortcut) { p->RunShortcut(shortcut); };
  c.restartWindows = [] { return SystemAddons().RestartWindows(); };
  return parts;
}

}  // namespace corvane::shell
