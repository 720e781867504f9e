// The user's regional date and time formats: texts from GetDateFormatA
// (short date) and GetTimeFormatA, read back by the same format pictures
// taken from GetLocaleInfoA.
#pragma once

#include "tuning/DateTimeFormat.h"

namespace corvane::win32 {

class Win32DateTimeFormat final : public IDateTimeFormat {
 public:
  // Reads the regional pictures and names once.
  Win32DateTimeFormat();

  std::string FormatDate(const CalendarDate& date) const override;
  std::string FormatTime(const TimeOfDay& time) const override;
  std::optional<DateValue> ParseDateValue(std::string_view text) const override;
  std::optional<DateValue> ParseTimeValue(std::string_view text) const override;

  // The pictures and names in use, as the portable reader has them.
  const PictureDateTimeFormat& reader() const { return reader_; }

 private:
  PictureDateTimeFormat reader_;
};

}  // namespace corvane::win32
