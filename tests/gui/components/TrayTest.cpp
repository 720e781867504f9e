// The tray icon as a user meets it: it appears in the notification area, a
// click on it brings the main window back, a right click opens the tray
// menu, and "&Exit" ends the program with the icon gone.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/gui/components/ComponentTestSupport.h"

namespace corvane::gui {
namespace {

constexpr char kHostClass[] = "CorvaneTrayHost";
constexpr char kMenuClass[] = "#32768";

std::optional<HWND> HostWindow(Program& program) {
  for (const auto& w : program.Windows()) {
    if (w.className == kHostClass) return w.hwnd;
  }
  return std::nullopt;
}

std::string DescribeTray() {
  auto area = NotificationArea();
  if (!area) return "no notification area shown";
  return DumpTree(*area);
}

// Each test starts the host with its icon in the notification area.
class TrayIcon : public ::testing::Test {
 protected:
  void StartWithIcon(const std::string& arguments) {
    program = StartHost(arguments);
    ASSERT_TRUE(program);
    auto shown = WaitForTrayIcon();
    ASSERT_TRUE(shown) << "no icon in the notification area: " << DescribeTray();
    icon = *shown;
  }
  // Closing the main window ends the program, which takes its icon along.
  void CloseHost(HWND host) {
    ::PostMessageA(host, WM_CLOSE, 0, 0);
    EXPECT_EQ(program->WaitForExit(std::chrono::seconds(10)), 0u);
  }

  std::unique_ptr<Program> program;
  POINT icon{};
};

TEST_F(TrayIcon, AppearsAndAClickBringsTheMainWindowBack) {
  ASSERT_NO_FATAL_FAILURE(StartWithIcon("tray"));
  auto host = HostWindow(*program);
  ASSERT_TRUE(host);
  EXPECT_FALSE(::IsWindowVisible(*host)) << "the main window starts hidden in the tray";
  SaveScreenshot("tray-host-icon");

  ClickAt(icon.x, icon.y);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(*host) != FALSE; },
                        std::chrono::seconds(5)))
      << "a left click on the icon did not show the main window";
  CloseHost(*host);
}

TEST_F(TrayIcon, RightClickOpensTheMenuAndExitEndsTheProgramWithTheIconGone) {
  ASSERT_NO_FATAL_FAILURE(StartWithIcon("tray"));

  ClickAt(icon.x, icon.y, /*rightButton=*/true);
  auto menu = program->WaitForWindow(kMenuClass, std::chrono::seconds(5));
  ASSERT_TRUE(menu) << "no popup menu after a right click";
  WindowInfo info = Describe(*menu);
  // Three items and a separator, opened at the click.
  EXPECT_GE(info.rect.bottom - info.rect.top, 50);
  EXPECT_LE(std::abs(info.rect.left - icon.x), 4) << "the menu opens at the mouse position";
  EXPECT_LE(std::abs(info.rect.top - icon.y), 4) << "the menu opens at the mouse position";
  Settle();
  SaveScreenshot("tray-host-menu");

  PressKey('E');  // "&Exit"
  auto exitCode = program->WaitForExit(std::chrono::seconds(10));
  ASSERT_TRUE(exitCode) << "\"&Exit\" did not end the program";
  EXPECT_EQ(*exitCode, 0u) << "the icon was still shown at the end";
  EXPECT_TRUE(WaitForNoTrayIcon(std::chrono::seconds(5))) << "the icon stayed in the notification area";
}

TEST_F(TrayIcon, MainWindowItemOfTheMenuShowsTheMainWindow) {
  ASSERT_NO_FATAL_FAILURE(StartWithIcon("tray"));
  ClickAt(icon.x, icon.y, true);
  auto menu = program->WaitForWindow(kMenuClass, std::chrono::seconds(5));
  ASSERT_TRUE(menu);
  PressKey(VK_DOWN);  // the first item, "Main Window"
  PressKey(VK_RETURN);
  auto host = HostWindow(*program);
  ASSERT_TRUE(host);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(*host) != FALSE; },
                        std::chrono::seconds(5)));
  EXPECT_TRUE(program->IsRunning());
  CloseHost(*host);
}

TEST_F(TrayIcon, BalloonTipOpensOverTheIcon) {
  ASSERT_NO_FATAL_FAILURE(StartWithIcon("tray balloon"));
  std::optional<HWND> balloon = WaitForBalloonTip(std::chrono::seconds(5));
  EXPECT_TRUE(balloon) << "no balloon tip";
  if (balloon) {
    RECT r{};
    ::GetWindowRect(*balloon, &r);
    EXPECT_LE(std::abs(r.top - icon.y), 60) << "the balloon opens at the icon";
    Settle();
    SaveScreenshot("tray-host-balloon");
  }
  auto host = HostWindow(*program);
  ASSERT_TRUE(host);
  CloseHost(*host);
}

}  // namespace
}  // namespace corvane::gui
