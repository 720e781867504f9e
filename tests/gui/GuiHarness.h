// End-to-end GUI harness: starts the real corvane.exe under Wine, waits for
// its windows, reads the window tree, drives it with real mouse and keyboard
// input at screen positions, and saves screenshots. Every GUI test of the
// program builds on it.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvane::gui {

struct WindowInfo {
  HWND hwnd = nullptr;
  std::string className;
  std::string caption;
  bool visible = false;
  HWND parent = nullptr;  // GetParent: the owner for top-level windows
  RECT rect{};            // screen coordinates
  DWORD processId = 0;
};

WindowInfo Describe(HWND hwnd);
// The top-level windows of a process, in Z order.
std::vector<WindowInfo> TopLevelWindows(DWORD processId);
// Every descendant of a window, depth first.
std::vector<WindowInfo> Descendants(HWND parent);
// A readable dump of a window and its descendants, for failure messages.
std::string DumpTree(HWND root);

// The direct children of a window in Z order, the front one first.
std::vector<WindowInfo> Children(HWND parent);
// The first direct child of that class, in Z order.
std::optional<HWND> FindChild(HWND parent, const std::string& className);
// A window's place among its siblings: 0 is the front.
int ZIndex(HWND window);
// Whether a is in front of its sibling b.
bool IsInFrontOf(HWND a, HWND b);
// The visible top-level windows of a process.
std::vector<WindowInfo> VisibleTopLevelWindows(DWORD processId);
// A window's size and place relative to its parent's client area.
RECT ClientRectInParent(HWND window);

// Sends WM_COPYDATA with a text (and its NUL) to a window of another
// process; false when the window refused it or did not answer in time.
bool SendText(HWND target, ULONG_PTR kind, const std::string& text);

// A path for a scratch file of the test in the Windows temporary folder
// (deleted first), and the whole text of a file ("" when it does not exist).
std::string ScratchFile(const std::string& name);
std::string ReadTextFile(const std::string& path);

// Polls until the predicate holds or the time is up.
bool WaitUntil(const std::function<bool()>& predicate,
               std::chrono::milliseconds timeout = std::chrono::seconds(15));

// The folder of the test program; corvane.exe and its files lie beside it.
std::string ProgramFolder();

struct StartOptions {
  std::string exeName = "corvane.exe";
  std::string arguments;
  // Set in the program's environment, besides what the test has.
  std::vector<std::pair<std::string, std::string>> environment;
};

class Program {
 public:
  // Starts corvane.exe (or another program of the build) with arguments.
  static std::unique_ptr<Program> Start(const std::string& exeName = "corvane.exe",
                                        const std::string& arguments = "");
  static std::unique_ptr<Program> Start(const StartOptions& options);
  ~Program();  // ends the process if it still runs: it is ours
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  DWORD pid() const { return pi_.dwProcessId; }
  bool IsRunning() const;
  // Waits for the process to end; its exit code, or nothing on time-out.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout);
  // The first visible top-level window of the process with that class.
  std::optional<HWND> WaitForWindow(const std::string& className,
                                    std::chrono::milliseconds timeout = std::chrono::seconds(20));
  std::vector<WindowInfo> Windows() const { return TopLevelWindows(pid()); }

 private:
  Program() = default;
  PROCESS_INFORMATION pi_{};
};

// Real input, as a user gives it: the cursor moves there and the button goes
// down and up.
void MoveMouse(int x, int y);
void ClickAt(int x, int y, bool rightButton = false);
void ClickInWindow(HWND window, int clientX, int clientY, bool rightButton = false);
// A left click in the middle of a window's client area.
void ClickCentre(HWND window);
// One mouse button event where the cursor is (MOUSEEVENTF_LEFTDOWN ...).
void SendMouse(DWORD flags);
// Presses the left button at one point, moves to another in steps, and
// lets go there.
void DragMouse(int fromX, int fromY, int toX, int toY);
void PressKey(WORD virtualKey);
// One key going down, or up: for chords (shift held while another goes).
void KeyEvent(WORD virtualKey, bool up);
// Selects the focused box's text as a user does before typing over it:
// End, then Shift+Home.
void SelectLineByKeyboard();

// The first visible message box of a process, with the text it shows.
struct MessageBoxSeen {
  HWND hwnd = nullptr;
  std::string caption;
  std::string text;
};
std::optional<MessageBoxSeen> WaitForMessageBox(DWORD processId,
                                                std::chrono::milliseconds timeout = std::chrono::seconds(10));

// A number in the registry, stored as a DWORD or as decimal text; nothing
// when the value is missing.
std::optional<DWORD> ReadRegistryNumber(HKEY root, const char* key, const char* name);
// The snapshot files (*.BCK) in the Backups folder beside the program.
int CountSnapshotFiles();
// Lets input and painting settle.
void Settle(std::chrono::milliseconds time = std::chrono::milliseconds(300));

// The colour of a screen pixel.
COLORREF ScreenPixel(int x, int y);
// The pixels of a screen rectangle, row by row (0x00RRGGBB).
std::vector<DWORD> CaptureScreen(const RECT& area);
// Saves the whole screen as <name>.bmp in the screenshot folder (the Unix
// path in CORVANE_SCREENSHOT_DIR, else the program folder); the test
// command turns them into PNG files. Returns the Windows path written.
std::string SaveScreenshot(const std::string& name);

}  // namespace corvane::gui
