// The splash file reader: the shipped picture, each drawing command, and
// every way a file is refused.
#include "shell/SplashFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/RefusedAtLine.h"

namespace corvane::shell {
namespace {

std::string ShippedSplash() {
  std::ifstream in(std::string(CORVANE_SOURCE_ROOT) + "assets/splash/KeltSpl.spl", std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(SplashFile, TheShippedPictureReads) {
  auto result = ParseSplash(ShippedSplash());
  ASSERT_TRUE(result.picture) << result.error << " at line " << result.line;
  EXPECT_EQ(result.picture->width, 460);
  EXPECT_EQ(result.picture->height, 260);
  EXPECT_EQ(result.picture->radius, 18);
  bool named = false;
  bool ring = false;
  bool signal = false;
  for (const auto& item : result.picture->items) {
    if (item.shape == SplashShape::Text && item.text == "Corvane") named = true;
    // The program's mark, as the side bar, the About screen and the icon
    // show it: a teal ring open to the right like a "C", an amber arc in the
    // opening.
    if (item.shape == SplashShape::Arc && item.start == 50 && item.sweep == 260 &&
        item.color == (skin::Rgb{0x2F, 0xD0, 0xC0})) {
      ring = true;
    }
    if (item.shape == SplashShape::Arc && item.start == -42 && item.sweep == 84 &&
        item.color == (skin::Rgb{0xF5, 0xC4, 0x51})) {
      signal = true;
    }
  }
  EXPECT_TRUE(named) << "the splash shows the product's name";
  EXPECT_TRUE(ring && signal) << "the splash shows the program's mark";
}

TEST(SplashFile, EachCommand) {
  auto result = ParseSplash(
      "; comment first\n"
      "CorvaneSplash 1\n"
      "size 200 100\r\n"
      "radius 8\n"
      "fill 0 0 200 100 #000000 #FFFFFF\n"
      "roundrect 10 10 50 20 4 #102030\n"
      "ellipse -5 -5 20 20 #ABCDEF\n"
      "ring 1 2 3 4 2 #010101\n"
      "arc 10 20 60 60 50 260 13 #2FD0C0\n"
      "line 0 50 200 50 1 #FF0000\n"
      "font Verdana\n"
      "text 100 40 12 bold center #00FF00 \"Hello there\"\n");
  ASSERT_TRUE(result.picture) << result.error << " at line " << result.line;
  const auto& items = result.picture->items;
  ASSERT_EQ(items.size(), 7u);
  EXPECT_EQ(items[0].shape, SplashShape::Fill);
  EXPECT_EQ(items[0].color2, (skin::Rgb{255, 255, 255}));
  EXPECT_EQ(items[1].radius, 4);
  EXPECT_EQ(items[1].color2, items[1].color) << "no second colour: flat";
  EXPECT_EQ(items[2].x, -5);
  EXPECT_EQ(items[3].shape, SplashShape::Ring);
  EXPECT_EQ(items[4].shape, SplashShape::Arc);
  EXPECT_EQ(items[4].width, 60);
  EXPECT_EQ(items[4].start, 50);
  EXPECT_EQ(items[4].sweep, 260);
  EXPECT_EQ(items[4].radius, 13) << "the pen";
  EXPECT_EQ(items[5].shape, SplashShape::Line);
  EXPECT_EQ(items[5].width, 200);
  EXPECT_EQ(items[6].text, "Hello there");
  EXPECT_EQ(items[6].font, "Verdana");
  EXPECT_TRUE(items[6].bold);
  EXPECT_EQ(items[6].align, TextAlign::Center);
}

TEST(SplashFile, RefusesBadFiles) {
  const testing::BadText cases[] = {
      {"", 0},
      {"CorvaneSplash 2\nsize 10 10\n", 1},
      {"CorvaneSplash 1\n", 1},
      {"CorvaneSplash 1\nfill 0 0 1 1 #000000\n", 2},
      {"CorvaneSplash 1\nsize 10\n", 2},
      {"CorvaneSplash 1\nsize 8 100\n", 2},
      {"CorvaneSplash 1\nsize 100 2000\n", 2},
      {"CorvaneSplash 1\nsize 100 100\nsize 100 100\n", 3},
      {"CorvaneSplash 1\nsize 100 100\nfill 0 0 -1 1 #000000\n", 3},
      {"CorvaneSplash 1\nsize 100 100\nfill 0 0 1 1 red\n", 3},
      {"CorvaneSplash 1\nsize 100 100\nfill 0 0 1 1 #000000 #000000 #000000\n", 3},
      {"CorvaneSplash 1\nsize 100 100\nfill 0 0 99999 1 #000000\n", 3},
      {"CorvaneSplash 1\nsize 100 100\nellipse 0 0 1 1 #000000 #000000\n", 3},
      {"CorvaneSplash 1\nsize 100 100\nline 0 0 1 1 0 #000000\n", 3},
      {"CorvaneSplash 1\nsize 100 100\ntext 0 0 12 heavy left #000000 \"x\"\n", 3},
      {"CorvaneSplash 1\nsize 100 100\ntext 0 0 12 bold middle #000000 \"x\"\n", 3},
      {"CorvaneSplash 1\nsize 100 100\ntext 0 0 12 bold left #000000 \"x\n", 3},
      {"CorvaneSplash 1\nsize 100 100\ncircle 0 0 1 #000000\n", 3},
      {"CorvaneSplash 1\nsize 100 100\narc 0 0 10 10 0 90 #000000\n", 3},
      {"CorvaneSplash 1\nsize 100 100\narc 0 0 10 10 0 400 2 #000000\n", 3},
      {"CorvaneSplash 1\nsize 100 100\narc 0 0 10 10 0 90 0 #000000\n", 3},
      {"CorvaneSplash 1\nsize 100 100\nfont ABCDEFGHIJKLMNOPQRSTUVWXYZ012345\n", 3},
  };
  for (const auto& c : cases) {
    testing::ExpectRefusedAtLine(ParseSplash(c.text), &SplashParseResult::picture, c.text, c.line);
  }
  std::string many = "CorvaneSplash 1\nsize 100 100\n";
  for (int i = 0; i <= 256; ++i) many += "fill 0 0 1 1 #000000\n";
  EXPECT_FALSE(ParseSplash(many).picture);
  EXPECT_FALSE(ParseSplash(std::string(kMaxSplashFileSize + 1, ';')).picture);
}

}  // namespace
}  // namespace corvane::shell
