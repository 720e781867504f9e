// The movie player in a host window, under the real window system: it loads
// the program's movie, paints it, and answers real mouse and keyboard input
// at the places where the buttons are drawn.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/movie/MovieHitTest.h"
#include "platform/movie/MovieReader.h"
#include "platform/movie/MovieRenderer.h"
#include "platform/win32/MoviePlayer.h"
#include "tests/platform/movie/PngFile.h"
#include "platform/win32/ProgramFile.h"

namespace corvane::win32 {
namespace {

using Clock = std::chrono::steady_clock;

std::string ProgramFolder() { return corvane::win32::ProgramFolder(); }

std::string MoviePath() { return ProgramFolder() + "\\speed up.swf"; }

movie::Movie ReadRealMovie() {
  std::ifstream in(MoviePath(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  auto result = movie::ReadMovie(text.str());
  EXPECT_TRUE(result.movie) << "line " << result.line << ": " << result.error;
  return result.movie ? std::move(*result.movie) : movie::Movie{};
}

void Pump(std::chrono::milliseconds time) {
  auto end = Clock::now() + time;
  do {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
    ::Sleep(5);
  } while (Clock::now() < end);
}

template <typename Predicate>
bool PumpUntil(Predicate done, std::chrono::milliseconds timeout = std::chrono::milliseconds(3000)) {
  auto end = Clock::now() + timeout;
  while (Clock::now() < end) {
    Pump(std::chrono::milliseconds(10));
    if (done()) return true;
  }
  return done();
}

void SendMouse(DWORD flags, int x, int y) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  // Absolute positions are in 0..65535 over the primary screen.
  input.mi.dx = (x * 65536 + 32768) / ::GetSystemMetrics(SM_CXSCREEN);
  input.mi.dy = (y * 65536 + 32768) / ::GetSystemMetrics(SM_CYSCREEN);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  ASSERT_EQ(::SendInput(1, &input, sizeof input), 1u);
}

void MoveMouse(int x, int y) { SendMouse(0, x, y); }

void Click(int x, int y, bool right = false) {
  MoveMouse(x, y);
  Pump(std::chrono::milliseconds(30));
  SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, x, y);
  Pump(std::chrono::milliseconds(30));
  SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, x, y);
  Pump(std::chrono::milliseconds(30));
}

void PressKey(WORD key) {
  INPUT input[2]{};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(::SendInput(2, input, sizeof input[0]), 2u);
  Pump(std::chrono::milliseconds(40));
}

// Where screenshots go: CORVANE_SCREENSHOT_DIR (a Unix path), else the
// build's screenshots folder beside bin.
std::string ScreenshotPath(const std::string& name) {
  std::string folder;
  if (const char* dir = std::getenv("CORVANE_SCREENSHOT_DIR"); dir != nullptr && *dir != '\0') {
    folder = std::string("Z:") + dir;
    for (char& c : folder) {
      if (c == '/') c = '\\';
    }
  } else {
    folder = ProgramFolder() + "\\..\\..\\screenshots";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    folder += "\\movie";
  }
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\" + name + ".png";
}

// The window's pixels as the screen shows them.
std::vector<std::uint32_t> Capture(HWND window, int& width, int& height) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  width = rect.right - rect.left;
  height = rect.bottom - rect.top;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  ::GdiFlush();
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint32_t*>(bits)[i] & 0xFFFFFF;
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return pixels;
}

void SaveScreenshot(HWND window, const std::string& name) {
  int width = 0, height = 0;
  auto pixels = Capture(window, width, height);
  EXPECT_TRUE(movie::testing::WritePng(ScreenshotPath(name), pixels.data(), width, height, width));
}

std::uint32_t PixelAt(HWND window, int x, int y) {
  int width = 0, height = 0;
  auto pixels = Capture(window, width, height);
  if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFF;
  return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
}

int ColorDistance(std::uint32_t a, std::uint32_t b) {
  auto d = [&](int s) { return std::abs(static_cast<int>((a >> s) & 0xFF) - static_cast<int>((b >> s) & 0xFF)); };
  return d(16) + d(8) + d(0);
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

// The shell's hook: right-button presses become WM_NULL before the player.
WNDPROC gPrevious = nullptr;
LRESULT CALLBACK HookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_RBUTTONDOWN) message = WM_NULL;
  return ::CallWindowProcA(gPrevious, hwnd, message, wParam, lParam);
}

