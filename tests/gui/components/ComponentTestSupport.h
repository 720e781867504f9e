// Helpers of the components' GUI tests: the component host program, the
// Wine notification area, and the balloon window's pixels.
#pragma once

#include <windows.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "tests/gui/GuiHarness.h"

namespace corvane::gui {

// Starts corvane_components_host.exe with the arguments.
std::unique_ptr<Program> StartHost(const std::string& arguments);

// A result file of the host, in the temporary folder; removed first.
std::string ResultPath(const std::string& name);
std::optional<std::string> ReadResult(const std::string& path);

// The notification area: Wine's standalone "Wine System Tray" window when no
// desktop shell runs. Nothing when it is not shown.
std::optional<HWND> NotificationArea();
// The first balloon tip (a visible top-level tooltip window of any process)
// once one shows; nothing when none does by the end of the timeout.
std::optional<HWND> WaitForBalloonTip(std::chrono::milliseconds timeout);
// Where the first icon of the notification area is drawn (screen
// coordinates), when one is drawn there.
std::optional<POINT> FirstTrayIcon(HWND area);
// The first icon of the shown notification area, now.
std::optional<POINT> ShownTrayIcon();
// The first icon once one is drawn in the notification area; nothing when
// none is by the end of the timeout.
std::optional<POINT> WaitForTrayIcon(std::chrono::milliseconds timeout = std::chrono::seconds(15));
// Whether the notification area is gone or drawn without an icon by the end
// of the timeout.
bool WaitForNoTrayIcon(std::chrono::milliseconds timeout);

// The screen pixel at a point of a window (window coordinates).
COLORREF WindowPixel(HWND window, int x, int y);
// Darkened as the balloon's shadow darkens the screen.
COLORREF Darkened(COLORREF color, int weight);
// A visible top-level window of the process with the class.
std::optional<HWND> FindWindowOf(DWORD pid, const std::string& className);
// A child window of a window with the caption.
std::optional<HWND> ChildWithCaption(HWND parent, const std::string& caption);
// Presses the left button at one screen point, moves it in steps to
// another and releases it there.
void DragMouse(POINT from, POINT to);

}  // namespace corvane::gui
