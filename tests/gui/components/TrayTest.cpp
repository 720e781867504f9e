// The tray icon as a user meets it: it appears in the notification area, a
// click on it brings the main window back, a right click opens the tray
// menu, and "&Exit" ends the program with the icon gone.
#include <gtest/gtest.h>

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

TEST(TrayIcon, AppearsAndAClickBringsTheMainWindowBack) {
  auto program = StartHost("tray");
  ASSERT_TRUE(program);
  std::optional<POINT> icon;
  ASSERT_TRUE(WaitUntil([&] {
    auto area = NotificationArea();
    if (area) icon = FirstTrayIcon(*area);
    return icon.has_value();
  })) << "no icon in the notification area: " << DescribeTray();
  auto host = HostWindow(*program);
  ASSERT_TRUE(host);
  EXPECT_FALSE(::IsWindowVisible(*host)) << "the main window starts hidden in the tray";
  SaveScreenshot("tray-host-icon");

  ClickAt(icon->x, icon->y);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(*host) != FALSE; },
                        std::chrono::seconds(5)))
      << "a left click on the icon did not show the main window";
  // Closing the main window ends the program, which takes its icon along.
  ::PostMessageA(*host, WM_CLOSE, 0, 0);
  EXPECT_EQ(program->WaitForExit(std::chrono::seconds(10)), 0u);
}

TEST(TrayIcon, RightClickOpensTheMenuAndExitEndsTheProgramWithTheIconGone) {
  auto program = StartHost("tray");
  ASSERT_TRUE(program);
  std::optional<POINT> icon;
  ASSERT_TRUE(WaitUntil([&] {
    auto area = NotificationArea();
    if (area) icon = FirstTrayIcon(*area);
    return icon.has_value();
  })) << DescribeTray();

  ClickAt(icon->x, icon->y, /*rightButton=*/true);
  auto menu = program->WaitForWindow(kMenuClass, std::chrono::seconds(5));
  ASSERT_TRUE(menu) << "no popup menu after a right click";
  WindowInfo info = Describe(*menu);
  // Three items and a separator, opened at the click.
  EXPECT_GE(info.rect.bottom - info.rect.top, 50);
  EXPECT_LE(std::abs(info.rect.left - icon->x), 4) << "the menu opens at the mouse position";
  EXPECT_LE(std::abs(info.rect.top - icon->y), 4) << "the menu opens at the mouse position";
  Settle();
  SaveScreenshot("tray-host-menu");

  PressKey('E');  // "&Exit"
  auto exitCode = program->WaitForExit(std::chrono::seconds(10));
  ASSERT_TRUE(exitCode) << "\"&Exit\" did not end the program";
  EXPECT_EQ(*exitCode, 0u) << "the icon was still shown at the end";
  EXPECT_TRUE(WaitUntil([&] {
    auto area = NotificationArea();
    return !area || !FirstTrayIcon(*area);
  }, std::chrono::seconds(5))) << "the icon stayed in the notification area";
}

TEST(TrayIcon, MainWindowItemOfTheMenuShowsTheMainWindow) {
  auto program = StartHost("tray");
  ASSERT_TRUE(program);
  std::optional<POINT> icon;
  ASSERT_TRUE(WaitUntil([&] {
    auto area = NotificationArea();
    if (area) icon = FirstTrayIcon(*area);
    return icon.has_value();
  })) << DescribeTray();
  ClickAt(icon->x, icon->y, true);
  auto menu = program->WaitForWindow(kMenuClass, std::chrono::seconds(5));
  ASSERT_TRUE(menu);
  PressKey(VK_DOWN);  // the first item, "Main Window"
  PressKey(VK_RETURN);
  auto host = HostWindow(*program);
  ASSERT_TRUE(host);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(*host) != FALSE; },
                        std::chrono::seconds(5)));
  EXPECT_TRUE(program->IsRunning());
  ::PostMessageA(*host, WM_CLOSE, 0, 0);
  EXPECT_EQ(program->WaitForExit(std::chrono::seconds(10)), 0u);
}

BOOL CALLBACK FindBalloon(HWND hwnd, LPARAM param) {
  char name[64] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  if (::IsWindowVisible(hwnd) && std::string(name) == "tooltips_class32") {
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
  }
  return TRUE;
}

TEST(TrayIcon, BalloonTipOpensOverTheIcon) {
  auto program = StartHost("tray balloon");
  ASSERT_TRUE(program);
  std::optional<POINT> icon;
  ASSERT_TRUE(WaitUntil([&] {
    auto area = NotificationArea();
    if (area) icon = FirstTrayIcon(*area);
    return icon.has_value();
  })) << DescribeTray();
  HWND balloon = nullptr;
  EXPECT_TRUE(WaitUntil([&] {
    ::EnumWindows(&FindBalloon, reinterpret_cast<LPARAM>(&balloon));
    return balloon != nullptr;
  }, std::chrono::seconds(5))) << "no balloon tip";
  if (balloon != nullptr) {
    RECT r{};
    ::GetWindowRect(balloon, &r);
    EXPECT_LE(std::abs(r.top - icon->y), 60) << "the balloon opens at the icon";
    Settle();
    SaveScreenshot("tray-host-balloon");
  }
  auto host = HostWindow(*program);
  ASSERT_TRUE(host);
  ::PostMessageA(*host, WM_CLOSE, 0, 0);
  EXPECT_EQ(program->WaitForExit(std::chrono::seconds(10)), 0u);
}

}  // namespace
}  // namespace corvane::gui
