// The balloon message windows on the screen: where each pointer style puts
// the window, its shape (what lies outside the balloon shows the screen
// behind it), the shadow darkened from that screen, the buttons and their
// codes, the input box, the self-closing notification, dragging, and
// drawing that survives being covered. Screenshots are kept for review.
#include <gtest/gtest.h>

#include <cmath>

#include "shell/messages/BalloonGeometry.h"
#include "shell/messages/MessageLayout.h"
#include "tests/gui/components/Backdrop.h"
#include "tests/gui/components/ComponentTestSupport.h"

namespace corvane::gui {
namespace {

using shell::PointI;

constexpr char kBalloonClass[] = "CorvaneMsgFrm";
constexpr COLORREF kPaleYellow = RGB(255, 255, 204);

struct Opened {
  std::unique_ptr<Program> program;
  HWND window = nullptr;
  RECT rect{};
  int width() const { return rect.right - rect.left; }
  int height() const { return rect.bottom - rect.top; }
};

Opened Open(const std::string& arguments) {
  Opened o;
  o.program = StartHost(arguments);
  if (!o.program) return o;
  if (auto w = o.program->WaitForWindow(kBalloonClass)) {
    o.window = *w;
    Settle(std::chrono::milliseconds(500));
    ::GetWindowRect(o.window, &o.rect);
  }
  return o;
}

COLORREF Behind(const Opened& o, int x, int y) {
  return BackdropColor(o.rect.left + x, o.rect.top + y);
}

PointI Centroid(const shell::Triangle& t) {
  return {(t[0].x + t[1].x + t[2].x) / 3, (t[0].y + t[1].y + t[2].y) / 3};
}

// What every balloon shows: the screen outside its shape, the body, the
// shadow bands darkened from the screen behind.
void ExpectBalloonShape(const Opened& o, COLORREF balloon) {
  const int W = o.width(), H = o.height();
  EXPECT_EQ(W, 359) << "5385 twips wide";
  EXPECT_EQ(WindowPixel(o.window, 2, H - 25), Behind(o, 2, H - 25)) << "outside the balloon";
  if (o.rect.right <= ::GetSystemMetrics(SM_CXSCREEN)) {
    EXPECT_EQ(WindowPixel(o.window, W - 2, 40), Behind(o, W - 2, 40)) << "right of the shadow";
  }
  EXPECT_EQ(WindowPixel(o.window, 200, 24), balloon) << "the body";
  // The region's last rows and columns belong to the platform (Wine leaves
  // out one more than Windows): the bands are checked a few pixels inside.
  EXPECT_EQ(WindowPixel(o.window, 100, H - 23 - 3),
            Darkened(Behind(o, 100, H - 23 - 3), shell::ShadowBandWeight(3)))
      << "a band of the bottom edge";
  EXPECT_EQ(WindowPixel(o.window, W - 5 - 4, 100),
            Darkened(Behind(o, W - 5 - 4, 100), shell::ShadowBandWeight(4)))
      << "a band of the right edge";
  EXPECT_EQ(WindowPixel(o.window, 100, H - 35), balloon) << "the body covers the inner bands";
}

struct StyleCase {
  int x, y, style;
  const char* name;
};

class MessageBoxStyles : public ::testing::TestWithParam<StyleCase> {};

TEST_P(MessageBoxStyles, OpensTowardsTheMiddleWithPointerBodyAndShadow) {
  const StyleCase c = GetParam();
  auto o = Open("msgbox 67 " + std::to_string(c.x) + " " + std::to_string(c.y) + " 0 - - - - " +
                ResultPath("msgbox"));
  ASSERT_TRUE(o.window) << "no balloon window";
  SaveScreenshot(c.name);
  const int W = o.width(), H = o.height();
  shell::Placement expected = shell::GetPointerStyle(
      static_cast<float>(c.x), static_cast<float>(c.y), {}, ::GetSystemMetrics(SM_CXSCREEN),
      ::GetSystemMetrics(SM_CYSCREEN), W, H);
  ASSERT_EQ(expected.style, c.style);
  EXPECT_EQ(o.rect.left, expected.left);
  EXPECT_EQ(o.rect.top, expected.top);
  ExpectBalloonShape(o, kPaleYellow);

  auto pointer = shell::PointerTriangles(c.style, W, H);
  ASSERT_TRUE(pointer);
  PointI inside = Centroid(pointer->inner);
  EXPECT_EQ(WindowPixel(o.window, inside.x, inside.y), kPaleYellow) << "inside the pointer";
  PointI tip = pointer->outer[2];
  // The tip lies within a few pixels of the point asked for.
  EXPECT_LE(std::abs(o.rect.left + tip.x - c.x), 8);
  EXPECT_LE(std::abs(o.rect.top + tip.y - c.y), 10);

  auto yes = ChildWithCaption(o.window, "Yes");
  ASSERT_TRUE(yes) << DumpTree(o.window);
  EXPECT_TRUE(ChildWithCaption(o.window, "No"));
  EXPECT_TRUE(ChildWithCaption(o.window, "Cancel"));
  RECT button{};
  ::GetWindowRect(*yes, &button);
  ClickAt((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  EXPECT_EQ(o.program->WaitForExit(std::chrono::seconds(10)), 6u);
}

INSTANTIATE_TEST_SUITE_P(EachQuarter, MessageBoxStyles,
                         ::testing::Values(StyleCase{700, 600, 1, "msgbox-style1-below-right"},
                                           StyleCase{700, 200, 2, "msgbox-style2-above-right"},
                                           StyleCase{300, 600, 3, "msgbox-style3-below-left"},
                                           StyleCase{300, 200, 4, "msgbox-style4-above-left"}),
                         [](const auto& param) { return "Style" + std::to_string(param.param.style); });

TEST(BalloonMessageBox, WithoutAPointerTheScreenShowsWhereThePointerWouldBe) {
  auto o = Open("msgbox 0 300 200 1 - - - - " + ResultPath("msgbox"));
  ASSERT_TRUE(o.window);
  SaveScreenshot("msgbox-nopointer");
  ExpectBalloonShape(o, kPaleYellow);
  PointI inside = Centroid(shell::PointerTriangles(4, o.width(), o.height())->inner);
  EXPECT_EQ(WindowPixel(o.window, inside.x, inside.y), Behind(o, inside.x, inside.y));
  auto ok = ChildWithCaption(o.window, "OK");
  ASSERT_TRUE(ok) << DumpTree(o.window);
  EXPECT_FALSE(ChildWithCaption(o.window, "Cancel").has_value() &&
               ::IsWindowVisible(*ChildWithCaption(o.window, "Cancel")));
  RECT button{};
  ::GetWindowRect(*ok, &button);
  ClickAt((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  EXPECT_EQ(o.program->WaitForExit(std::chrono::seconds(10)), 1u);
}

TEST(BalloonMessageBox, TheCheckBoxAddsAHundredAndEnterPressesTheDefaultButton) {
  auto path = ResultPath("msgbox-check");
  auto o = Open("msgbox " + std::to_string(3 + 32 + 256) + " 300 200 0 Remember - - - " + path);
  ASSERT_TRUE(o.window);
  auto check = ChildWithCaption(o.window, "Remember");
  ASSERT_TRUE(check) << DumpTree(o.window);
  RECT box{};
  ::GetWindowRect(*check, &box);
  ClickAt(box.left + 6, (box.top + box.bottom) / 2);
  Settle();
  SaveScreenshot("msgbox-checkbox");
  PressKey(VK_RETURN);  // the default button is the second, "No"
  EXPECT_EQ(o.program->WaitForExit(std::chrono::seconds(10)), 107u);
  EXPECT_EQ(ReadResult(path), "107");
}

TEST(BalloonMessageBox, CustomCaptionsOneAndThreeGiveTwoButtonsWithCodesOneAndThree) {
  auto o = Open("msgbox 6 300 200 0 - Keep - Drop " + ResultPath("msgbox"));
  ASSERT_TRUE(o.window);
  SaveScreenshot("msgbox-custom-buttons");
  auto keep = ChildWithCaption(o.window, "Keep");
  auto drop = ChildWithCaption(o.window, "Drop");
  ASSERT_TRUE(keep && drop) << DumpTree(o.window);
  RECT k{}, d{};
  ::GetWindowRect(*keep, &k);
  ::GetWindowRect(*drop, &d);
  // Laid out as three: the outer places, mirrored about the middle.
  int middle = o.rect.left + 8 + (o.width() - 30) / 2;
  EXPECT_LE(std::abs((middle - k.right) - (d.left - middle)), 2);
  ClickAt((d.left + d.right) / 2, (d.top + d.bottom) / 2);
  EXPECT_EQ(o.program->WaitForExit(std::chrono::seconds(10)), 3u);
}

TEST(InputBox, OkWithAnEmptyTextStaysOpenAndReturnsTheTypedTextWithTheCheckMark) {
  auto path = ResultPath("input");
  auto o = Open("input 32 300 200 Remember - " + path);
  ASSERT_TRUE(o.window);
  ExpectBalloonShape(o, kPaleYellow);
  auto ok = ChildWithCaption(o.window, "OK");
  auto check = ChildWithCaption(o.window, "Remember");
  ASSERT_TRUE(ok && check) << DumpTree(o.window);
  RECT okRect{};
  ::GetWindowRect(*ok, &okRect);
  ClickAt((okRect.left + okRect.right) / 2, (okRect.top + okRect.bottom) / 2);
  Settle(std::chrono::milliseconds(700));
  EXPECT_TRUE(o.program->IsRunning()) << "OK with an empty text must keep the box open";
  EXPECT_TRUE(::IsWindowVisible(o.window));

  auto text = ChildWithCaption(o.window, "");
  for (const auto& w : Descendants(o.window)) {
    if (w.className == "Edit") text = w.hwnd;
  }
  ASSERT_TRUE(text);
  RECT field{};
  ::GetWindowRect(*text, &field);
  ClickAt(field.left + 10, (field.top + field.bottom) / 2);
  PressKey('H');
  PressKey('O');
  PressKey('S');
  PressKey('T');
  RECT box{};
  ::GetWindowRect(*check, &box);
  ClickAt(box.left + 6, (box.top + box.bottom) / 2);
  Settle();
  SaveScreenshot("input-box");
  ClickAt((okRect.left + okRect.right) / 2, (okRect.top + okRect.bottom) / 2);
  EXPECT_EQ(o.program->WaitForExit(std::chrono::seconds(10)), 0u);
  EXPECT_EQ(ReadResult(path), "host\xAC");
}

TEST(InputBox, CancelReturnsAnEmptyTextEvenAfterTyping) {
  auto path = ResultPath("input-cancel");
  auto o = Open("input 0 700 600 - typed " + path);
  ASSERT_TRUE(o.window);
  auto cancel = ChildWithCaption(o.window, "Cancel");
  ASSERT_TRUE(cancel);
  ClickCentre(*cancel);
  EXPECT_EQ(o.program->WaitForExit(std::chrono::seconds(10)), 0u);
  EXPECT_EQ(ReadResult(path), "");
}

TEST(Notification, TheTrayStepsNoteSitsAtTheLowerRightOnTopAndClosesItselfAfterFiveSeconds) {
  auto started = std::chrono::steady_clock::now();
  auto o = Open("notify9x");
  ASSERT_TRUE(o.window);
  SaveScreenshot("notification-9x");
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  // X = width - 40, Y = height: lower right quarter, no pointer.
  EXPECT_EQ(o.rect.right, screenWidth - 40 + 42);
  EXPECT_EQ(o.rect.bottom, screenHeight);
  EXPECT_NE(::GetWindowLongA(o.window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  ExpectBalloonShape(o, RGB(242, 248, 200));
  // No pointer: below the shadow, where the pointer's tip would be, the
  // screen shows.
  PointI tip = shell::PointerTriangles(1, o.width(), o.height())->outer[2];
  EXPECT_EQ(WindowPixel(o.window, tip.x - 2, tip.y - 4), Behind(o, tip.x - 2, tip.y - 4))
      << "no pointer";
  char caption[64] = {};
  ::GetWindowTextA(o.window, caption, sizeof caption);
  EXPECT_STREQ(caption, "Program notification");

  auto exitCode = o.program->WaitForExit(std::chrono::seconds(15));
  ASSERT_TRUE(exitCode) << "the notification did not close itself";
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_GE(seconds, 5.0);
  EXPECT_LT(seconds, 12.0);
  EXPECT_FALSE(::IsWindow(o.window));
}

TEST(Notification, TheCloseMarkLightsUpUnderTheMouseAndClosesOnAClick) {
  auto o = Open("notify 0 700 600");
  ASSERT_TRUE(o.window);
  SaveScreenshot("notification-pointer");
  shell::PanelLayout layout = shell::LayoutNotification(
      "", 64, shell::Metrics{}, [](const std::string&, int) { return 0; });
  POINT mark{o.rect.left + layout.closeMark.left + 8, o.rect.top + layout.closeMark.top + 4};
  COLORREF normal = ScreenPixel(mark.x, mark.y);
  MoveMouse(mark.x, mark.y);
  Settle();
  COLORREF hover = ScreenPixel(mark.x, mark.y);
  EXPECT_NE(normal, hover) << "the close mark did not light up";
  SaveScreenshot("notification-closemark-hover");
  Settle(std::chrono::seconds(1));
  EXPECT_TRUE(o.program->IsRunning()) << "nTime 0 stays until the close mark is clicked";
  ClickAt(mark.x, mark.y);
  EXPECT_EQ(o.program->WaitForExit(std::chrono::seconds(10)), 0u);
}

TEST(BalloonMessageBox, DraggingMovesItAndPaintsTheShadowAtTheNewPlaceWithoutThePointer) {
  auto o = Open("msgbox 0 300 200 0 - - - - " + ResultPath("msgbox"));
  ASSERT_TRUE(o.window);
  RECT before = o.rect;
  DragMouse({before.left + 200, before.top + 24}, {before.left + 350, before.top + 124});
  Settle();
  ::GetWindowRect(o.window, &o.rect);
  SaveScreenshot("msgbox-dragged");
  EXPECT_NEAR(o.rect.left - before.left, 150, 2);
  EXPECT_NEAR(o.rect.top - before.top, 100, 2);
  ExpectBalloonShape(o, kPaleYellow);
  PointI inside = Centroid(shell::PointerTriangles(4, o.width(), o.height())->inner);
  EXPECT_EQ(WindowPixel(o.window, inside.x, inside.y), Behind(o, inside.x, inside.y))
      << "the pointer is gone after a move";
  auto ok = ChildWithCaption(o.window, "OK");
  ASSERT_TRUE(ok);
  ClickCentre(*ok);
  EXPECT_EQ(o.program->WaitForExit(std::chrono::seconds(10)), 1u);
}

LRESULT CALLBACK CoverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

TEST(BalloonMessageBox, ItsDrawingSurvivesBeingCoveredAndUncovered) {
  auto o = Open("msgbox 67 700 600 0 Remember - - - " + ResultPath("msgbox"));
  ASSERT_TRUE(o.window);
  std::vector<COLORREF> before;
  for (int y = 0; y < o.height(); y += 7) {
    for (int x = 0; x < o.width(); x += 11) before.push_back(WindowPixel(o.window, x, y));
  }
  WNDCLASSA wc{};
  wc.lpfnWndProc = &CoverProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = "CorvaneTestCover";
  ::RegisterClassA(&wc);
  HWND cover = ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "CorvaneTestCover", "", WS_POPUP,
                                 o.rect.left - 10, o.rect.top - 10, o.width() + 20, o.height() + 20,
                                 nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(cover);
  ::ShowWindow(cover, SW_SHOWNOACTIVATE);
  ::UpdateWindow(cover);
  Settle(std::chrono::milliseconds(600));
  EXPECT_EQ(WindowPixel(o.window, 200, 24), RGB(0, 0, 0)) << "the cover is in front";
  ::DestroyWindow(cover);
  Settle(std::chrono::milliseconds(800));
  std::vector<COLORREF> after;
  for (int y = 0; y < o.height(); y += 7) {
    for (int x = 0; x < o.width(); x += 11) after.push_back(WindowPixel(o.window, x, y));
  }
  int differing = 0;
  for (std::size_t i = 0; i < before.size(); ++i) differing += before[i] != after[i] ? 1 : 0;
  EXPECT_EQ(differing, 0) << "of " << before.size() << " sampled pixels";
  SaveScreenshot("msgbox-uncovered");
}

}  // namespace
}  // namespace corvane::gui
