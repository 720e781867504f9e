#include "tuning/DateTimeFormat.h"

#include <cctype>
#include <cstddef>
#include <vector>

#include "platform/Text.h"

namespace corvane {

namespace {

struct Token {
  char letter = 0;  // 0: a literal
  int count = 0;
  std::string literal;
};

bool IsPictureLetter(char c, bool forDate) {
  return forDate ? (c == 'd' || c == 'M' || c == 'y' || c == 'g')
                 : (c == 'h' || c == 'H' || c == 'm' || c == 's' || c == 't');
}

std::vector<Token> Tokenize(std::string_view picture, bool forDate) {
  std::vector<Token> tokens;
  auto addLiteral = [&](char c) {
    if (tokens.empty() || tokens.back().letter != 0) tokens.push_back(Token{});
    tokens.back().literal.push_back(c);
  };
  for (std::size_t i = 0; i < picture.size();) {
    char c = picture[i];
    if (c == '\'') {
      // Quoted text; '' stands for one quote, inside quotes or out.
      ++i;
      if (i < picture.size() && picture[i] == '\'') {
        addLiteral('\'');
        ++i;
        continue;
      }
      while (i < picture.size()) {
        if (picture[i] == '\'') {
          if (i + 1 < picture.size() && picture[i + 1] == '\'') {
            addLiteral('\'');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        addLiteral(picture[i++]);
      }
      continue;
    }
    if (IsPictureLetter(c, forDate)) {
      int count = 0;
      while (i < picture.size() && picture[i] == c) {
        ++count;
        ++i;
      }
      tokens.push_back(Token{c, count, {}});
      continue;
    }
    addLiteral(c);
    ++i;
  }
  return tokens;
}

std::string Digits(int value, int width) {
  std::string text = std::to_string(value);
  while (static_cast<int>(text.size()) < width) text.insert(text.begin(), '0');
  return text;
}

// Monday 0 ... Sunday 6.
int WeekdayOf(const CalendarDate& date) {
  std::int64_t days = DateValueOf(date) / 86400;  // 1899-12-30 was a Saturday
  return static_cast<int>(((days + 5) % 7 + 7) % 7);
}

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithFolded(std::string_view text, std::string_view prefix) {
  if (prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (Fold(text[i]) != Fold(prefix[i])) return false;
  }
  return true;
}

void SkipSpaces(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
}

bool ReadNumber(std::string_view text, std::size_t& pos, int maxDigits, int& value) {
  SkipSpaces(text, pos);
  std::size_t start = pos;
  value = 0;
  while (pos < text.size() && static_cast<int>(pos - start) < maxDigits &&
         std::isdigit(static_cast<unsigned char>(text[pos]))) {
    value = value * 10 + (text[pos] - '0');
    ++pos;
  }
  return pos > start;
}

// The longest of the names that the text continues with; its index, or -1.
template <std::size_t N>
int MatchName(std::string_view text, std::size_t& pos, const std::array<std::string, N>& a,
              const std::array<std::string, N>& b) {
  int best = -1;
  std::size_t bestLength = 0;
  for (const auto* list : {&a, &b}) {
    for (std::size_t i = 0; i < N; ++i) {
      const std::string& name = (*list)[i];
      if (!name.empty() && name.size() > bestLength &&
          StartsWithFolded(text.substr(pos), name)) {
        best = static_cast<int>(i);
        bestLength = name.size();
      }
    }
  }
  if (best >= 0) pos += bestLength;
  return best;
}

bool MatchLiteral(std::string_view text, std::size_t& pos, std::string_view literal) {
  for (char c : literal) {
    if (c == ' ') {
      SkipSpaces(text, pos);  // a run of spaces, or none
      continue;
    }
    if (pos >= text.size() || Fold(text[pos]) != Fold(c)) return false;
    ++pos;
  }
  return true;
}

constexpr std::string_view kEra = "A.D.";

}  // namespace

RegionalNames EnglishNames() {
  return RegionalNames{
      {"January", "February", "March", "April", "May", "June", "July", "August", "September",
       "October", "November", "December"},
      {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
      {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"},
      {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"},
      "AM",
      "PM"};
}

PictureDateTimeFormat::PictureDateTimeFormat(std::string datePicture, std::string timePicture,
                                             RegionalNames names)
    : datePicture_(std::move(datePicture)),
      timePicture_(std::move(timePicture)),
      names_(std::move(names)) {}

std::string PictureDateTimeFormat::FormatDate(const CalendarDate& date) const {
  std::string out;
  for (const Token& t : Tokenize(datePicture_, true)) {
    switch (t.letter) {
      case 0: out += t.literal; break;
      case 'd':
        if (t.count <= 2) out += Digits(date.day, t.count);
        else out += (t.count == 3 ? names_.shortDays : names_.days)[static_cast<std::size_t>(WeekdayOf(date))];
        break;
      case 'M':
        if (t.count <= 2) out += Digits(date.month, t.count);
        else out += (t.count == 3 ? names_.shortMonths : names_.months)[static_cast<std::size_t>(date.month - 1)];
        break;
      case 'y':
        if (t.count == 1) out += std::to_string(date.year % 100);
        else if (t.count == 2) out += Digits(date.year % 100, 2);
        else out += Digits(date.year, 4);
        break;
      case 'g': out += kEra; break;
      default: break;
    }
  }
  return out;
}

std::string PictureDateTimeFormat::FormatTime(const TimeOfDay& time) const {
  std::string out;
  const std::string& designator = time.hour < 12 ? names_.am : names_.pm;
  for (const Token& t : Tokenize(timePicture_, false)) {
    switch (t.letter) {
      case 0: out += t.literal; break;
      case 'h': out += Digits(time.hour % 12 == 0 ? 12 : time.hour % 12, t.count >= 2 ? 2 : 1); break;
      case 'H': out += Digits(time.hour, t.count >= 2 ? 2 : 1); break;
      case 'm': out += Digits(time.minute, t.count >= 2 ? 2 : 1); break;
      case 's': out += Digits(time.second, t.count >= 2 ? 2 : 1); break;
      case 't':
        if (t.count == 1) out += designator.substr(0, 1);
        else out += designator;
        break;
      default: break;
    }
  }
  return out;
}

std::optional<CalendarDate> PictureDateTimeFormat::ParseDate(std::string_view text) const {
  CalendarDate date{0, 0, 0};
  bool haveYear = false, haveMonth = false, haveDay = false;
  std::size_t pos = 0;
  text = TrimSpaces(text);
  for (const Token& t : Tokenize(datePicture_, true)) {
    int value = 0;
    switch (t.letter) {
      case 0:
        if (!MatchLiteral(text, pos, t.literal)) return std::nullopt;
        break;
      case 'd':
        if (t.count <= 2) {
          if (!ReadNumber(text, pos, 2, value)) return std::nullopt;
          date.day = value;
          haveDay = true;
        } else if (MatchName(text, pos, names_.days, names_.shortDays) < 0) {
          return std::nullopt;
        }
        break;
      case 'M':
        if (t.count <= 2) {
          if (!ReadNumber(text, pos, 2, value)) return std::nullopt;
        } else {
          value = MatchName(text, pos, names_.months, names_.shortMonths) + 1;
          if (value == 0) return std::nullopt;
        }
        date.month = value;
        haveMonth = true;
        break;
      case 'y':
        if (t.count <= 2) {
          if (!ReadNumber(text, pos, 2, value)) return std::nullopt;
          value += value < 30 ? 2000 : 1900;
        } else if (!ReadNumber(text, pos, 4, value)) {
          return std::nullopt;
        }
        date.year = value;
        haveYear = true;
        break;
      case 'g':
        SkipSpaces(text, pos);
        while (pos < text.size() && (std::isalpha(static_cast<unsigned char>(text[pos])) ||
                                     text[pos] == '.')) {
          ++pos;
        }
        break;
      default: break;
    }
  }
  SkipSpaces(text, pos);
  if (pos != text.size() || !haveYear || !haveMonth || !haveDay || !IsValidDate(date)) {
    return std::nullopt;
  }
  return date;
}

std::optional<TimeOfDay> PictureDateTimeFormat::ParseTime(std::string_view text) const {
  TimeOfDay time{0, 0, 0};
  bool twelveHour = false, haveHour = false;
  int designator = -1;  // 0 am, 1 pm
  std::size_t pos = 0;
  text = TrimSpaces(text);
  for (const Token& t : Tokenize(timePicture_, false)) {
    int value = 0;
    switch (t.letter) {
      case 0:
        if (!MatchLiteral(text, pos, t.literal)) return std::nullopt;
        break;
      case 'h':
      case 'H':
        if (!ReadNumber(text, pos, 2, value)) return std::nullopt;
        time.hour = value;
        twelveHour = t.letter == 'h';
        haveHour = true;
        break;
      case 'm':
        if (!ReadNumber(text, pos, 2, value)) return std::nullopt;
        time.minute = value;
        break;
      case 's':
        if (!ReadNumber(text, pos, 2, value)) return std::nullopt;
        time.second = value;
        break;
      case 't': {
        SkipSpaces(text, pos);
        std::string am = t.count == 1 ? names_.am.substr(0, 1) : names_.am;
        std::string pm = t.count == 1 ? names_.pm.substr(0, 1) : names_.pm;
        // The longer first, in case one designator begins the other.
        bool pmFirst = pm.size() >= am.size();
        for (int pass = 0; pass < 2 && designator < 0; ++pass) {
          bool tryPm = (pass == 0) == pmFirst;
          const std::string& d = tryPm ? pm : am;
          if (!d.empty() && StartsWithFolded(text.substr(pos), d)) {
            designator = tryPm ? 1 : 0;
            pos += d.size();
          }
        }
        break;
      }
      default: break;
    }
  }
  SkipSpaces(text, pos);
  if (pos != text.size() || !haveHour) return std::nullopt;
  if (twelveHour) {
    if (time.hour < 1 || time.hour > 12) return std::nullopt;
    if (designator == 1) time.hour = time.hour % 12 + 12;
    else if (designator == 0) time.hour = time.hour % 12;
  }
  if (!IsValidTime(time)) return std::nullopt;
  return time;
}

std::optional<DateValue> PictureDateTimeFormat::ParseDateValue(std::string_view text) const {
  text = TrimSpaces(text);
  if (text.empty()) return std::nullopt;
  if (auto date = ParseDate(text)) return DateValueOf(*date);
  if (auto time = ParseTime(text)) return DateValueOf(*time);
  // A date and a time: the date picture itself may hold spaces, so every
  // space is a candidate for the one between them.
  for (std::size_t i = text.find(' '); i != std::string_view::npos; i = text.find(' ', i + 1)) {
    auto date = ParseDate(text.substr(0, i));
    if (!date) continue;
    if (auto time = ParseTime(text.substr(i + 1))) return DateValueOf(*date) + DateValueOf(*time);
  }
  return std::nullopt;
}

std::optional<DateValue> PictureDateTimeFormat::ParseTimeValue(std::string_view text) const {
  if (auto time = ParseTime(TrimSpaces(text))) return DateValueOf(*time);
  return ParseDateValue(text);
}

}  // namespace corvane
