// Dates and times by regional format pictures, written and read back.
#include <gtest/gtest.h>

#include "tuning/DateTimeFormat.h"

namespace corvane {
namespace {

TEST(DateValues, OrderDatesAndTimesOfDay) {
  EXPECT_EQ(DateValueOf(CalendarDate{1899, 12, 30}), 0);
  EXPECT_EQ(DateValueOf(CalendarDate{1900, 1, 1}), 2 * 86400);
  EXPECT_EQ(DateValueOf(TimeOfDay{14, 5, 9}), 14 * 3600 + 5 * 60 + 9);
  EXPECT_LT(DateValueOf(CalendarDate{2007, 12, 31}), DateValueOf(CalendarDate{2008, 1, 1}));
  EXPECT_EQ(DateValueOf(LocalDateTime{{2008, 1, 21}, {0, 0, 1}}),
            DateValueOf(CalendarDate{2008, 1, 21}) + 1);
  EXPECT_TRUE(IsValidDate({2008, 2, 29}));
  EXPECT_FALSE(IsValidDate({2007, 2, 29}));
  EXPECT_FALSE(IsValidDate({1900, 2, 29}));
  EXPECT_TRUE(IsValidDate({2000, 2, 29}));
  EXPECT_FALSE(IsValidTime({23, 59, 60}));
}

struct Region {
  const char* name;
  const char* date;
  const char* time;
  const char* dateText;  // 2008-01-21
  const char* timeText;  // 14:05:09
};

const Region kRegions[] = {
    {"UnitedStates", "M/d/yyyy", "h:mm:ss tt", "1/21/2008", "2:05:09 PM"},
    {"Britain", "dd/MM/yyyy", "HH:mm:ss", "21/01/2008", "14:05:09"},
    {"Germany", "dd.MM.yyyy", "HH:mm:ss", "21.01.2008", "14:05:09"},
    {"Iso", "yyyy-MM-dd", "HH:mm:ss", "2008-01-21", "14:05:09"},
    {"TwoDigitYear", "d/M/yy", "H:mm", "21/1/08", "14:05"},
    {"Names", "dddd, MMMM dd, yyyy", "hh 'h' mm tt", "Monday, January 21, 2008", "02 h 05 PM"},
    {"ShortNames", "ddd d MMM yyyy", "h.mm.ss t", "Mon 21 Jan 2008", "2.05.09 P"},
    {"Quotes", "yyyy'年'M'月'd'日'", "HH''mm", "2008年1月21日", "14'05"},
};

class RegionalFormat : public ::testing::TestWithParam<Region> {};

TEST_P(RegionalFormat, WritesAndReadsBackItsOwnTexts) {
  const Region& r = GetParam();
  PictureDateTimeFormat format(r.date, r.time);
  EXPECT_EQ(format.FormatDate({2008, 1, 21}), r.dateText);
  EXPECT_EQ(format.FormatTime({14, 5, 9}), r.timeText);
  for (CalendarDate d : {CalendarDate{2008, 1, 21}, CalendarDate{1999, 12, 31},
                         CalendarDate{2000, 2, 29}, CalendarDate{2029, 7, 4}}) {
    auto back = format.ParseDate(format.FormatDate(d));
    ASSERT_TRUE(back) << format.FormatDate(d);
    EXPECT_EQ(*back, d);
    EXPECT_EQ(format.ParseDateValue(format.FormatDate(d)), DateValueOf(d));
  }
  bool seconds = std::string_view(r.time).find('s') != std::string_view::npos;
  bool minutes = std::string_view(r.time).find('m') != std::string_view::npos;
  for (TimeOfDay t : {TimeOfDay{0, 0, 0}, TimeOfDay{11, 59, 59}, TimeOfDay{12, 0, 1},
                      TimeOfDay{23, 7, 30}}) {
    auto back = format.ParseTime(format.FormatTime(t));
    ASSERT_TRUE(back) << format.FormatTime(t);
    TimeOfDay expected{t.hour, minutes ? t.minute : 0, seconds ? t.second : 0};
    EXPECT_EQ(*back, expected) << format.FormatTime(t);
  }
  // A date, a space and a time.
  std::string both = format.FormatDate({2008, 1, 21}) + " " + format.FormatTime({14, 5, 9});
  auto value = format.ParseDateValue(both);
  ASSERT_TRUE(value) << both;
  EXPECT_GT(*value, DateValueOf(CalendarDate{2008, 1, 21}));
  EXPECT_LT(*value, DateValueOf(CalendarDate{2008, 1, 22}));
}

INSTANTIATE_TEST_SUITE_P(Pictures, RegionalFormat, ::testing::ValuesIn(kRegions),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(RegionalFormat, ReadingIsLenientWhereRegionsVaryAndStrictElsewhere) {
  PictureDateTimeFormat us("M/d/yyyy", "h:mm:ss tt");
  EXPECT_EQ(us.ParseDate("01/21/2008"), (CalendarDate{2008, 1, 21}));
  EXPECT_EQ(us.ParseDate("  1/21/2008 "), (CalendarDate{2008, 1, 21}));
  EXPECT_EQ(us.ParseTime("2:05:09 pm"), (TimeOfDay{14, 5, 9}));
  EXPECT_EQ(us.ParseTime("2:05:09   PM"), (TimeOfDay{14, 5, 9}));
  EXPECT_EQ(us.ParseTime("12:00:00 AM"), (TimeOfDay{0, 0, 0}));
  EXPECT_EQ(us.ParseTime("12:30:00 PM"), (TimeOfDay{12, 30, 0}));
  for (std::string_view bad : {"", "2/30/2008", "13/1/2008", "1/21", "1/21/2008x", "hello",
                               "1-21-2008"}) {
    EXPECT_FALSE(us.ParseDate(bad)) << bad;
  }
  for (std::string_view bad : {"13:00:00 PM", "0:00:00 AM", "2:60:00 PM", "2:05", "2:05:09 XM"}) {
    EXPECT_FALSE(us.ParseTime(bad)) << bad;
  }
  EXPECT_FALSE(us.ParseDateValue("1/21/2008 25:00:00 PM"));
  PictureDateTimeFormat twoDigits("d/M/yy", "HH:mm:ss");
  EXPECT_EQ(twoDigits.ParseDate("1/1/29")->year, 2029);
  EXPECT_EQ(twoDigits.ParseDate("1/1/30")->year, 1930);
  // A 24-hour region without designators.
  RegionalNames names = EnglishNames();
  names.am.clear();
  names.pm.clear();
  PictureDateTimeFormat plain("yyyy-MM-dd", "H:mm:ss tt", names);
  EXPECT_EQ(plain.FormatTime({14, 5, 9}), "14:05:09 ");
  EXPECT_EQ(plain.ParseTime("14:05:09 "), (TimeOfDay{14, 5, 9}));
}

}  // namespace
}  // namespace corvane
