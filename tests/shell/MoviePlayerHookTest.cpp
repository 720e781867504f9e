// Which window is the movie player, and what it never sees.
#include "shell/MoviePlayerHook.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane::shell {
namespace {

TEST(MoviePlayerHook, FindsThePlayerByItsClassNameInAnyCase) {
  EXPECT_TRUE(IsMoviePlayerClass("CorvaneMoviePlayer"));
  EXPECT_TRUE(IsMoviePlayerClass("corvanemovieplayer"));
  EXPECT_TRUE(IsMoviePlayerClass("Afx:CORVANEMOVIEPLAYER:2"));
  EXPECT_FALSE(IsMoviePlayerClass("CorvaneChildFrame"));
  EXPECT_FALSE(IsMoviePlayerClass("MacromediaFlashPlayerActiveX"));
  EXPECT_FALSE(IsMoviePlayerClass(""));
  // The search reads at most 249 characters of a class name.
  EXPECT_FALSE(IsMoviePlayerClass(std::string(240, 'x') + "CorvaneMoviePlayer"));
  EXPECT_TRUE(IsMoviePlayerClass(std::string(231, 'x') + "CorvaneMoviePlayer"));
}

TEST(MoviePlayerHook, RightButtonPressAndContextMenuKeyBecomeNull) {
  EXPECT_EQ(FilterMoviePlayerMessage(0x0204, 1), kWmNull);  // WM_RBUTTONDOWN
  EXPECT_EQ(FilterMoviePlayerMessage(0x007B, 0), kWmNull);  // WM_CONTEXTMENU
  EXPECT_EQ(FilterMoviePlayerMessage(0x0100, 93), kWmNull);  // Applications key down
  EXPECT_EQ(FilterMoviePlayerMessage(0x0101, 93), kWmNull);  // and up
}

TEST(MoviePlayerHook, EverythingElsePassesUnchanged) {
  for (std::uint32_t message : {0x0201u, 0x0202u, 0x0200u, 0x0205u, 0x0206u, 0x000Fu, 0x0113u}) {
    EXPECT_EQ(FilterMoviePlayerMessage(message, 93), message) << std::hex << message;
  }
  EXPECT_EQ(FilterMoviePlayerMessage(0x0100, 0x20), 0x0100u);  // space key
  EXPECT_EQ(FilterMoviePlayerMessage(0x0104, 93), 0x0104u);    // WM_SYSKEYDOWN passes
}

}  // namespace
}  // namespace corvane::shell
