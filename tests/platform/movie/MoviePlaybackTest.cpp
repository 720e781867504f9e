// The movie's behaviour without a window: hit tests, presses and releases,
// hover and press looks over time, screen transitions, the home variable,
// keyboard focus, and what must be repainted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/movie/MovieHitTest.h"
#include "platform/movie/MoviePlayback.h"
#include "platform/movie/MovieReader.h"
#include "platform/movie/MovieRenderer.h"
#include "tests/platform/movie/MovieTestSupport.h"

namespace corvane::movie {
namespace {

constexpr char kMovie[] = R"(corvane-movie 1
size 200 100
font ui "Arial" 10
timing hover=100 press=40 transition=200
screens home other third
button 0 0 200 10 command=Drag trigger=press focus=no
end
button 10 20 50 20 command=A goto=other active=other id=a
  hover
    rect 0 0 50 20 fill=#FFFFFF
  end
end
button 40 20 50 20 command=B args=beta id=b
end
on other
  rect 100 50 20 20 fill=#FF0000
  button 10 60 40 20 command=Back goto=home id=back
  end
end
on home
  rect 150 50 20 20 fill=#00FF00
end
)";

class MoviePlaybackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto result = ReadMovie(kMovie);
    ASSERT_TRUE(result.movie) << result.line << ": " << result.error;
    movie = std::move(*result.movie);
    playback = std::make_unique<MoviePlayback>(movie);
    playback->Start(1000);
    Settle();
  }
  void Settle() {
    now += 1000;
    playback->TakeDirty(now);
  }
  std::optional<Command> Click(float x, float y) {
    playback->PointerMove({x, y}, now);
    auto down = playback->PointerDown({x, y}, now);
    if (down) return down;
    now += 10;
    return playback->PointerUp({x, y}, now);
  }
  int Id(const char* id) const { return ButtonById(movie, id); }

  Movie movie;
  std::unique_ptr<MoviePlayback> playback;
  std::uint32_t now = 1000;
};

TEST_F(MoviePlaybackTest, HitsTheTopmostButtonOfTheScreenShown) {
  EXPECT_EQ(ButtonAt(movie, 0, {15, 25}), Id("a"));
  EXPECT_EQ(ButtonAt(movie, 0, {45, 25}), Id("b"));  // drawn later, so above
  EXPECT_EQ(ButtonAt(movie, 0, {95, 25}), -1);
  EXPECT_EQ(ButtonAt(movie, 0, {20, 70}), -1);  // "Back" is only on other
  EXPECT_EQ(ButtonAt(movie, 1, {20, 70}), Id("back"));
  EXPECT_EQ(ButtonAt(movie, 7, {20, 70}), -1);

  // For tests that click: the rectangle, and a point that reaches the button.
  EXPECT_EQ(FindButton(movie, "home", "A"), (RectF{10, 20, 50, 20}));
  EXPECT_FALSE(FindButton(movie, "home", "Back"));
  EXPECT_FALSE(FindButton(movie, "nowhere", "A"));
  EXPECT_FALSE(FindButton(movie, "home", "a"));  // whole and case-sensitive
  auto point = ButtonClickPoint(movie, "home", "A");
  ASSERT_TRUE(point);
  EXPECT_LT(point->x, 40);  // not under B
  EXPECT_EQ(ButtonAt(movie, 0, *point), Id("a"));
}

TEST_F(MoviePlaybackTest, AReleaseOnTheButtonRaisesItsCommandAndGoesToItsScreen) {
  EXPECT_EQ(Click(45, 25), (Command{"B", "beta"}));
  EXPECT_EQ(playback->screenName(), "home");
  EXPECT_EQ(Click(15, 25), (Command{"A", ""}));
  EXPECT_EQ(playback->screenName(), "other");
  EXPECT_EQ(Click(15, 65), (Command{"Back", ""}));
  EXPECT_EQ(playback->screen(), 0);
  EXPECT_EQ(Click(150, 80), std::nullopt);
}

