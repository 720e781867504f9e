#include "tuning/SnapshotFile.h"

#include <array>
#include <charconv>
#include <limits>

namespace corvane {

namespace {

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int Int(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

// The three numbers of text when it is firstDigits digits, sep, two digits,
// sep, two digits ("2024-05-31", "23:59:00"); nothing otherwise.
std::optional<std::array<int, 3>> DigitTriple(std::string_view text, std::size_t firstDigits,
                                              char sep) {
  const std::size_t second = firstDigits + 1, third = firstDigits + 4;
  if (text.size() != firstDigits + 6 || text[second - 1] != sep || text[third - 1] != sep) {
    return std::nullopt;
  }
  const std::string_view parts[3] = {text.substr(0, firstDigits), text.substr(second, 2),
                                     text.substr(third, 2)};
  std::array<int, 3> values{};
  for (std::size_t i = 0; i < 3; ++i) {
    if (!AllDigits(parts[i])) return std::nullopt;
    values[i] = Int(parts[i]);
  }
  return values;
}

std::string TwoDigits(int value) {
  return std::string{static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

struct Line {
  std::string_view text;
  bool ended = true;  // an LF follows it
};

// Splits the file into lines at LF, dropping one CR before each LF. A last
// line without a line end is kept and marked: every line the program writes
// ends with CR LF, so such a line was cut short.
std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const bool ended = end != std::string_view::npos;
    if (!ended) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (ended && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back({line, ended});
    start = end + 1;
  }
  // Blank lines that an editor may have left at the very end.
  while (!lines.empty() && (lines.back().text.empty() || lines.back().text == "\r")) lines.pop_back();
  return lines;
}

class LineReader {
 public:
  explicit LineReader(std::string_view text) : lines_(SplitLines(text)) {}
  bool AtEnd() const { return next_ >= lines_.size(); }
  int LineNumber() const { return static_cast<int>(next_) + 1; }
  // The next line is the file's last and has lost its line end.
  bool NextIsCut() const { return !AtEnd() && !lines_[next_].ended; }
  std::optional<SnapshotItem> Next() {
    if (AtEnd()) return std::nullopt;
    return ParseItem(lines_[next_++].text);
  }

 private:
  std::vector<Line> lines_;
  std::size_t next_ = 0;
};

constexpr std::string_view kCutLine = "the line has no line end, so the file was cut short";

}  // namespace

bool CanWriteAsText(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return true;
}

std::optional<SnapshotItem> ParseItem(std::string_view line) {
  SnapshotItem item;
  if (line.size() >= 2 && line.front() == '"' && line.back() == '"') {
    std::string_view inner = line.substr(1, line.size() - 2);
    if (!CanWriteAsText(inner)) return std::nullopt;
    item.kind = ItemKind::Text;
    item.text = std::string(inner);
    return item;
  }
  if (line.size() >= 2 && line.front() == '#' && line.back() == '#') {
    std::string_view inner = line.substr(1, line.size() - 2);
    if (auto date = DigitTriple(inner, 4, '-')) {
      item.kind = ItemKind::Date;
      item.date = {(*date)[0], (*date)[1], (*date)[2]};
      if (!IsValidDate(item.date)) return std::nullopt;
      return item;
    }
    if (auto time = DigitTriple(inner, 2, ':')) {
      item.kind = ItemKind::Time;
      item.time = {(*time)[0], (*time)[1], (*time)[2]};
      if (!IsValidTime(item.time)) return std::nullopt;
      return item;
    }
    return std::nullopt;
  }
  std::string_view digits = line;
  if (!digits.empty() && digits.front() == '-') digits.remove_prefix(1);
  if (!AllDigits(digits)) return std::nullopt;
  std::int64_t value = 0;
  auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
  if (error != std::errc() || end != line.data() + line.size()) return std::nullopt;
  item.kind = ItemKind::Number;
  item.number = value;
  return item;
}

void SnapshotWriter::EndLine() {
  data_ += "\r\n";
  ++lines_;
}

void SnapshotWriter::Text(std::string_view text) {
  data_ += '"';
  data_ += text;
  data_ += '"';
  EndLine();
}

void SnapshotWriter::Number(std::int64_t number) {
  data_ += std::to_string(number);
  EndLine();
}

void SnapshotWriter::Date(const CalendarDate& date) {
  std::string year = std::to_string(date.year);
  while (year.size() < 4) year.insert(year.begin(), '0');
  data_ += "#" + year + "-" + TwoDigits(date.month) + "-" + TwoDigits(date.day) + "#";
  EndLine();
}

void SnapshotWriter::Time(const TimeOfDay& time) {
  data_ += "#" + TwoDigits(time.hour) + ":" + TwoDigits(time.minute) + ":" +
           TwoDigits(time.second) + "#";
  EndLine();
}

int FirstGroupPairs(OsFamily family) {
  if (Is9xFamily(family)) return 10;
  if (IsNtFamily(family)) return 13;
  return 0;
}

SnapshotContents ReadSnapshot(std::string_view fileText) {
  SnapshotContents result;
  LineReader reader(fileText);
  auto fail = [&](int line, std::string what) {
    result.ok = false;
    result.errorLine = line;
    result.error = std::move(what);
    return result;
  };

  // The next item when it is of the kind expected; otherwise the error is
  // recorded in result (a cut line, or what was expected, at the item's
  // line) and nothing comes back.
  int line = 0;
  auto expect = [&](ItemKind kind, const char* expected) -> std::optional<SnapshotItem> {
    line = reader.LineNumber();
    if (reader.NextIsCut()) {
      (void)fail(line, std::string(kCutLine));
      return std::nullopt;
    }
    auto item = reader.Next();
    if (!item || item->kind != kind) {
      (void)fail(line, expected);
      return std::nullopt;
    }
    return item;
  };

  auto date = expect(ItemKind::Date, "a date (#yyyy-mm-dd#) was expected");
  if (!date) return result;
  auto time = expect(ItemKind::Time, "a time of day (#hh:mm:ss#) was expected");
  if (!time) return result;
  auto family = expect(ItemKind::Number, "the Windows version code was expected");
  if (!family) return result;
  if (family->number < std::numeric_limits<OsFamily>::min() ||
      family->number > std::numeric_limits<OsFamily>::max()) {
    return fail(line, "the Windows version code is out of range");
  }
  result.date = date->date;
  result.time = time->time;
  result.family = static_cast<OsFamily>(family->number);
  result.headerOk = true;

  const int firstPairs = FirstGroupPairs(result.family);
  if (firstPairs == 0) {
    result.ok = true;  // nothing of such a file is ever written back
    return result;
  }

  for (std::size_t index = 0; !reader.AtEnd(); ++index) {
    SnapshotGroup group;
    group.root = index == 1 ? RootKey::CurrentUser : RootKey::LocalMachine;
    const int groupLine = reader.LineNumber();
    auto key = expect(ItemKind::Text, "a key path in double quotes was expected");
    if (!key) return result;
    if (key->text.empty()) {
      // From the third group on an empty key path ends the groups; in the
      // first two it would name the root of a hive, which no snapshot holds.
      if (index < 2) return fail(groupLine, "the key path is empty");
      break;
    }
    group.keyPath = key->text;
    const int pairs = index == 0 ? firstPairs : index == 2 ? 1 : 2;
    // As expect, for the items of the group: the file may not end first.
    auto expectInGroup = [&](ItemKind kind, const char* expected) -> std::optional<SnapshotItem> {
      if (reader.AtEnd()) {
        (void)fail(0, "the file ends inside the group that begins on line " +
                          std::to_string(groupLine));
        return std::nullopt;
      }
      return expect(kind, expected);
    };
    for (int p = 0; p < pairs; ++p) {
      auto name = expectInGroup(ItemKind::Text, "a value name in double quotes was expected");
      if (!name) return result;
      auto value = expectInGroup(ItemKind::Number, "a number was expected");
      if (!value) return result;
      if (value->number < kLowestRecorded || value->number > kHighestRecorded) {
        return fail(line, "the number is out of range");
      }
      group.pairs.push_back({name->text, value->number});
    }
    result.groups.push_back(std::move(group));
  }
  result.ok = true;
  return result;
}

CreationStamp ReadCreationStamp(std::string_view fileText) {
  CreationStamp stamp;
  std::vector<Line> lines = SplitLines(fileText);
  if (lines.size() >= 1) stamp.first = ParseItem(lines[0].text);
  if (lines.size() >= 2) stamp.second = ParseItem(lines[1].text);
  return stamp;
}

}  // namespace corvane
