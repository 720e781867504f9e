// The splash component Splash: a borderless, topmost picture in the middle
// of the screen while the program starts. Its three members, as the
// start-up calls them: 22 shows a splash file, 19 sets how long it stays on
// its own (0: until removed), 15 removes it.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/Handle.h"
#include "platform/win32/Window.h"
#include "shell/SplashFile.h"

namespace corvane::shell {

class Splash final : public win32::Window<Splash> {
 public:
  static constexpr char kClassName[] = "CorvaneSplash";

  explicit Splash(HINSTANCE instance) : instance_(instance) {}

  // Member 22: reads the picture and shows it at once, painted, without
  // taking the activation. A missing or malformed file shows nothing.
  bool ShowSplashFile(const std::string& path);
  // Member 19: seconds the splash stays before it removes itself; 0 keeps it
  // until Remove.
  void SetDisplayTime(int seconds);
  // Member 15: removes the splash. Where the system can fade windows it
  // fades out over a fifth of a second while the main window is already
  // painted beneath, so that the change is soft; elsewhere it goes at once.
  void Remove();

  bool IsShown() const { return hwnd() != nullptr && ::IsWindowVisible(hwnd()); }
  const std::string& error() const { return error_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Render(const SplashPicture& picture);

  HINSTANCE instance_;
  win32::UniqueHbitmap picture_;
  int width_ = 0, height_ = 0;
  int fadeStep_ = 0;
  std::string error_;
};

}  // namespace corvane::shell