class MoviePlayerTest : public ::testing::Test {
 protected:
  // One host for the whole suite: without a window manager, destroying a
  // visible top-level window waits two seconds for the X server.
  static void SetUpTestSuite() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = &HostProc;
    wc.hInstance = instance;
    wc.lpszClassName = "CorvaneMovieTestHost";
    wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    ::RegisterClassA(&wc);
    host_ = ::CreateWindowExA(0, wc.lpszClassName, "movie host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                              0, 0, 675, 435, nullptr, nullptr, instance, nullptr);
  }
  static void TearDownTestSuite() {
    if (host_ != nullptr) ::DestroyWindow(host_);
    host_ = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(host_, nullptr);
    player_ = std::make_unique<MoviePlayer>();
    ASSERT_TRUE(player_->Create(host_, 0, 0, 675, 435, ::GetModuleHandleA(nullptr)));
    player_->SetCommandHandler([this](const std::string& command, const std::string& args) {
      commands_.push_back(command);
      (void)args;
    });
    ::SetForegroundWindow(host_);
    MoveMouse(670, 430);  // away from every button
    Pump(std::chrono::milliseconds(50));
  }
  void TearDown() override {
    player_.reset();
    Pump(std::chrono::milliseconds(20));
  }

  void LoadAndSettle() {
    ASSERT_TRUE(player_->LoadMovie(0, MoviePath())) << MoviePath();
    ASSERT_TRUE(PumpUntil([&] { return !player_->Animating(); }));
    Pump(std::chrono::milliseconds(50));
  }

  // Clicks the button of that command on the screen that shows; returns what
  // the player raised.
  std::vector<std::string> ClickCommand(const movie::Movie& movie, const std::string& command) {
    commands_.clear();
    auto point = movie::ButtonClickPoint(movie, player_->ScreenName(), command);
    EXPECT_TRUE(point) << command << " on " << player_->ScreenName();
    if (!point) return {};
    Click(static_cast<int>(point->x), static_cast<int>(point->y));
    PumpUntil([&] { return !player_->Animating(); });
    return commands_;
  }

  static HWND host_;
  std::unique_ptr<MoviePlayer> player_;
  std::vector<std::string> commands_;
};

HWND MoviePlayerTest::host_ = nullptr;

