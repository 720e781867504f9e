// What a new user meets first, end to end: the About screen and its Back
// button leave no window loose on the screen, a second start brings the
// running copy back, the header's icons say what they do, and the splash
// shows the program's mark. Screenshots: first-start, about-back, second-start-*,
// header-tip, pressed, splash.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/movie/MovieHitTest.h"
#include "platform/movie/MovieReader.h"
#include "shell/win32/Splash.h"
#include "tests/gui/CorvaneApp.h"
#include "tests/gui/GuiHarness.h"

namespace corvane::gui {
namespace {

constexpr char kSettingsClass[] = "CorvaneMainSettings";
constexpr char kTooltipClass[] = "tooltips_class32";

// The visible top-level windows of the program other than its main window:
// what would lie loose on the screen. A tooltip is the system's, not loose.
std::vector<WindowInfo> LooseWindows(CorvaneApp& app) {
  std::vector<WindowInfo> loose;
  for (const auto& w : VisibleTopLevelWindows(app.program().pid())) {
    if (w.hwnd != app.main() && w.className != kTooltipClass) loose.push_back(w);
  }
  return loose;
}

std::string Names(const std::vector<WindowInfo>& windows) {
  std::string names;
  for (const auto& w : windows) names += " " + w.className + " \"" + w.caption + "\"";
  return names;
}

std::optional<HWND> SettingsWindow(CorvaneApp& app) {
  for (const auto& w : Descendants(app.main())) {
    if (w.className == kSettingsClass) return w.hwnd;
  }
  for (const auto& w : TopLevelWindows(app.program().pid())) {
    if (w.className == kSettingsClass) return w.hwnd;
  }
  return std::nullopt;
}

void AboutThenBack(CorvaneApp& app) {
  ASSERT_TRUE(app.ClickButton("IDC_FS_about"));
  Settle(std::chrono::milliseconds(600));  // the screen transition
  ASSERT_TRUE(app.ClickButton("IDC_FS_closeAbout", "about"));
  Settle(std::chrono::milliseconds(600));
}

// ---- About, then Back -------------------------------------------------------

TEST(AboutThenBack, OnAFreshStartLeavesNoWindowLooseOnTheScreen) {
  std::string why;
  auto app = CorvaneApp::Start(CorvaneApp::Options{}, &why);
  ASSERT_TRUE(app) << why;
  app->BackHome();
  SaveScreenshot("first-start");
  // Every feature window was loaded hidden and none has been in the frame.
  AboutThenBack(*app);
  auto loose = LooseWindows(*app);
  EXPECT_TRUE(loose.empty()) << "loose on the screen:" << Names(loose);
  if (auto settings = SettingsWindow(*app)) {
    EXPECT_FALSE(::IsWindowVisible(*settings));
  }
  EXPECT_TRUE(app->MovieInFront());
  SaveScreenshot("about-back");
}

TEST(AboutThenBack, AWindowThatWasInTheFrameIsVisibleInsideItAgain) {
  std::string why;
  auto app = CorvaneApp::Start(CorvaneApp::Options{}, &why);
  ASSERT_TRUE(app) << why;
  ASSERT_TRUE(app->ClickButton("IDC_FS_settings"));
  ASSERT_TRUE(WaitUntil([&] { return app->FrameInFront(); }, std::chrono::seconds(5)));
  auto settings = SettingsWindow(*app);
  ASSERT_TRUE(settings) << "the settings window is not built into this program";
  ASSERT_TRUE(app->ClickButton("IDC_FS_home"));
  ASSERT_TRUE(WaitUntil([&] { return app->MovieInFront(); }, std::chrono::seconds(5)));
  AboutThenBack(*app);
  // Visible again where it was, inside the frame, which stays behind the
  // movie; nothing else.
  EXPECT_TRUE(::IsWindowVisible(*settings));
  EXPECT_EQ(::GetParent(*settings), app->frame());
  EXPECT_TRUE(app->MovieInFront());
  auto loose = LooseWindows(*app);
  EXPECT_TRUE(loose.empty()) << "loose on the screen:" << Names(loose);
}

// ---- a second start --------------------------------------------------------------

struct HiddenBy {
  const char* name;
  void (*hide)(CorvaneApp& app);
  bool (*hidden)(CorvaneApp& app);
};

class SecondStart : public ::testing::TestWithParam<HiddenBy> {};

TEST_P(SecondStart, ShowsTheRunningCopyRestoredInFrontAndEndsWithoutShowingAnythingOfItsOwn) {
  std::string why;
  auto app = CorvaneApp::Start(CorvaneApp::Options{}, &why);
  ASSERT_TRUE(app) << why;
  GetParam().hide(*app);
  ASSERT_TRUE(WaitUntil([&] { return GetParam().hidden(*app); }, std::chrono::seconds(8)));
  // The tray step's note (balloon or notification window) is the first
  // copy's; let it go so that it is not taken for the second's.
  Settle(std::chrono::milliseconds(500));

  auto second = Program::Start();
  ASSERT_TRUE(second);
  bool showedSomething = false;
  std::optional<DWORD> code;
  WaitUntil([&] {
    if (!VisibleTopLevelWindows(second->pid()).empty()) showedSomething = true;
    code = second->WaitForExit(std::chrono::milliseconds(0));
    return code.has_value();
  }, std::chrono::seconds(15));
  ASSERT_TRUE(code) << "the second copy did not end";
  EXPECT_EQ(*code, 0u);
  EXPECT_FALSE(showedSomething) << "the second copy showed a window of its own";

  // Back in its place, at the top left corner of the screen.
  EXPECT_TRUE(WaitUntil([&] {
    RECT r = app->MainRect();
    return ::IsWindowVisible(app->main()) != FALSE && !::IsIconic(app->main()) && r.left == 0 && r.top == 0;
  }, std::chrono::seconds(8)))
      << "the running copy did not come back";
  EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == app->main(); }, std::chrono::seconds(5)))
      << "the running copy is not in front";
  EXPECT_TRUE(app->program().IsRunning());
  Settle();
  SaveScreenshot(std::string("second-start-") + GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    WhileTheFirstIs, SecondStart,
    ::testing::Values(
        HiddenBy{"tray",
                 [](CorvaneApp& app) { ASSERT_TRUE(app.ClickButton("IDC_FS_tray")); },
                 [](CorvaneApp& app) { return !::IsWindowVisible(app.main()); }},
        HiddenBy{"minimised",
                 [](CorvaneApp& app) { ASSERT_TRUE(app.ClickButton("IDC_FS_minimize")); },
                 [](CorvaneApp& app) { return ::IsIconic(app.main()) != FALSE; }}),
    [](const ::testing::TestParamInfo<HiddenBy>& param) { return std::string(param.param.name); });

