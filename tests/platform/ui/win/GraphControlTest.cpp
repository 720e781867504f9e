// The graph control against the real window system: what it answers about
// itself, and the picture it draws (background, grid, line, the latest
// value) read back pixel by pixel from a memory bitmap.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/GraphControl.h"
#include "platform/win32/Handle.h"

namespace corvane::testing {
namespace {

constexpr int kWidth = 190;
constexpr int kHeight = 78;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kLineGreen = RGB(0, 255, 0);
// The scale stands this far inside the top and bottom edges.
constexpr int kInset = 3;
constexpr int kTop = kInset;
constexpr int kBottom = kHeight - 1 - kInset;

class GraphControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(win32::RegisterGraphControl(::GetModuleHandleA(nullptr)));
    ASSERT_TRUE(win32::RegisterGraphControl(::GetModuleHandleA(nullptr))) << "a second registration is harmless";
    graph_.reset(::CreateWindowExA(0, win32::kGraphClassName, "", WS_POPUP, 0, 0, kWidth, kHeight, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr));
    ASSERT_NE(graph_.get(), nullptr);
    screen_ = ::GetDC(nullptr);
    dc_.reset(::CreateCompatibleDC(screen_));
    bitmap_.reset(::CreateCompatibleBitmap(screen_, kWidth, kHeight));
    select_ = ::SelectObject(dc_.get(), bitmap_.get());
  }
  void TearDown() override {
    if (dc_) ::SelectObject(dc_.get(), select_);
    if (screen_ != nullptr) ::ReleaseDC(nullptr, screen_);
  }

  // Draws the graph and reads a pixel of the picture.
  COLORREF Draw(int x, int y) {
    win32::DrawGraph(graph_.get(), dc_.get(), kWidth, kHeight);
    return ::GetPixel(dc_.get(), x, y);
  }
  bool AnyInRow(int y, COLORREF colour, int from, int to) {
    for (int x = from; x < to; ++x) {
      if (::GetPixel(dc_.get(), x, y) == colour) return true;
    }
    return false;
  }

  win32::UniqueHwnd graph_;
  HDC screen_ = nullptr;
  win32::UniqueHdc dc_;
  win32::UniqueHbitmap bitmap_;
  HGDIOBJ select_ = nullptr;
};

TEST_F(GraphControlTest, AnswersWhatItShows) {
  HWND g = graph_.get();
  EXPECT_EQ(::SendMessageA(g, win32::kGraphGetCount, 0, 0), 0);
  EXPECT_EQ(::SendMessageA(g, win32::kGraphGetLatest, 0, 0), 0);
  EXPECT_EQ(::SendMessageA(g, win32::kGraphGetZoom, 0, 0), 30);
  const std::vector<int> samples{10, 20, -1};
  win32::SetGraphSamples(g, samples, 64, 1234);
  EXPECT_EQ(::SendMessageA(g, win32::kGraphGetCount, 0, 0), 1234);
  EXPECT_EQ(static_cast<int>(::SendMessageA(g, win32::kGraphGetLatest, 0, 0)), -1) << "as given, unchanged";
  EXPECT_EQ(::SendMessageA(g, win32::kGraphGetZoom, 0, 0), 64);
  win32::SetGraphSamples(g, samples, 500, 1);
  EXPECT_EQ(::SendMessageA(g, win32::kGraphGetZoom, 0, 0), 100) << "held within 30..100";
  win32::SetGraphSamples(nullptr, samples, 30, 1);  // no window: nothing
}

TEST_F(GraphControlTest, AnEmptyGraphIsBlackWithItsGridRows) {
  EXPECT_EQ(Draw(kWidth / 2, 2), kBlack);
  // A grid row at every 20 percent: the 60 percent row lies 40 percent down.
  const int scale = kHeight - 2 * kInset;
  int gridRow = kInset + (scale - 1) - (60 * (scale - 1) + 50) / 100;
  EXPECT_NE(::GetPixel(dc_.get(), 3, gridRow), kBlack);
  EXPECT_NE(::GetPixel(dc_.get(), 3, gridRow), kLineGreen) << "the grid is dimmer than the line";
  EXPECT_FALSE(AnyInRow(kBottom, kLineGreen, 0, kWidth)) << "no samples: no line";
}

