#include "platform/Clock.h"

namespace corvane {

namespace {

// Days from 1970-01-01 to the date (proleptic Gregorian calendar), after
// Howard Hinnant's days_from_civil.
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

constexpr std::int64_t kSecondsPerDay = 86400;

}  // namespace

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2) {
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return leap ? 29 : 28;
  }
  return kDays[month - 1];
}

bool IsValidDate(const CalendarDate& date) {
  return date.year >= 1 && date.year <= 9999 && date.day >= 1 &&
         date.day <= DaysInMonth(date.year, date.month);
}

bool IsValidTime(const TimeOfDay& time) {
  return time.hour >= 0 && time.hour <= 23 && time.minute >= 0 && time.minute <= 59 &&
         time.second >= 0 && time.second <= 59;
}

DateValue DateValueOf(const CalendarDate& date) {
  static const std::int64_t kBase = DaysFromCivil(1899, 12, 30);
  return (DaysFromCivil(date.year, date.month, date.day) - kBase) * kSecondsPerDay;
}

DateValue DateValueOf(const TimeOfDay& time) {
  return static_cast<DateValue>(time.hour) * 3600 + time.minute * 60 + time.second;
}

DateValue DateValueOf(const LocalDateTime& dateTime) {
  return DateValueOf(dateTime.date) + DateValueOf(dateTime.time);
}

}  // namespace corvane