// ---- the header's icons -----------------------------------------------------------

BOOL CALLBACK FindVisibleTip(HWND hwnd, LPARAM param) {
  char name[64] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  if (::IsWindowVisible(hwnd) && std::string(name) == kTooltipClass) {
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
  }
  return TRUE;
}

std::optional<RECT> VisibleTip() {
  HWND tip = nullptr;
  ::EnumWindows(&FindVisibleTip, reinterpret_cast<LPARAM>(&tip));
  RECT r{};
  if (tip == nullptr || !::GetWindowRect(tip, &r)) return std::nullopt;
  return r;
}

// The tip each icon of the header carries in the movie (the text is drawn by
// another process's tooltip window, which does not give it out).
std::string MovieTip(const std::string& command) {
  auto read = movie::ReadMovieFile(ProgramFolder() + "\\speed up.swf");
  if (!read.movie) return "(no movie)";
  for (const auto& button : read.movie->buttons) {
    if (button.command == command) return button.tip;
  }
  return "(no button)";
}

class HeaderTipTest : public RunningCorvaneTest {};

TEST_F(HeaderTipTest, EachIconSaysWhatItDoesWhenThePointerRestsOnIt) {
  const std::pair<const char*, const char*> icons[] = {
      {"IDC_FS_help", "Help"},
      {"IDC_FS_about", "About Corvane"},
      {"IDC_FS_tray", "Hide to the system tray"},
      {"IDC_FS_minimize", "Minimise"},
      {"IDC_FS_close", "Close Corvane"},
  };
  for (const auto& [command, tip] : icons) {
    SCOPED_TRACE(command);
    EXPECT_EQ(MovieTip(command), tip);
    auto button = app().ButtonRect(command);
    auto p = app().ButtonPoint(command);
    ASSERT_TRUE(button && p);
    MoveMouse(p->x, p->y - 1);
    MoveMouse(p->x, p->y);  // rests here
    std::optional<RECT> shown;
    ASSERT_TRUE(WaitUntil([&] { return (shown = VisibleTip()).has_value(); }, std::chrono::seconds(5)))
        << "no tip while the pointer rests on the icon";
    // Just below the pointer, over the icon's column.
    EXPECT_GE(shown->top, button->top);
    EXPECT_LE(shown->top, button->bottom + 40);
    EXPECT_LE(shown->left, p->x + 40);
    EXPECT_GE(shown->right, p->x - 40);
    if (std::string(command) == "IDC_FS_tray") SaveScreenshot("header-tip");
    MoveMouse(680, 600);  // away: the tip goes
    EXPECT_TRUE(WaitUntil([&] { return !VisibleTip(); }, std::chrono::seconds(5)));
  }
}

