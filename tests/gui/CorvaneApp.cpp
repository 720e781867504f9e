#include "tests/gui/CorvaneApp.h"

#include "tests/gui/MovieButtons.h"

namespace corvane::gui {

std::unique_ptr<CorvaneApp> CorvaneApp::Start(const Options& options, std::string* why) {
  auto fail = [&](const std::string& message) -> std::unique_ptr<CorvaneApp> {
    if (why != nullptr) *why = message;
    return nullptr;
  };
  std::unique_ptr<CorvaneApp> app(new CorvaneApp());
  StartOptions start;
  start.environment = options.environment;
  if (options.testCommands) start.environment.emplace_back("CORVANE_TEST_COMMANDS", "1");
  if (options.logShellExecute) {
    app->shellLog_ = ScratchFile("corvane-shell-execute.log");
    start.environment.emplace_back("CORVANE_SHELL_EXECUTE_LOG", app->shellLog_);
  }
  app->program_ = Program::Start(start);
  if (!app->program_) return fail("corvane.exe did not start");
  auto main = app->program_->WaitForWindow(kMainWindowClass, options.windowTimeout);
  if (!main) {
    auto code = app->program_->WaitForExit(std::chrono::milliseconds(0));
    return fail(code ? "no visible main window; the program ended with code " + std::to_string(*code)
                     : "no visible main window; the program still runs");
  }
  app->main_ = *main;
  auto movie = FindChild(app->main_, kMovieClass);
  auto frame = FindChild(app->main_, kFrameClass);
  if (!movie || !frame) return fail("the main window lacks the movie or the frame:\n" + DumpTree(app->main_));
  app->movie_ = *movie;
  app->frame_ = *frame;
  MoveNotificationAreaAside();
  // The splash fades out over the painted main window; let it go.
  WaitUntil([&] {
    for (const auto& w : app->program_->Windows()) {
      if (w.className == kSplashClass && w.visible) return false;
    }
    return true;
  }, std::chrono::seconds(5));
  Settle(std::chrono::milliseconds(400));
  return app;
}

void MoveNotificationAreaAside() {
  HWND area = nullptr;
  WaitUntil([&] { return (area = ::FindWindowA(nullptr, "Wine System Tray")) != nullptr && ::IsWindowVisible(area); },
            std::chrono::seconds(3));
  if (area == nullptr) return;
  RECT r{};
  ::GetWindowRect(area, &r);
  int x = ::GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left);
  if (r.left != x || r.top != 0) {
    ::SetWindowPos(area, nullptr, x, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    WaitUntil([&] {
      ::GetWindowRect(area, &r);
      return r.left == x;
    }, std::chrono::seconds(2));
  }
}

CorvaneApp::~CorvaneApp() {
  if (program_ && program_->IsRunning() && main_ != nullptr && ::IsWindow(main_)) {
    ::PostMessageA(main_, WM_CLOSE, 0, 0);
    (void)program_->WaitForExit(std::chrono::seconds(8));
  }
}

std::optional<RECT> CorvaneApp::ButtonRect(const std::string& command, const std::string& screen) const {
  auto r = FindMovieButton(ProgramFolder() + "\\speed up.swf", command, screen);
  if (!r) return std::nullopt;
  POINT topLeft{r->left, r->top};
  POINT bottomRight{r->right, r->bottom};
  ::ClientToScreen(movie_, &topLeft);
  ::ClientToScreen(movie_, &bottomRight);
  return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

std::optional<POINT> CorvaneApp::ButtonPoint(const std::string& command, const std::string& screen) const {
  auto p = MovieButtonClickPoint(ProgramFolder() + "\\speed up.swf", command, screen);
  if (!p) return std::nullopt;
  ::ClientToScreen(movie_, &*p);
  return p;
}

bool CorvaneApp::ClickButton(const std::string& command, const std::string& screen) {
  auto p = ButtonPoint(command, screen);
  if (!p) return false;
  ClickAt(p->x, p->y);
  Settle();
  return true;
}

std::optional<HWND> CorvaneApp::WaitForFeature(const char* windowClass, std::chrono::milliseconds timeout) const {
  std::optional<HWND> window;
  bool shown = WaitUntil([&] {
    window = FindChild(frame_, windowClass);
    return window && ::IsWindowVisible(*window) && FrameInFront();
  }, timeout);
  if (!shown) return std::nullopt;
  return window;
}

SIZE CorvaneApp::FrameSize() const {
  RECT r{};
  ::GetWindowRect(frame_, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

RECT CorvaneApp::MainRect() const {
  RECT r{};
  ::GetWindowRect(main_, &r);
  return r;
}

void CorvaneApp::BackHome() {
  if (::IsIconic(main_)) ::ShowWindow(main_, SW_RESTORE);
  if (!::IsWindowVisible(main_)) ChooseTrayMenu("mnuMainWindow");
  RECT r = MainRect();
  if (r.left != 0 || r.top != 0) ::SetWindowPos(main_, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The movie's own home button: the movie goes to its home screen and in
  // front of the frame.
  if (!ClickButton("IDC_FS_home")) SendCommand("IDC_FS_home");
  WaitUntil([&] { return MovieInFront(); }, std::chrono::seconds(5));
  MoveMouse(680, 600);  // away from every button, so none glows
  Settle(std::chrono::milliseconds(400));
}

CorvaneApp* RunningCorvaneTest::app_ = nullptr;
std::string RunningCorvaneTest::startError_;

void RunningCorvaneTest::SetUpTestSuite() {
  // No record of an earlier test's apply: the drift watch would ask about it.
  ::DeleteFileA((ProgramFolder() + "\\Backups\\Applied.rec").c_str());
  std::string why;
  app_ = CorvaneApp::Start(CorvaneApp::Options{}, &why).release();
  startError_ = app_ == nullptr ? why : std::string();
}

void RunningCorvaneTest::TearDownTestSuite() {
  delete app_;
  app_ = nullptr;
}

void RunningCorvaneTest::SetUp() {
  ASSERT_NE(app_, nullptr) << startError_;
  ASSERT_TRUE(app_->program().IsRunning()) << "corvane.exe ended during an earlier test";
  app_->BackHome();
}

}  // namespace corvane::gui
