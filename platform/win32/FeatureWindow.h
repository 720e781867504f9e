// The contract between the main window and the feature windows it holds
// (wizard, advanced editor, backup manager, pinger, status, RAM
// configuration, main settings). It lies below every feature folder, so
// that tuning/, pinger/ and memory/ make their windows without knowing the
// shell: the windows reach the skin, the movie, the registry, the sounds and
// the yield pump only through IShellServices.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Registry.h"
#include "platform/ui/Sound.h"
#include "platform/ui/YieldPump.h"

namespace corvane::win32 {

class IShellServices {
 public:
  virtual ~IShellServices() = default;

  virtual IRegistry& registry() = 0;
  virtual HINSTANCE instance() const = 0;
  // The folder of corvane.exe, without a trailing backslash.
  virtual std::string ApplicationFolder() const = 0;
  virtual HWND mainWindow() const = 0;

  // Applies a named skin object ("controlForm", "Button", "Label", "Frame",
  // "CheckBox", "RadioBox", ...) to a window. Changes only how it paints;
  // false when the window cannot be skinned (it keeps its plain look).
  virtual bool ApplySkin(HWND window, const char* objectName) = 0;
  // Skins every control of a form by its kind; skips what cannot be skinned.
  virtual void applyAllControls(HWND form) = 0;

  // Brings the movie in front of the child frame and sends it to its home
  // screen (after an apply).
  virtual void ReturnHome() = 0;
  // Sends the movie to its home screen without bringing it to the front
  // (after a restore, so that the backup manager stays in front).
  virtual void SendMovieHome() = 0;

  // The program's one "yield to the window system" (platform/ui/YieldPump.h).
  virtual ui::YieldPump& pump() = 0;
  // The program's sound player.
  virtual ui::ISoundPlayer& sounds() = 0;
};

// A window of the feature window set. The main window loads it hidden at
// start-up (or on first use), shows it inside its child frame, and unloads
// it on exit. What else a feature needs of the main window (its command,
// frame size, orders, whether its command reloads it) stands in its row of
// the feature table (`kFeatureTable`, shell/ShellCommands.h).
class FeatureWindow {
 public:
  virtual ~FeatureWindow() = default;
  // Creates the window hidden, owned by the main window, and runs its load
  // event (skin, stored settings, timers). False when it cannot be created.
  virtual bool Load(IShellServices& services, HWND owner) = 0;
  // Destroys the window (its unload event); harmless when not loaded.
  virtual void Unload() = 0;
  virtual bool IsLoaded() const = 0;
  virtual HWND hwnd() const = 0;
  // Runs before each showing by the feature's command, loaded or not: the
  // backup manager rebuilds its list; the advanced editor, which its
  // command unloads and loads again, goes back to its first page here,
  // between the two.
  virtual void BeforeShow() {}
};

}  // namespace corvane::win32