TEST_F(MoviePlaybackTest, AReleaseElsewhereOrALostCaptureCancelsThePress) {
  playback->PointerMove({15, 25}, now);
  EXPECT_EQ(playback->PointerDown({15, 25}, now), std::nullopt);
  EXPECT_EQ(playback->pressed(), Id("a"));
  playback->PointerMove({150, 80}, now);
  EXPECT_EQ(playback->PointerUp({150, 80}, now), std::nullopt);
  EXPECT_EQ(playback->pressed(), -1);
  EXPECT_EQ(playback->screenName(), "home");

  // Released over another button: nothing either.
  playback->PointerDown({15, 25}, now);
  EXPECT_EQ(playback->PointerUp({45, 25}, now), std::nullopt);

  // Out and back in before the release still counts.
  playback->PointerDown({15, 25}, now);
  playback->PointerMove({150, 80}, now);
  playback->PointerMove({20, 25}, now);
  EXPECT_EQ(playback->PointerUp({20, 25}, now), (Command{"A", ""}));

  playback->GoTo(0, now);
  playback->PointerDown({45, 25}, now);
  playback->CancelPress(now);
  EXPECT_EQ(playback->PointerUp({45, 25}, now), std::nullopt);
}

TEST_F(MoviePlaybackTest, APressTriggeredButtonRaisesOnThePress) {
  EXPECT_EQ(playback->PointerDown({100, 5}, now), (Command{"Drag", ""}));
  EXPECT_EQ(playback->pressed(), -1);
  EXPECT_EQ(playback->PointerUp({100, 5}, now), std::nullopt);
}

TEST_F(MoviePlaybackTest, HoverGlowsInAndOutOverItsTime) {
  auto a = static_cast<std::size_t>(Id("a"));
  playback->PointerMove({15, 25}, now);
  EXPECT_EQ(playback->hovered(), Id("a"));
  EXPECT_TRUE(playback->Animating(now));
  EXPECT_FLOAT_EQ(playback->FrameAt(now).lookWeight[a][1], 0);
  float half = playback->FrameAt(now + 50).lookWeight[a][1];
  EXPECT_GT(half, 0.3f);
  EXPECT_LT(half, 1.0f);
  EXPECT_FLOAT_EQ(playback->FrameAt(now + 100).lookWeight[a][1], 1);
  EXPECT_FALSE(playback->Animating(now + 100));
  now += 100;
  // Pressed shows while the pointer stays on it.
  playback->PointerDown({15, 25}, now);
  EXPECT_FLOAT_EQ(playback->FrameAt(now + 40).lookWeight[a][2], 1);
  playback->PointerMove({150, 80}, now + 40);
  EXPECT_FLOAT_EQ(playback->FrameAt(now + 200).lookWeight[a][2], 0);
  EXPECT_FLOAT_EQ(playback->FrameAt(now + 200).lookWeight[a][1], 0);
  playback->PointerUp({150, 80}, now + 200);
  now += 200;
  playback->PointerMove({15, 25}, now);
  playback->PointerLeave(now + 100);
  EXPECT_EQ(playback->hovered(), -1);
  EXPECT_FLOAT_EQ(playback->FrameAt(now + 300).lookWeight[a][1], 0);
  EXPECT_FALSE(playback->Animating(now + 300));
}

TEST_F(MoviePlaybackTest, ScreenTransitionsCrossFadeAndEnd) {
  // Items: 0 Drag, 1 A, 2 B, 3 red rect (other), 4 Back (other), 5 green rect (home).
  playback->GoTo(1, now);
  FrameState start = playback->FrameAt(now);
  EXPECT_FLOAT_EQ(start.itemOpacity[0], 1);  // on every screen: never fades
  EXPECT_FLOAT_EQ(start.itemOpacity[3], 0);
  EXPECT_FLOAT_EQ(start.itemOpacity[5], 1);
  EXPECT_GT(start.itemOffsetY[3], 0);  // the new content rises into place
  FrameState mid = playback->FrameAt(now + 100);
  EXPECT_GT(mid.itemOpacity[3], 0.2f);
  EXPECT_LT(mid.itemOpacity[5], 0.8f);
  EXPECT_NEAR(mid.itemOpacity[3] + mid.itemOpacity[5], 1, 1e-5);
  EXPECT_TRUE(playback->Animating(now + 199));
  EXPECT_FALSE(playback->Animating(now + 200));
  FrameState end = playback->FrameAt(now + 200);
  EXPECT_FLOAT_EQ(end.itemOpacity[3], 1);
  EXPECT_FLOAT_EQ(end.itemOpacity[5], 0);
  EXPECT_FLOAT_EQ(end.itemOffsetY[3], 0);
  // The active look follows the screen.
  EXPECT_FLOAT_EQ(end.lookWeight[static_cast<std::size_t>(Id("a"))][3], 1);
  // Going to the screen already shown changes nothing.
  now += 300;
  playback->GoTo(1, now);
  EXPECT_FALSE(playback->Animating(now));
  playback->GoTo(99, now);
  playback->GoTo(-1, now);
  EXPECT_EQ(playback->screen(), 1);
}

