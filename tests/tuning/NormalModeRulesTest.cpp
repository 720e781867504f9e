#include "tuning/NormalModeRules.h"

#include <gtest/gtest.h>

#include <limits>

namespace corvane {
namespace {

TEST(NormalModeRulesTest, RecommendedWindowsForTheFourConnectionTypes) {
  // The multiplier each type recommends gives these windows with its MSS.
  const double expected[] = {6432, 256960, 255552, 256960};
  for (int type = 0; type < 4; ++type) {
    const ConnectionRecommendation* r = RecommendationFor(type);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->multiplier, DefaultMultiplier(type));
    EXPECT_EQ(ReceiveWindow(r->mss, r->multiplier), expected[type]) << r->option;
  }
  EXPECT_EQ(RecommendationFor(-1), nullptr);
  EXPECT_EQ(RecommendationFor(4), nullptr);
}

TEST(NormalModeRulesTest, ReadsNumbersAsABoxHoldsThem) {
  struct Case {
    const char* text;
    std::optional<double> number;
  };
  const Case cases[] = {
      {"64", 64},     {" 64 ", 64},   {"+7", 7},      {"-3", -3},     {"0.5", 0.5},
      {"0.", 0},      {".5", 0.5},    {"1e3", 1000},  {"1E+2", 100},  {"2.5e-1", 0.25},
      {"", {}},       {" ", {}},      {"-", {}},      {".", {}},      {"1e", {}},
      {"1,5", {}},    {"12a", {}},    {"0x10", {}},   {"inf", {}},    {"nan", {}},
      {"1 2", {}},    {"--1", {}},    {"1e400", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseNumber(c.text), c.number) << '"' << c.text << '"';
}

TEST(NormalModeRulesTest, ShowsNumbersWithoutNeedlessDigits) {
  EXPECT_EQ(NumberText(6432), "6432");
  EXPECT_EQ(NumberText(ReceiveWindow(1460, 0.5)), "2920");
  EXPECT_EQ(NumberText(ReceiveWindow(1460, 200000)), "1168000000");
  EXPECT_EQ(NumberText(ReceiveWindow(1460, 1.3)), "7592");  // 7592.000000000001 in binary
  EXPECT_EQ(NumberText(0.5), "0.5");
  EXPECT_EQ(NumberText(-0.0), "0");
}

TEST(NormalModeRulesTest, RoundsToTheNearestIntegerWithinRange) {
  EXPECT_EQ(ToInt32(1500.4), 1500);
  EXPECT_EQ(ToInt32(1500.6), 1501);
  EXPECT_EQ(ToInt32(2.5), 2);  // halves go to the even neighbour
  EXPECT_EQ(ToInt32(3.5), 4);
  EXPECT_EQ(ToInt32(-1.5), -2);
  EXPECT_EQ(ToInt32(1e12), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(ToInt32(-1e12), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(TextToInt32("255552"), 255552);
  EXPECT_EQ(TextToInt32("x"), std::nullopt);
}

TEST(NormalModeRulesTest, BoundsAreInclusiveAndTheLowerOneWaitsForACompleteEntry) {
  const Bounds ttl{0, 256};
  const Bounds http10{4, 2147483647};
  struct Case {
    const char* text;
    Bounds bounds;
    bool whileTyping;
    bool whenComplete;
  };
  const Case cases[] = {
      {"256", ttl, true, true},       {"257", ttl, false, false},    {"0", ttl, true, true},
      {"-1", ttl, true, false},       {"255.5", ttl, true, true},    {"", ttl, false, false},
      {"1", http10, true, false},     {"10", http10, true, true},    {"4", http10, true, true},
      {"3", http10, true, false},     {"2147483647", http10, true, true},
      {"2147483647.5", http10, false, false},                        {"abc", http10, false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AcceptNumber(c.text, c.bounds, Check::Typing), c.whileTyping) << c.text;
    EXPECT_EQ(AcceptNumber(c.text, c.bounds, Check::Complete), c.whenComplete) << c.text;
  }
}

TEST(NormalModeRulesTest, MultiplierRulesWithMss1460) {
  struct Case {
    const char* text;
    double window;
    bool defaultWhileTyping;
    bool defaultWhenComplete;
  };
  const Case cases[] = {
      {"44", 256960, false, false},
      {"0.5", 2920, false, false},
      {"0.25", 1460, false, false},        // equal to the MSS: allowed
      {"0.1", 584, false, true},           // below the MSS
      {"0", 0, false, true},               // on the way to "0.5"
      {"200000", 1168000000, true, true},  // above 1073741823
      {"183859", 1073736560, false, false},    // just below 1073741823
      {"183860", 1073742400, true, true},      // just above
      {"", 0, true, true},
      {"x", 0, true, true},
  };
  for (const Case& c : cases) {
    MultiplierVerdict typing = CheckMultiplier(c.text, 1460, Check::Typing);
    MultiplierVerdict complete = CheckMultiplier(c.text, 1460, Check::Complete);
    EXPECT_DOUBLE_EQ(typing.receiveWindow, c.window) << c.text;
    EXPECT_EQ(typing.useDefault, c.defaultWhileTyping) << c.text;
    EXPECT_EQ(complete.useDefault, c.defaultWhenComplete) << c.text;
  }
}

}  // namespace
}  // namespace corvane
