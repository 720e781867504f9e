// What the main window offers the windows it holds: the feature windows
// (wizard, backup manager, pinger, status, RAM configuration, main settings)
// reach the skin, the movie and the registry only through this.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Registry.h"

namespace corvane::shell {

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
};

// A window of the feature window set. The main window loads it hidden at
// start-up (or on first use), shows it inside its child frame, and unloads
// it on exit.
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
};

}  // namespace corvane::shell
