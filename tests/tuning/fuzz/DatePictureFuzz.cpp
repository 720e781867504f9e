// The regional date and time pictures the backup list writes its dates and
// times with and reads them back by for the sort: any picture (the input's
// first two lines), any date and time, any text to read. Writing and
// reading end, within bounds, whatever the picture.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tuning/DateTimeFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace corvane;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::size_t first = input.find('\n');
  std::string_view datePicture = input.substr(0, first);
  std::string_view rest = first == std::string_view::npos ? std::string_view() : input.substr(first + 1);
  std::size_t second = rest.find('\n');
  std::string_view timePicture = rest.substr(0, second);
  std::string_view text = second == std::string_view::npos ? std::string_view() : rest.substr(second + 1);

  PictureDateTimeFormat format{std::string(datePicture), std::string(timePicture)};
  // A date and a time from the input's tail, then the text itself.
  auto byte = [&](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
  CalendarDate date{static_cast<int>(1601 + (byte(0) | byte(1) << 8) % 8399), static_cast<int>(1 + byte(2) % 12),
                    static_cast<int>(1 + byte(3) % 28)};
  TimeOfDay time{static_cast<int>(byte(4) % 24), static_cast<int>(byte(5) % 60), static_cast<int>(byte(6) % 60)};
  std::string written = format.FormatDate(date);
  std::string clock = format.FormatTime(time);
  (void)format.ParseDateValue(written);
  (void)format.ParseTimeValue(clock);
  (void)format.ParseDateValue(written + " " + clock);
  (void)format.ParseDateValue(text);
  (void)format.ParseTimeValue(text);
  (void)format.ParseDate(text);
  (void)format.ParseTime(text);
  return 0;
}
