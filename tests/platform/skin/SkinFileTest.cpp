// The skin file reader: the shipped skin, defaults, and every way a file is
// refused.
#include "platform/skin/SkinFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/RefusedAtLine.h"

namespace corvane::skin {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string SourceRoot() { return CORVANE_SOURCE_ROOT; }

TEST(SkinFile, TheShippedSkinHoldsEveryObjectTheProgramApplies) {
  std::string text = ReadFile(SourceRoot() + "assets/skin/KeltMask.skn");
  ASSERT_FALSE(text.empty());
  auto result = ParseSkin(text);
  ASSERT_TRUE(result.skin) << result.error << " at line " << result.line;
  for (const char* name : {"Main", "NoFrame", "controlForm", "Button", "Label", "Frame", "CheckBox", "RadioBox"}) {
    EXPECT_NE(result.skin->Find(name), nullptr) << name;
  }
  const SkinObject* button = result.skin->Find("Button");
  EXPECT_EQ(button->radius, 8);
  EXPECT_TRUE(button->bold);
  EXPECT_EQ(button->face, (Rgb{0x1B, 0x25, 0x35}));
  EXPECT_EQ(button->face2, (Rgb{0x15, 0x1D, 0x2A}));
}

TEST(SkinFile, SettingsCommentsAndDefaults) {
  auto result = ParseSkin(
      "; leading comment\r\n"
      "CorvaneSkin 1\r\n"
      "\r\n"
      "[Button]\r\n"
      "  face =   #aBcDeF  \r\n"
      "# a comment\r\n"
      "fontSize=12\r\n"
      "glow = #123456\r\n"  // a newer skin's setting: skipped
      "[Label]\n"
      "text = #000000");
  ASSERT_TRUE(result.skin) << result.error;
  const SkinObject* button = result.skin->Find("Button");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->face, (Rgb{0xAB, 0xCD, 0xEF}));
  EXPECT_EQ(button->face2, button->face) << "a face alone is flat";
  EXPECT_EQ(button->fontSize, 12);
  EXPECT_EQ(button->font, "Tahoma");
  EXPECT_EQ(result.skin->Find("Label")->text, (Rgb{0, 0, 0}));
  EXPECT_EQ(result.skin->Find("label"), nullptr) << "names are exact";
  EXPECT_EQ(result.skin->Find("Frame"), nullptr);
}

TEST(SkinFile, RefusesBadFilesWithTheLineOfTheFault) {
  const testing::BadText cases[] = {
      {"", 0},
      {"CorvaneSkin 2\n[A]\n", 1},
      {"[A]\nface = #000000\n", 1},
      {"CorvaneSkin 1\nface = #000000\n", 2},
      {"CorvaneSkin 1\n[A]\nface #000000\n", 3},
      {"CorvaneSkin 1\n[A]\nface = #00000\n", 3},
      {"CorvaneSkin 1\n[A]\nface = #00000G\n", 3},
      {"CorvaneSkin 1\n[A]\nface = 000000\n", 3},
      {"CorvaneSkin 1\n[A]\nradius = 33\n", 3},
      {"CorvaneSkin 1\n[A]\nradius = -1\n", 3},
      {"CorvaneSkin 1\n[A]\nradius = 4px\n", 3},
      {"CorvaneSkin 1\n[A]\nfontSize = 99999999999\n", 3},
      {"CorvaneSkin 1\n[A]\nbold = 2\n", 3},
      {"CorvaneSkin 1\n[A]\nfont = \n", 3},
      {"CorvaneSkin 1\n[A]\nfont = ABCDEFGHIJKLMNOPQRSTUVWXYZ012345\n", 3},
      {"CorvaneSkin 1\n[A]\n[A]\n", 3},
      {"CorvaneSkin 1\n[A B]\n", 2},
      {"CorvaneSkin 1\n[]\n", 2},
      {"CorvaneSkin 1\n[A\n", 2},
      {"CorvaneSkin 1\n[A]\n= #000000\n", 3},
  };
  for (const auto& c : cases) {
    testing::ExpectRefusedAtLine(ParseSkin(c.text), &SkinParseResult::skin, c.text, c.line);
  }
}

TEST(SkinFile, RefusesOversizedFilesAndTooManyObjects) {
  std::string big = "CorvaneSkin 1\n[A]\n" + std::string(kMaxSkinFileSize, ';');
  EXPECT_FALSE(ParseSkin(big).skin);
  std::string many = "CorvaneSkin 1\n";
  for (int i = 0; i <= 64; ++i) many += "[O" + std::to_string(i) + "]\n";
  auto result = ParseSkin(many);
  EXPECT_FALSE(result.skin);
  EXPECT_EQ(result.line, 66);
}

}  // namespace
}  // namespace corvane::skin
