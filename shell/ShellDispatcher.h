// What the main window does for each command, button and menu item, in
// terms of the few things a window can do (IShellActions). The window
// carries these out; the order and choice of them is decided here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/OsVersion.h"
#include "shell/ShellCommands.h"

namespace corvane::shell {

// The self-closing notification that the tray step shows on the 95/98/ME
// family, with its arguments in the order the notification window takes
// them.
struct TrayNotification {
  std::string mPrompt = "The Program Still Running Here";
  std::int32_t mFlags = 64;  // information icon
  std::string mCaption = "Program notification";
  std::int16_t nTime = 5;    // seconds
  bool NoPointer = true;
  std::uint32_t mColor = 0xC8F8F2;  // RGB(242, 248, 200)
  float X = 0;
  float Y = 0;
  std::int16_t Intensity = 0;
};

// Its place: the screen's lower right corner, 40 pixels in from the right.
// The screen size in pixels is its size in twips over the twips per pixel of
// each axis, in single precision.
TrayNotification TrayNotificationFor(int screenWidthTwips, int screenHeightTwips,
                                     int twipsPerPixelX, int twipsPerPixelY);

// A request to the shell to open a document, as ShellExecuteA takes it.
struct ShellOpenRequest {
  std::string file;
  std::string parameters;  // empty: none
  std::string directory;
  bool defaultVerb = true;  // the verb argument is NULL
  int showCommand = 1;      // SW_SHOWNORMAL
  friend bool operator==(const ShellOpenRequest&, const ShellOpenRequest&) = default;
};

inline constexpr char kHelpFileName[] = "\\OrvHelp.chm";
// Opening the help file: folder + "\OrvHelp.chm", default verb, no
// parameters, working folder "C:\", normal window.
ShellOpenRequest HelpOpenRequest(std::string_view applicationFolder);

// The alternative entry buttons of the main window (control arrays).
enum class EntryButton { cmdSorbek, cmdSystemSettings, cmdRamBooster, cmdNetPinger, cmdMainSettings, cmdHomePage };

// The tray menu's items.
enum class TrayMenuItem { mnuMainWindow, mnuHelp, mnuExit };

// Shown when Windows refuses the restart; the program keeps running as it was.
inline constexpr char kRestartRefusedMessage[] =
    "Windows refused to restart. Corvane keeps running; restart Windows from its Start menu.";

class IShellActions {
 public:
  virtual ~IShellActions() = default;

  virtual void MinimizeMainWindow() = 0;
  virtual void HideMainWindow() = 0;
  virtual void ShowMainWindow() = 0;
  // Z order inside the main window.
  virtual void BringMovieToFront() = 0;
  virtual void BringFrameToFront() = 0;
  virtual void SizeFrame(FrameSize size) = 0;

  // The feature windows. Windows not connected (not built into this
  // program) make each of these a no-op.
  virtual void LoadFeature(Feature feature) = 0;  // loads hidden; nothing if loaded
  virtual void UnloadFeature(Feature feature) = 0;
  virtual void SetFeatureVisible(Feature feature, bool visible) = 0;
  virtual void MakeFeatureChildOfFrame(Feature feature) = 0;
  // The feature window's BeforeShow (frmBackUp's intializeList; for
  // frmNormalMode, between its unload and load, currWizardPage := 0).
  virtual void BeforeShowFeature(Feature feature) = 0;

  // The tray icon control Tray1.
  virtual void ShowTrayIcon(bool show) = 0;
  virtual void ShowBalloonTip() = 0;
  virtual void ShowTrayNotification(const TrayNotification& notification) = 0;
  virtual TrayNotification TrayNotificationHere() const = 0;

  virtual void OpenWithShell(const ShellOpenRequest& request) = 0;
  virtual std::string ApplicationFolder() const = 0;
  virtual void DragWindow() = 0;
  virtual void RunShortcut(SystemShortcut shortcut) = 0;
  // Asks Windows to restart; false when it refused.
  virtual bool RestartWindows() = 0;
  // The program is going: from now on a copy that starts waits for this
  // one to end rather than handing itself to a window about to close.
  virtual void BeginEnding() = 0;
  // Ends the program (the message loop ends; the process exits with 0).
  virtual void EndProgram() = 0;
  // A plain message box with OK only.
  virtual void ShowPlainMessage(const std::string& text) = 0;
};

class ShellDispatcher {
 public:
  explicit ShellDispatcher(IShellActions& actions) : actions_(actions) {}

  // The FSCommand event: only the command text counts; false when the text
  // is no command (nothing happens then).
  bool OnFsCommand(std::string_view command, std::string_view args = {});
  void Run(ShellCommand command);

  void showInChildFrame(Feature feature);
  void hideFeatureWindows();
  // Hides the main window and tells the user it still runs: the balloon tip
  // on the NT family, the notification window on 95/98/ME.
  void TrayStep(OsFamily family);
  // The unload of the main window ("&Exit").
  void ExitSequence();
  // The session ends (Windows logs off, shuts down or restarts, this
  // program's own restart included): the unloads and the tray removal of
  // the exit sequence; Windows ends the process afterwards.
  void EndSession();
  // Every exit path removes the tray icon here.
  void RemoveTrayIcon();

  void OnEntryButton(EntryButton button, int index);
  void OnTrayMenu(TrayMenuItem item);
  void OpenHelp();

 private:
  void CloseProgram();
  void RestartProgram();
  void Unload(Feature feature);
  bool& ShownInFrame(Feature feature) { return shownInFrame_[static_cast<std::size_t>(feature)]; }

  IShellActions& actions_;
  // The windows of the set that have been shown in the frame since they
  // were loaded. Leaving the About screen brings back only these: a window
  // never re-parented is still a pop-up of its own, and showing it would put
  // a bare box loose on the screen.
  std::array<bool, kFeatureWindowSet.size()> shownInFrame_{};
};

}  // namespace corvane::shell