// ---- a pressed button ----------------------------------------------------------------

void LeftButton(bool down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  ::SendInput(1, &input, sizeof input);
}

int Brightness(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); }

class PressedLookTest : public RunningCorvaneTest {};

TEST_F(PressedLookTest, APressedButtonLooksPushedIn) {
  // The call to action's face, left of its label, held down: darker than
  // under a resting pointer. Released elsewhere, the press is cancelled.
  auto read = movie::ReadMovieFile(ProgramFolder() + "\\speed up.swf");
  ASSERT_TRUE(read.movie);
  int index = movie::ButtonById(*read.movie, "cta-tune");
  ASSERT_GE(index, 0);
  const movie::RectF& box = read.movie->buttons[static_cast<std::size_t>(index)].box;
  POINT at{static_cast<LONG>(box.x) + 6, static_cast<LONG>(box.y + box.h / 2)};
  ::ClientToScreen(app().movie(), &at);
  int x = at.x;
  int y = at.y;
  MoveMouse(x, y);
  Settle(std::chrono::milliseconds(400));
  COLORREF hovered = ScreenPixel(x, y);
  LeftButton(true);
  Settle(std::chrono::milliseconds(400));
  COLORREF pressed = ScreenPixel(x, y);
  SaveScreenshot("pressed");
  MoveMouse(680, 600);
  LeftButton(false);
  Settle(std::chrono::milliseconds(400));
  EXPECT_LT(Brightness(pressed) + 60, Brightness(hovered))
      << std::hex << "hovered " << hovered << ", pressed " << pressed;
  EXPECT_TRUE(app().MovieInFront()) << "a press released elsewhere does nothing";
}

// ---- the splash ----------------------------------------------------------------------

void Pump(DWORD milliseconds) {
  DWORD end = ::GetTickCount() + milliseconds;
  do {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
    ::Sleep(10);
  } while (::GetTickCount() < end);
}

bool Teal(COLORREF c) { return GetGValue(c) > 150 && GetBValue(c) > 140 && GetRValue(c) < 110; }

TEST(SplashScreen, ShowsTheProgramsMarkOpenToTheRight) {
  shell::Splash splash(::GetModuleHandleA(nullptr));
  ASSERT_TRUE(splash.ShowSplashFile(ProgramFolder() + "\\KeltSpl.spl")) << splash.error();
  splash.SetDisplayTime(0);
  Pump(500);
  RECT r{};
  ASSERT_TRUE(::GetWindowRect(splash.hwnd(), &r));
  SaveScreenshot("splash");
  // The mark's centre lies at 102, 130 of the picture; its ring, 33 pixels
  // out, is teal left, above and below, and open to the right, as the side
  // bar's logo and the tray icon are.
  int cx = r.left + 102;
  int cy = r.top + 130;
  EXPECT_TRUE(Teal(ScreenPixel(cx - 33, cy)));
  EXPECT_TRUE(Teal(ScreenPixel(cx, cy - 33)));
  EXPECT_TRUE(Teal(ScreenPixel(cx, cy + 33)));
  EXPECT_FALSE(Teal(ScreenPixel(cx + 33, cy))) << "the ring is open to the right";
  COLORREF core = ScreenPixel(cx, cy);
  EXPECT_GT(GetRValue(core), 200) << "the amber dot in the middle";
  splash.Remove();
  Pump(500);
}

}  // namespace
}  // namespace corvane::gui
