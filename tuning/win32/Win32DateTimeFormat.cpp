#include "tuning/win32/Win32DateTimeFormat.h"

#include <windows.h>

namespace corvane::win32 {

namespace {

std::string LocaleText(LCTYPE what, const char* fallback) {
  char buffer[128] = {};
  int length = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, what, buffer, sizeof buffer);
  if (length <= 1) return fallback;
  return std::string(buffer, static_cast<std::size_t>(length - 1));
}

PictureDateTimeFormat RegionalReader() {
  RegionalNames names = EnglishNames();
  for (int i = 0; i < 12; ++i) {
    auto index = static_cast<std::size_t>(i);
    names.months[index] = LocaleText(static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + i), names.months[index].c_str());
    names.shortMonths[index] = LocaleText(static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + i),
                                          names.shortMonths[index].c_str());
  }
  for (int i = 0; i < 7; ++i) {  // LOCALE_SDAYNAME1 is Monday
    auto index = static_cast<std::size_t>(i);
    names.days[index] = LocaleText(static_cast<LCTYPE>(LOCALE_SDAYNAME1 + i), names.days[index].c_str());
    names.shortDays[index] = LocaleText(static_cast<LCTYPE>(LOCALE_SABBREVDAYNAME1 + i),
                                        names.shortDays[index].c_str());
  }
  // A 24-hour region may have no designators at all.
  char buffer[32] = {};
  names.am = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_S1159, buffer, sizeof buffer) > 0 ? buffer : "";
  names.pm = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_S2359, buffer, sizeof buffer) > 0 ? buffer : "";
  return PictureDateTimeFormat(LocaleText(LOCALE_SSHORTDATE, "M/d/yyyy"),
                               LocaleText(LOCALE_STIMEFORMAT, "h:mm:ss tt"), std::move(names));
}

SYSTEMTIME SystemTimeOf(const CalendarDate& date, const TimeOfDay& time) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(date.year);
  st.wMonth = static_cast<WORD>(date.month);
  st.wDay = static_cast<WORD>(date.day);
  // Monday 1 ... Saturday 6, Sunday 0; 1899-12-30 was a Saturday.
  st.wDayOfWeek = static_cast<WORD>(((DateValueOf(date) / 86400 + 6) % 7 + 7) % 7);
  st.wHour = static_cast<WORD>(time.hour);
  st.wMinute = static_cast<WORD>(time.minute);
  st.wSecond = static_cast<WORD>(time.second);
  return st;
}

}  // namespace

Win32DateTimeFormat::Win32DateTimeFormat() : reader_(RegionalReader()) {}

std::string Win32DateTimeFormat::FormatDate(const CalendarDate& date) const {
  SYSTEMTIME st = SystemTimeOf(date, TimeOfDay{});
  char buffer[128] = {};
  int length = ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer,
                                sizeof buffer);
  if (length <= 1) return reader_.FormatDate(date);  // what the region's picture gives
  return std::string(buffer, static_cast<std::size_t>(length - 1));
}

std::string Win32DateTimeFormat::FormatTime(const TimeOfDay& time) const {
  SYSTEMTIME st = SystemTimeOf(CalendarDate{2000, 1, 1}, time);
  char buffer[128] = {};
  int length = ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, sizeof buffer);
  if (length <= 1) return reader_.FormatTime(time);
  return std::string(buffer, static_cast<std::size_t>(length - 1));
}

std::optional<DateValue> Win32DateTimeFormat::ParseDateValue(std::string_view text) const {
  return reader_.ParseDateValue(text);
}

std::optional<DateValue> Win32DateTimeFormat::ParseTimeValue(std::string_view text) const {
  return reader_.ParseTimeValue(text);
}

}  // namespace corvane::win32
