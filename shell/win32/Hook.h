// The module hook: replaces the movie player window's procedure so that the
// player never sees a right-button press (it would open a menu of its own)
// nor the keyboard's context-menu key.
#pragma once

#include <windows.h>

namespace corvane::shell {

// The procedure HookWindow replaced; nullptr while no hook is installed.
extern WNDPROC previousWindowProc;

// With enable true, puts HookedWindowProc in place of hWnd's procedure and
// keeps the one replaced; with false and a kept procedure, puts it back.
// False when the system refused.
bool HookWindow(HWND hWnd, bool enable);
LRESULT CALLBACK HookedWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The main window's first direct child, in the system's order, whose class
// name (250 characters at most, in lower case) contains
// "corvanemovieplayer"; nullptr when there is none (then nothing is hooked).
HWND FindMoviePlayerWindow(HWND mainWindow);

}  // namespace corvane::shell