TEST_F(MoviePlayerTest, PaintsTheHomeScreenOfTheMovie) {
  LoadAndSettle();
  EXPECT_EQ(player_->ScreenName(), "home");
  EXPECT_STREQ(kMoviePlayerClass, "CorvaneMoviePlayer");
  char className[64] = {};
  ::GetClassNameA(player_->hwnd(), className, sizeof className);
  EXPECT_STREQ(className, kMoviePlayerClass);
  SaveScreenshot(host_, "movie-home");
  // The back buffer covers everything: erasing is left undone, so nothing flickers.
  HDC dc = ::GetDC(player_->hwnd());
  EXPECT_NE(::SendMessageA(player_->hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);
  ::ReleaseDC(player_->hwnd(), dc);
  // The sidebar is dark navy, the call to action teal.
  movie::Movie movie = ReadRealMovie();
  int ctaIndex = movie::ButtonById(movie, "cta-tune");
  ASSERT_GE(ctaIndex, 0);
  const movie::RectF* cta = &movie.buttons[static_cast<std::size_t>(ctaIndex)].box;
  std::uint32_t side = PixelAt(host_, 90, 430);
  EXPECT_LT(ColorDistance(side, 0x0A0D14), 24) << std::hex << side;
  std::uint32_t teal = PixelAt(host_, static_cast<int>(cta->x + cta->w) - 40, static_cast<int>(cta->y) + 4);
  EXPECT_GT(static_cast<int>((teal >> 8) & 0xFF), 150) << std::hex << teal;
  EXPECT_LT(static_cast<int>((teal >> 16) & 0xFF), 120) << std::hex << teal;
}

TEST_F(MoviePlayerTest, AClickOnEachDrawnButtonRaisesItsCommand) {
  LoadAndSettle();
  movie::Movie movie = ReadRealMovie();
  // Every command once, on the first screen that shows it; the screen is
  // reached the way a user reaches it, through a button that leads there.
  for (const std::string& command : movie::Commands(movie)) {
    if (command == "Drag") continue;  // raised on the press, tested below
    std::string where;
    for (const std::string& screen : movie.screens) {
      if (movie::FindButton(movie, screen, command)) {
        where = screen;
        break;
      }
    }
    ASSERT_FALSE(where.empty()) << command;
    player_->SetVariable("_root.home", "true");
    PumpUntil([&] { return !player_->Animating(); });
    if (where != "home") {
      std::string via;
      for (int b : movie::ButtonsOnScreen(movie, 0)) {
        const auto& button = movie.buttons[static_cast<std::size_t>(b)];
        if (button.gotoScreen == movie.ScreenIndex(where)) {
          via = button.command;
          break;
        }
      }
      ASSERT_FALSE(via.empty()) << "no way to " << where;
      ClickCommand(movie, via);
      ASSERT_EQ(player_->ScreenName(), where) << via;
      if (where == "about") SaveScreenshot(host_, "movie-about");
      if (where == "system") SaveScreenshot(host_, "movie-system");
      if (where == "wizard") SaveScreenshot(host_, "movie-feature");
    }
    EXPECT_EQ(ClickCommand(movie, command), std::vector<std::string>{command}) << "on " << where;
  }
}

TEST_F(MoviePlayerTest, TheTitleAreaRaisesDragOnThePress) {
  LoadAndSettle();
  movie::Movie movie = ReadRealMovie();
  auto point = movie::ButtonClickPoint(movie, "home", "Drag");
  ASSERT_TRUE(point);
  MoveMouse(static_cast<int>(point->x), static_cast<int>(point->y));
  Pump(std::chrono::milliseconds(30));
  SendMouse(MOUSEEVENTF_LEFTDOWN, static_cast<int>(point->x), static_cast<int>(point->y));
  Pump(std::chrono::milliseconds(60));
  EXPECT_EQ(commands_, std::vector<std::string>{"Drag"});
  EXPECT_NE(::GetCapture(), player_->hwnd()) << "the drag loop needs the mouse";
  SendMouse(MOUSEEVENTF_LEFTUP, static_cast<int>(point->x), static_cast<int>(point->y));
  Pump(std::chrono::milliseconds(30));
  EXPECT_EQ(commands_.size(), 1u);
}

TEST_F(MoviePlayerTest, HoverLightsAButtonAndAPressReleasedElsewhereRaisesNothing) {
  LoadAndSettle();
  movie::Movie movie = ReadRealMovie();
  auto box = movie::FindButton(movie, "home", "IDC_FS_pingSetting");
  ASSERT_TRUE(box);
  // A pixel of the pill's background, right of the label.
  int x = static_cast<int>(box->x + box->w) - 8;
  int y = static_cast<int>(box->y + box->h / 2);
  std::uint32_t before = PixelAt(host_, x, y);
  MoveMouse(x, y);
  ASSERT_TRUE(PumpUntil([&] { return !player_->Animating(); }));
  Pump(std::chrono::milliseconds(40));
  std::uint32_t lit = PixelAt(host_, x, y);
  EXPECT_GT(ColorDistance(before, lit), 6) << std::hex << before << " " << lit;
  SaveScreenshot(host_, "movie-hover");
  int cta = movie::ButtonById(movie, "cta-tune");
  ASSERT_GE(cta, 0);
  const movie::RectF& ctaBox = movie.buttons[static_cast<std::size_t>(cta)].box;
  MoveMouse(static_cast<int>(ctaBox.x + 20), static_cast<int>(ctaBox.y + 10));
  PumpUntil([&] { return !player_->Animating(); });
  SaveScreenshot(host_, "movie-glow");
  MoveMouse(x, y);
  PumpUntil([&] { return !player_->Animating(); });

  SendMouse(MOUSEEVENTF_LEFTDOWN, x, y);
  Pump(std::chrono::milliseconds(40));
  EXPECT_EQ(::GetCapture(), player_->hwnd());
  MoveMouse(400, 420);  // off every button
  Pump(std::chrono::milliseconds(40));
  SendMouse(MOUSEEVENTF_LEFTUP, 400, 420);
  Pump(std::chrono::milliseconds(60));
  EXPECT_TRUE(commands_.empty());
  EXPECT_EQ(player_->ScreenName(), "home");
  // Leaving the window puts the look back.
  ASSERT_TRUE(PumpUntil([&] { return !player_->Animating(); }));
  Pump(std::chrono::milliseconds(40));
  EXPECT_LT(ColorDistance(before, PixelAt(host_, x, y)), 4);
}

TEST_F(MoviePlayerTest, HomeVariableReturnsFromAnyScreenAndTheIdleMovieRunsNoTimer) {
  LoadAndSettle();
  movie::Movie movie = ReadRealMovie();
  ClickCommand(movie, "IDC_FS_about");
  ASSERT_EQ(player_->ScreenName(), "about");
  player_->SetVariable("_root.other", "true");
  Pump(std::chrono::milliseconds(30));
  EXPECT_EQ(player_->ScreenName(), "about");
  player_->SetVariable("_root.home", "true");
  EXPECT_EQ(player_->ScreenName(), "home");
  EXPECT_TRUE(player_->Animating());
  ASSERT_TRUE(PumpUntil([&] { return !player_->Animating(); }));
  Pump(std::chrono::milliseconds(40));
  // Idle: the frame timer is gone (killing it again finds nothing).
  EXPECT_FALSE(::KillTimer(player_->hwnd(), 1));
}

TEST_F(MoviePlayerTest, KeyboardMovesTheFocusAndEnterPresses) {
  LoadAndSettle();
  ::SetFocus(player_->hwnd());
  PressKey(VK_TAB);
  PressKey(VK_TAB);
  PumpUntil([&] { return !player_->Animating(); });
  SaveScreenshot(host_, "movie-focus");
  PressKey(VK_RETURN);
  PumpUntil([&] { return !player_->Animating(); });
  // The second focusable button of the home screen: the second nav item.
  EXPECT_EQ(commands_, std::vector<std::string>{"IDC_FS_wizardMode"});
  EXPECT_EQ(player_->ScreenName(), "wizard");
}

TEST_F(MoviePlayerTest, KeepsWorkingBehindTheShellsHook) {
  LoadAndSettle();
  gPrevious = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
      player_->hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookProc)));
  ASSERT_NE(gPrevious, nullptr);
  movie::Movie movie = ReadRealMovie();
  auto point = movie::ButtonClickPoint(movie, "home", "IDC_FS_about");
  ASSERT_TRUE(point);
  Click(static_cast<int>(point->x), static_cast<int>(point->y), true);
  Pump(std::chrono::milliseconds(60));
  EXPECT_TRUE(commands_.empty());
  EXPECT_EQ(ClickCommand(movie, "IDC_FS_about"), std::vector<std::string>{"IDC_FS_about"});
}

