// The main window as a user meets it: it opens at the top left of the screen
// with its design size, and it closes cleanly.
#include <gtest/gtest.h>

#include "tests/gui/GuiHarness.h"

namespace corvane::gui {
namespace {

constexpr char kMainClass[] = "CorvaneMainWindow";

TEST(MainWindow, OpensWithItsDesignSizeAndClosesCleanly) {
  auto program = Program::Start();
  ASSERT_TRUE(program) << "corvane.exe did not start";
  auto main = program->WaitForWindow(kMainClass);
  ASSERT_TRUE(main) << "no main window";
  WindowInfo info = Describe(*main);
  // 10710 x 7485 twips at 15 twips per pixel.
  EXPECT_EQ(info.rect.left, 0);
  EXPECT_EQ(info.rect.top, 0);
  EXPECT_EQ(info.rect.right - info.rect.left, 714) << DumpTree(*main);
  EXPECT_EQ(info.rect.bottom - info.rect.top, 499);
  Settle();
  SaveScreenshot("main-window");

  ::PostMessageA(*main, WM_CLOSE, 0, 0);
  auto exitCode = program->WaitForExit(std::chrono::seconds(10));
  ASSERT_TRUE(exitCode) << "still running after WM_CLOSE";
  EXPECT_EQ(*exitCode, 0u);
}

}  // namespace
}  // namespace corvane::gui