TEST_F(GraphControlTest, TheLineRunsFromTheOldestToTheNewestAtTheRightEdge) {
  // Thirty samples at 0 then the newest at 100: the line lies along the
  // bottom and climbs to the top right corner.
  std::vector<int> samples(29, 0);
  samples.push_back(100);
  win32::SetGraphSamples(graph_.get(), samples, 30, samples.size());
  (void)Draw(0, 0);
  EXPECT_EQ(::GetPixel(dc_.get(), 0, kBottom), kLineGreen) << "the oldest at the left edge, at 0";
  EXPECT_EQ(::GetPixel(dc_.get(), kWidth / 2, kBottom), kLineGreen);
  EXPECT_FALSE(AnyInRow(kHeight - 1, kLineGreen, 0, kWidth)) << "0 stands inside the bottom edge";
  EXPECT_TRUE(AnyInRow(kTop, kLineGreen, kWidth - 10, kWidth)) << "the newest at 100, at the right edge";
  EXPECT_FALSE(AnyInRow(0, kLineGreen, 0, kWidth)) << "100 stands inside the top edge";
  EXPECT_FALSE(AnyInRow(kHeight / 2, kLineGreen, 0, kWidth / 2)) << "nothing in the middle on the left";
}

TEST_F(GraphControlTest, TheLatestValueIsWrittenInTheTopRightCorner) {
  const std::vector<int> low{5, 5};
  win32::SetGraphSamples(graph_.get(), low, 30, 2);
  (void)Draw(0, 0);
  // Text pixels: neither the background, nor grid or line colours.
  int written = 0;
  for (int y = 1; y < 16; ++y) {
    for (int x = kWidth - 40; x < kWidth; ++x) {
      COLORREF c = ::GetPixel(dc_.get(), x, y);
      if (c != kBlack && c != kLineGreen && GetGValue(c) > 150 && GetRValue(c) > 100) ++written;
    }
  }
  EXPECT_GT(written, 5) << "\"5%\" in the corner";
}

TEST_F(GraphControlTest, ARepaintDrawsThroughTheBackBufferWithoutErasing) {
  EXPECT_EQ(::SendMessageA(graph_.get(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc_.get()), 0), 1);
  const std::vector<int> samples{50, 60, 70};
  win32::SetGraphSamples(graph_.get(), samples, 30, 3);
  ::ShowWindow(graph_.get(), SW_SHOWNA);
  EXPECT_TRUE(::RedrawWindow(graph_.get(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW));
  RECT dirty{};
  EXPECT_FALSE(::GetUpdateRect(graph_.get(), &dirty, FALSE)) << "the paint validated the window";
}

TEST_F(GraphControlTest, AShownGraphDrawsNewSamplesAtOnceWithNothingLeftToPaint) {
  ::ShowWindow(graph_.get(), SW_SHOWNA);
  ::UpdateWindow(graph_.get());
  auto greenAt = [&](int x, int y) {
    HDC window = ::GetDC(graph_.get());
    COLORREF c = ::GetPixel(window, x, y);
    ::ReleaseDC(graph_.get(), window);
    return c == kLineGreen;
  };
  EXPECT_FALSE(greenAt(kWidth / 2, kBottom)) << "no samples yet";
  const std::vector<int> flat(30, 0);
  win32::SetGraphSamples(graph_.get(), flat, 30, flat.size());
  RECT dirty{};
  EXPECT_FALSE(::GetUpdateRect(graph_.get(), &dirty, FALSE)) << "drawn where it stands, not marked for a paint";
  EXPECT_TRUE(greenAt(kWidth / 2, kBottom)) << "the new line shows at once";
}

}  // namespace
}  // namespace corvane::testing
