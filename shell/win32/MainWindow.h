// The main window frmMain: a borderless window whose visible surface is the
// movie, the child frame framChildWindow that holds the feature windows, the
// skin, the splash and the tray menu. It carries out what the portable rules
// decide: the start-up sequence (shell/StartUp.h) and the command table
// (shell/ShellDispatcher.h).
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "platform/ui/YieldPump.h"
#include "platform/win32/FeatureWindow.h"
#include "platform/win32/Handle.h"
#include "platform/win32/MoviePlayer.h"
#include "platform/win32/Skin.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Window.h"
#include "shell/ShellDispatcher.h"
#include "shell/StartUp.h"
#include "shell/win32/ShellConnections.h"
#include "shell/win32/ShellExecute.h"
#include "shell/win32/Splash.h"

namespace corvane::shell {

using win32::FeatureWindow;
using win32::IShellServices;

inline constexpr char kMainWindowClass[] = "CorvaneMainWindow";
inline constexpr char kChildFrameClass[] = "CorvaneChildFrame";
inline constexpr char kInstanceMutexName[] = "QuenbyCorvane";
// Held by a copy from the moment its exit begins until its process ends.
inline constexpr char kEndingMutexName[] = "QuenbyCorvaneEnding";

// The test path: with CORVANE_TEST_COMMANDS=1 in the environment at start,
// the main window takes WM_COPYDATA requests (dwData below, the text in
// lpData) and runs them through the same handlers as the movie, the entry
// buttons and the tray menu. Without the variable such messages are ignored.
inline constexpr char kTestCommandsVariable[] = "CORVANE_TEST_COMMANDS";
enum TestRequest : ULONG_PTR {
  kTestFsCommand = 0x43564D01,    // an FSCommand text, as the movie would send it
  kTestEntryButton = 0x43564D02,  // "cmdSorbek 0", "cmdRamBooster 2", ...
  kTestTrayMenu = 0x43564D03,     // "mnuMainWindow", "mnuHelp", "mnuExit"
  kTestPopupMenu = 0x43564D04,    // pops up the tray menu at the cursor
};

// The tray menu's item identifiers.
enum : UINT { kMenuMainWindow = 1001, kMenuHelp = 1002, kMenuExit = 1003 };

class MainWindow final : public win32::Window<MainWindow>,
                         public IShellServices,
                         private IShellActions,
                         private IStartUpSteps {
 public:
  explicit MainWindow(HINSTANCE instance);
  ~MainWindow() override;

  // Connections of the parts built apart (tray, messages, settings,
  // shortcuts, presets) and of the feature windows: made before StartUp.
  ShellConnections& connections() { return connections_; }
  void ConnectFeatureWindow(Feature feature, std::unique_ptr<FeatureWindow> window);
  void SetShellExecute(std::unique_ptr<IShellExecute> shellExecute) { shellExecute_ = std::move(shellExecute); }
  // How long a start waits for another copy that holds the instance mutex
  // but shows no main window (exiting, or not yet that far in its start-up).
  void SetExitingCopyWait(DWORD ms) { exitingCopyWaitMs_ = ms; }

  // The load event: the start-up sequence. After Shown the window is
  // visible and painted.
  StartUpResult StartUp();

  // The movie's FSCommand event.
  void OnFsCommand(const std::string& command, const std::string& args);
  void showInChildFrame(Feature feature) { dispatcher_.showInChildFrame(feature); }
  void hideFeatureWindows() { dispatcher_.hideFeatureWindows(); }
  void dragWindow() { DragWindow(); }
  // The tray menu mnuPopup, at the cursor; runs the chosen item. The tray
  // icon's right click calls this; its left click runs mnuMainWindow.
  void PopupTrayMenu();
  void OnTrayMenu(TrayMenuItem item) { dispatcher_.OnTrayMenu(item); }
  // The alternative entry buttons (cmdSorbek and the others). They are not
  // controls on the window — the movie covers its whole surface — but
  // these handlers, reachable from the test path.
  void OnEntryButton(EntryButton button, int index) { dispatcher_.OnEntryButton(button, index); }

  HWND frame() const { return frame_; }
  HWND flashWindow() const { return flashWindow_; }
  win32::MoviePlayer& movie() { return movie_; }
  win32::Skin& skin() { return skin_; }

  // IShellServices
  IRegistry& registry() override { return registry_; }
  HINSTANCE instance() const override { return instance_; }
  std::string ApplicationFolder() const override;
  HWND mainWindow() const override { return hwnd(); }
  bool ApplySkin(HWND window, const char* objectName) override;
  void applyAllControls(HWND form) override;
  void ReturnHome() override;
  void SendMovieHome() override;
  ui::YieldPump& pump() override { return pump_; }
  ui::ISoundPlayer& sounds() override { return *sounds_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // IStartUpSteps
  void CreateInstanceMutex() override;
  bool PreviousInstanceRuns() override { return previousInstance_; }
  void ShowRunningCopy() override;
  void ShowSplash() override;
  void SizeMainWindow() override;
  void PlaceMovie() override;
  void FrameThenMovieToFront() override;
  bool LoadMovie() override;
  void TellMovieDamaged() override;
  void LoadSkin() override;
  void DetectOsFamily() override;
  void FillPresetProfiles() override;
  void ShowTrayIcon() override;
  void LoadFeatureWindows() override;
  bool RunProgramInTray() override;
  void TrayStep() override;
  void RemoveSplash() override;
  void HookMoviePlayer() override;

  // IShellActions
  void MinimizeMainWindow() override;
  void HideMainWindow() override;
  void ShowMainWindow() override;
  void BringMovieToFront() override;
  void BringFrameToFront() override;
  void SizeFrame(FrameSize size) override;
  void LoadFeature(Feature feature) override;
  void UnloadFeature(Feature feature) override;
  void SetFeatureVisible(Feature feature, bool visible) override;
  void MakeFeatureChildOfFrame(Feature feature) override;
  void BeforeShowFeature(Feature feature) override;
  void ShowTrayIcon(bool show) override;
  void ShowBalloonTip() override;
  void ShowTrayNotification(const TrayNotification& notification) override;
  TrayNotification TrayNotificationHere() const override;
  void OpenWithShell(const ShellOpenRequest& request) override;
  void DragWindow() override;
  void RunShortcut(SystemShortcut shortcut) override;
  bool RestartWindows() override;
  void BeginEnding() override;
  void EndProgram() override;
  void ShowPlainMessage(const std::string& text) override;

  FeatureWindow* Slot(Feature feature) const;
  // The start-up's load of the feature windows when it still waits.
  void LoadPendingFeatureWindows();
  // The frame shows only while it holds a visible feature window, so that a
  // feature not built into the program shows nothing over the movie.
  void UpdateFrameVisibility();
  void ShapeFrame(FrameSize size);
  void RunTestRequest(ULONG_PTR kind, const std::string& text);

  HINSTANCE instance_;
  win32::Win32Registry registry_;
  win32::UniqueHandleNull instanceMutex_;
  win32::UniqueHandleNull endingMutex_;
  bool previousInstance_ = false;
  DWORD exitingCopyWaitMs_ = 10000;
  bool testCommands_ = false;
  Splash splash_;
  win32::MoviePlayer movie_;
  win32::Skin skin_;
  HWND frame_ = nullptr;
  HWND flashWindow_ = nullptr;
  win32::UniqueHmenu trayMenu_;
  std::array<std::unique_ptr<FeatureWindow>, 7> features_{};
  ShellConnections connections_;
  std::unique_ptr<IShellExecute> shellExecute_;
  std::unique_ptr<ui::ISoundPlayer> sounds_;
  ui::YieldPump pump_;
  ShellDispatcher dispatcher_{*this};
  bool ending_ = false;
  // The start-up's feature windows wait for the main window's first paint.
  bool featureLoadPending_ = false;
};

}  // namespace corvane::shell
