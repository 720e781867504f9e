// corvane.exe: the program's entry point.
#include <windows.h>

#include "shell/win32/MainWindow.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  corvane::shell::MainWindow mainWindow;
  if (!mainWindow.Create(instance)) return 1;
  ::ShowWindow(mainWindow.hwnd(), showCommand);
  ::UpdateWindow(mainWindow.hwnd());

  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
