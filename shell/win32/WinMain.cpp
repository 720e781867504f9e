// corvane.exe: the program's entry point. The main window's load event is
// its start-up sequence; a second copy ends there without showing anything.
#include <windows.h>

#include "shell/win32/CommandLineRun.h"
#include "shell/win32/Connect.h"
#include "shell/win32/MainWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  // Arguments run without a window, before the single-instance test.
  if (auto exitCode = corvane::win32::RunCommandLine(commandLine)) return *exitCode;
  corvane::shell::MainWindow mainWindow(instance);
  // Declared after the main window, so it goes first: the tray's events
  // call into the main window.
  std::unique_ptr<corvane::shell::ShellParts> parts = corvane::shell::ConnectShellParts(mainWindow);
  switch (mainWindow.StartUp()) {
    case corvane::shell::StartUpResult::PreviousInstance:
      return 0;
    case corvane::shell::StartUpResult::Ended:
      return 1;
    case corvane::shell::StartUpResult::Shown:
    case corvane::shell::StartUpResult::InTray:
      break;
  }
  if (mainWindow.hwnd() == nullptr) return 1;

  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
