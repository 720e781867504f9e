// Local dates and times as the snapshot files and the backup list use them,
// and the clock that gives the current local date and time.
#pragma once

#include <cstdint>
#include <optional>

namespace corvane {

struct CalendarDate {
  int year = 0;
  int month = 0;  // 1-12
  int day = 0;    // 1-31
  bool operator==(const CalendarDate&) const = default;
};

struct TimeOfDay {
  int hour = 0;    // 0-23
  int minute = 0;  // 0-59
  int second = 0;  // 0-59
  bool operator==(const TimeOfDay&) const = default;
};

struct LocalDateTime {
  CalendarDate date;
  TimeOfDay time;
  bool operator==(const LocalDateTime&) const = default;
};

class IClock {
 public:
  virtual ~IClock() = default;
  // The local date and time now (GetLocalTime).
  virtual LocalDateTime Now() const = 0;
};

// A point in time as one number that orders correctly: seconds since
// 1899-12-30 00:00:00, the day a date value without a date part falls on. So a
// time of day alone is its seconds since midnight, and it sorts by time alone.
using DateValue = std::int64_t;

bool IsValidDate(const CalendarDate& date);
bool IsValidTime(const TimeOfDay& time);
int DaysInMonth(int year, int month);
DateValue DateValueOf(const CalendarDate& date);
DateValue DateValueOf(const TimeOfDay& time);
DateValue DateValueOf(const LocalDateTime& dateTime);

}  // namespace corvane
