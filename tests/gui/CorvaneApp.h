// The running Corvane as the GUI tests meet it: the process, its main window,
// the movie and the child frame, the movie's drawn buttons by command, the
// test path that sends raw command texts, and the help requests it made.
// Tests of every window of the program build on this and on GuiHarness.h.
#pragma once

#include <windows.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "tests/gui/GuiHarness.h"

namespace corvane::gui {

inline constexpr char kMainWindowClass[] = "CorvaneMainWindow";
inline constexpr char kMovieClass[] = "CorvaneMoviePlayer";
inline constexpr char kFrameClass[] = "CorvaneChildFrame";
inline constexpr char kSplashClass[] = "CorvaneSplash";

// The kinds of the main window's test path (shell/win32/MainWindow.h).
inline constexpr ULONG_PTR kTestFsCommand = 0x43564D01;
inline constexpr ULONG_PTR kTestEntryButton = 0x43564D02;
inline constexpr ULONG_PTR kTestTrayMenu = 0x43564D03;
inline constexpr ULONG_PTR kTestPopupMenu = 0x43564D04;

// Wine's stand-alone notification area ("Wine System Tray") opens at the
// top left of the screen, under the main window. Moved to the top right, as
// a taskbar would keep it apart, so that the icon can be clicked and
// screenshots show the program alone. Start() does it once the icon is there.
void MoveNotificationAreaAside();

class CorvaneApp {
 public:
  struct Options {
    bool testCommands = true;  // CORVANE_TEST_COMMANDS=1
    bool logShellExecute = true;  // CORVANE_SHELL_EXECUTE_LOG, no viewer opens
    std::vector<std::pair<std::string, std::string>> environment;
    // How long the main window may take to show.
    std::chrono::milliseconds windowTimeout = std::chrono::seconds(20);
  };

  // Starts corvane.exe and waits for its visible main window with the movie
  // in it; nullptr (with a message in why) when that does not happen.
  static std::unique_ptr<CorvaneApp> Start(const Options& options, std::string* why = nullptr);
  static std::unique_ptr<CorvaneApp> Start() { return Start(Options{}); }
  // Ends the program as a user would (the window's close, which runs the
  // exit sequence), so that its tray icon goes with it; the process is
  // ended by force only when that does not work.
  ~CorvaneApp();

  Program& program() { return *program_; }
  HWND main() const { return main_; }
  HWND movie() const { return movie_; }
  HWND frame() const { return frame_; }

  // Where the movie draws the button that sends a command, in screen
  // coordinates, on the given screen of the movie.
  std::optional<RECT> ButtonRect(const std::string& command, const std::string& screen = "home") const;
  // A point of that button that no other button covers, on the screen.
  std::optional<POINT> ButtonPoint(const std::string& command, const std::string& screen = "home") const;
  // Clicks that point as a user would; false when the movie
  // has no such button.
  bool ClickButton(const std::string& command, const std::string& screen = "home");

  // The test path: a raw command text, an entry button ("cmdSorbek 0"), a
  // tray menu item ("mnuHelp"), or the tray menu popped up at the cursor.
  bool SendCommand(const std::string& command) { return SendText(main_, kTestFsCommand, command); }
  bool PressEntryButton(const std::string& button) { return SendText(main_, kTestEntryButton, button); }
  bool ChooseTrayMenu(const std::string& item) { return SendText(main_, kTestTrayMenu, item); }
  bool PopupTrayMenu() { return SendText(main_, kTestPopupMenu, ""); }

  bool MovieInFront() const { return IsInFrontOf(movie_, frame_); }
  bool FrameInFront() const { return IsInFrontOf(frame_, movie_); }
  // The feature window of the class once it is visible in the frame with
  // the frame in front; nothing when that does not happen in the time.
  std::optional<HWND> WaitForFeature(const char* windowClass, std::chrono::milliseconds timeout) const;
  SIZE FrameSize() const;
  RECT MainRect() const;
  // The shell-execute requests made so far, one per line.
  std::string ShellRequests() const { return ReadTextFile(shellLog_); }

  // Brings the program back to its home state between tests that share it.
  void BackHome();

 private:
  std::unique_ptr<Program> program_;
  HWND main_ = nullptr;
  HWND movie_ = nullptr;
  HWND frame_ = nullptr;
  std::string shellLog_;
};

// A suite whose tests share one running corvane.exe, started once for the
// suite and brought back to its home screen before each test.
class RunningCorvaneTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  CorvaneApp& app() { return *app_; }
  DWORD pid() { return app_->program().pid(); }

 private:
  static CorvaneApp* app_;
  static std::string startError_;
};

}  // namespace corvane::gui