TEST_F(MoviePlaybackTest, TheHomeVariableReturnsHomeFromEveryScreen) {
  for (int s = 0; s < 3; ++s) {
    playback->GoTo(s, now);
    playback->SetVariable("_root.home", "TRUE", now);
    playback->SetVariable("_root.home", "1", now);
    playback->SetVariable("home", "true", now);
    EXPECT_EQ(playback->screen(), s);
    playback->SetVariable("_root.home", "true", now);
    EXPECT_EQ(playback->screen(), 0);
    now += 1000;
    EXPECT_FALSE(playback->Animating(now));
  }
  EXPECT_EQ(playback->GetVariable("home"), "true");
  EXPECT_EQ(playback->GetVariable("_root.home"), "true");
  EXPECT_EQ(playback->GetVariable("nothing"), std::nullopt);
}

TEST_F(MoviePlaybackTest, TabMovesTheFocusOverTheScreensButtonsAndEnterPresses) {
  // Enter does nothing before the focus has been shown.
  EXPECT_EQ(playback->KeyPress(Key::Enter, now), std::nullopt);
  playback->KeyPress(Key::Tab, now);
  EXPECT_EQ(playback->focused(), Id("a"));  // Drag takes no focus
  EXPECT_GT(playback->FrameAt(now + 200).focus[static_cast<std::size_t>(Id("a"))], 0.99f);
  playback->KeyPress(Key::Tab, now);
  EXPECT_EQ(playback->focused(), Id("b"));
  playback->KeyPress(Key::Tab, now);
  EXPECT_EQ(playback->focused(), Id("a"));  // round again; Back is not on home
  playback->KeyPress(Key::ShiftTab, now);
  EXPECT_EQ(playback->focused(), Id("b"));
  playback->KeyPress(Key::Left, now);
  EXPECT_EQ(playback->focused(), Id("a"));
  EXPECT_EQ(playback->KeyPress(Key::Space, now), (Command{"A", ""}));
  EXPECT_EQ(playback->screenName(), "other");
  // A shows on every screen and keeps the focus; Back joins the round.
  playback->KeyPress(Key::Down, now);
  EXPECT_EQ(playback->focused(), Id("b"));
  playback->KeyPress(Key::Down, now);
  EXPECT_EQ(playback->focused(), Id("back"));
  EXPECT_EQ(playback->KeyPress(Key::Enter, now), (Command{"Back", ""}));
  // The focused button is not on the new screen: the next key starts afresh.
  playback->KeyPress(Key::Down, now);
  EXPECT_EQ(playback->focused(), Id("a"));
  playback->Blur(now);
  EXPECT_FLOAT_EQ(playback->FrameAt(now + 500).focus[static_cast<std::size_t>(Id("a"))], 0);
  EXPECT_EQ(playback->KeyPress(Key::Enter, now), std::nullopt);
  // A click hides the ring again.
  playback->KeyPress(Key::Tab, now);
  Click(150, 90);
  EXPECT_EQ(playback->KeyPress(Key::Enter, now), std::nullopt);
}