TEST_F(MoviePlayerTest, AResizedPlayerShowsTheWholeMovieAndHitsItsButtons) {
  LoadAndSettle();
  player_->Place(0, 0, 338, 218);  // half the movie's size
  Pump(std::chrono::milliseconds(60));
  movie::Movie movie = ReadRealMovie();
  auto point = movie::ButtonClickPoint(movie, "home", "IDC_FS_about");
  ASSERT_TRUE(point);
  Click(static_cast<int>(point->x / 2), static_cast<int>(point->y / 2));
  EXPECT_EQ(commands_, std::vector<std::string>{"IDC_FS_about"});
  player_->Place(0, 0, 675, 435);
}

TEST_F(MoviePlayerTest, AMissingOrCorruptMovieLeavesAnEmptySurface) {
  EXPECT_FALSE(player_->LoadMovie(0, ProgramFolder() + "\\no such movie.swf"));
  Pump(std::chrono::milliseconds(60));
  EXPECT_EQ(player_->ScreenName(), "");
  const std::uint32_t empty = movie::PackRgb(movie::kEmptySurface);
  EXPECT_LT(ColorDistance(PixelAt(host_, 300, 200), empty), 3);
  Click(300, 200);
  EXPECT_TRUE(commands_.empty());

  std::string corrupt = ProgramFolder() + "\\corrupt-movie.swf";
  {
    std::ofstream out(corrupt, std::ios::binary);
    out << "corvane-movie 1\nscreens home\nrect 0 0 10 10 fill=#zz\n";
  }
  EXPECT_FALSE(player_->LoadMovie(0, corrupt));
  ::DeleteFileA(corrupt.c_str());
  Pump(std::chrono::milliseconds(60));
  EXPECT_LT(ColorDistance(PixelAt(host_, 300, 200), empty), 3);
  // A good movie after a bad one plays.
  LoadAndSettle();
  EXPECT_EQ(player_->ScreenName(), "home");
}

}  // namespace
}  // namespace corvane::win32
