// The texts of the backup list's "Creating Date" and "Creating Time"
// columns: a date and a time of day written in the user's regional formats,
// and read back into date values for sorting.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Clock.h"

namespace corvane {

class IDateTimeFormat {
 public:
  virtual ~IDateTimeFormat() = default;
  virtual std::string FormatDate(const CalendarDate& date) const = 0;
  virtual std::string FormatTime(const TimeOfDay& time) const = 0;
  // A text as FormatDate or FormatTime writes it, or a date, a space and a
  // time, read back as a date value (a time alone falls on day 0; a text
  // that is both a date and a time is taken for the date). Nothing when the
  // text is not one of these.
  virtual std::optional<DateValue> ParseDateValue(std::string_view text) const = 0;
  // The same for a text of a column that holds times of day: a time is tried
  // first, as a time written with the date separator ("14.05.09" in Finnish
  // or Danish settings) would also read as a date.
  virtual std::optional<DateValue> ParseTimeValue(std::string_view text) const = 0;
};

// The pieces of a regional format that the pictures refer to.
struct RegionalNames {
  std::array<std::string, 12> months;       // MMMM
  std::array<std::string, 12> shortMonths;  // MMM
  std::array<std::string, 7> days;          // dddd, Monday first
  std::array<std::string, 7> shortDays;     // ddd, Monday first
  std::string am;                           // tt before noon
  std::string pm;                           // tt from noon
};

// English names and designators, as the default regional settings have them.
RegionalNames EnglishNames();

// Dates and times written and read by Windows format pictures: "d", "dd",
// "ddd", "dddd", "M" to "MMMM", "y", "yy", "yyyy", "gg" for dates; "h", "hh",
// "H", "HH", "m", "mm", "s", "ss", "t", "tt" for times; text in single
// quotes ('' a quote) and any other character as itself. Reading is lenient
// where the regional texts vary: letter case, runs of spaces, one or two
// digits for one-letter elements, day names ignored. Two-digit years read as
// 1930 to 2029, as Windows reads them by default.
class PictureDateTimeFormat final : public IDateTimeFormat {
 public:
  PictureDateTimeFormat(std::string datePicture, std::string timePicture,
                        RegionalNames names = EnglishNames());

  std::string FormatDate(const CalendarDate& date) const override;
  std::string FormatTime(const TimeOfDay& time) const override;
  std::optional<DateValue> ParseDateValue(std::string_view text) const override;
  std::optional<DateValue> ParseTimeValue(std::string_view text) const override;

  std::optional<CalendarDate> ParseDate(std::string_view text) const;
  std::optional<TimeOfDay> ParseTime(std::string_view text) const;

  const std::string& datePicture() const { return datePicture_; }
  const std::string& timePicture() const { return timePicture_; }

 private:
  std::string datePicture_;
  std::string timePicture_;
  RegionalNames names_;
};

}  // namespace corvane