TEST_F(MoviePlaybackTest, RepaintsOnlyWhatChanged) {
  EXPECT_EQ(playback->TakeDirty(now), std::nullopt);  // idle
  playback->PointerMove({45, 25}, now);
  auto dirty = playback->TakeDirty(now);
  ASSERT_TRUE(dirty);
  RectF bounds = ButtonBounds(movie, Id("b"));
  EXPECT_LE(dirty->x, 40);
  EXPECT_GE(dirty->x + dirty->w, 90);
  EXPECT_LE(dirty->w, bounds.w + 40);  // B and its neighbour A at most
  EXPECT_TRUE(playback->TakeDirty(now + 50));   // still glowing
  EXPECT_TRUE(playback->TakeDirty(now + 150));  // the last frame
  EXPECT_EQ(playback->TakeDirty(now + 200), std::nullopt);
  now += 200;
  playback->GoTo(1, now);
  EXPECT_EQ(playback->TakeDirty(now), (RectF{0, 0, 200, 100}));
}

TEST_F(MoviePlaybackTest, KeepsTimeAcrossTheClocksWrap) {
  std::uint32_t late = 0xFFFFFFF0u;
  playback->GoTo(1, late);
  EXPECT_TRUE(playback->Animating(late + 100));  // past the wrap
  EXPECT_FALSE(playback->Animating(late + 200));
  EXPECT_FLOAT_EQ(playback->FrameAt(late + 200).itemOpacity[3], 1);
}

TEST(MovieRenderer, DrawsTheProgramsMovieAndScalesIt) {
  auto result = ReadMovieFile(testing::ProgramMoviePath());
  ASSERT_TRUE(result.movie) << result.error;
  const Movie& m = *result.movie;
  MoviePlayback playback(m);
  playback.Start(0);
  testing::BlockText text;
  MovieRenderer renderer(text);
  std::vector<std::uint32_t> pixels(675 * 435, 0xABCDEF);
  PixelBuffer buffer{pixels.data(), 675, 435, 675};
  renderer.Render(m, playback.FrameAt(10000), View{}, buffer, PixelRect{0, 0, 675, 435});
  EXPECT_GT(text.calls, 10);
  // The call to action is teal; the sidebar dark.
  const RectF& cta = m.buttons[static_cast<std::size_t>(ButtonById(m, "cta-tune"))].box;
  Rgba teal = UnpackRgb(buffer.at(static_cast<int>(cta.x + cta.w) - 8, static_cast<int>(cta.y) + 3));
  EXPECT_GT(teal.g, 150);
  EXPECT_LT(teal.r, 120);
  Rgba side = UnpackRgb(buffer.at(90, 430));
  EXPECT_LT(side.r + side.g + side.b, 60);
  for (std::uint32_t p : pixels) ASSERT_NE(p, 0xABCDEFu);  // every pixel painted

  // Twice the size: the same picture at twice the scale, centred.
  std::vector<std::uint32_t> big(1400 * 870, 0);
  PixelBuffer large{big.data(), 1400, 870, 1400};
  View view = View::Fit(m, 1400, 870);
  EXPECT_FLOAT_EQ(view.scale, 2);
  renderer.Render(m, playback.FrameAt(10000), view, large, PixelRect{0, 0, 1400, 870});
  Rgba scaled = UnpackRgb(large.at(static_cast<int>(view.offsetX + (cta.x + cta.w - 8) * 2),
                                   static_cast<int>(view.offsetY + (cta.y + 3) * 2)));
  EXPECT_GT(scaled.g, 150);
  EXPECT_EQ(big[0], PackRgb(kEmptySurface));  // the margin beside the movie

  // A clipped repaint touches nothing outside its clip.
  std::vector<std::uint32_t> part(675 * 435, 0x010203);
  PixelBuffer partial{part.data(), 675, 435, 675};
  renderer.Render(m, playback.FrameAt(10000), View{}, partial, PixelRect{100, 100, 200, 150});
  EXPECT_EQ(partial.at(99, 120), 0x010203u);
  EXPECT_EQ(partial.at(150, 150), 0x010203u);
  EXPECT_NE(partial.at(150, 120), 0x010203u);
}

}  // namespace
}  // namespace corvane::movie
