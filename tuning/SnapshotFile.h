// The text of a snapshot file: one item per line, each line ended by CR LF.
// Items are a text in double quotes, a whole number, a date #yyyy-mm-dd# or
// a time of day #hh:mm:ss#. After the date, the time and the Windows version
// code come the groups: a key path, then its value-name/value pairs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/OsVersion.h"
#include "platform/Registry.h"
#include "platform/Clock.h"

namespace corvane {

enum class ItemKind { Text, Number, Date, Time };

struct SnapshotItem {
  ItemKind kind = ItemKind::Text;
  std::string text;         // Text
  std::int64_t number = 0;  // Number
  CalendarDate date;        // Date
  TimeOfDay time;           // Time
};

// One line without its line end, as an item; nothing when it is none. A text
// holds no control character; a number is "-" and digits, no spaces, within
// 64 bits.
std::optional<SnapshotItem> ParseItem(std::string_view line);

// Builds the text of a snapshot, item by item.
class SnapshotWriter {
 public:
  void Text(std::string_view text);
  void Number(std::int64_t number);
  void Date(const CalendarDate& date);
  void Time(const TimeOfDay& time);
  const std::string& data() const { return data_; }
  int lines() const { return lines_; }

 private:
  void EndLine();
  std::string data_;
  int lines_ = 0;
};

// Whether a text can be written as a text item and read back the same.
bool CanWriteAsText(std::string_view text);

// The recorded values that a restore accepts: signed 32-bit numbers, and
// 2147483648 to 4294967295 from files that recorded the unsigned form.
inline constexpr std::int64_t kLowestRecorded = -2147483648LL;
inline constexpr std::int64_t kHighestRecorded = 4294967295LL;

struct SnapshotPair {
  std::string name;
  std::int64_t value = 0;  // kLowestRecorded to kHighestRecorded
};

struct SnapshotGroup {
  RootKey root = RootKey::LocalMachine;
  std::string keyPath;
  std::vector<SnapshotPair> pairs;
};

// The number of pairs of the first group for a family code; 0 outside 1-7.
int FirstGroupPairs(OsFamily family);

// A whole snapshot file, read and checked before anything acts on it.
struct SnapshotContents {
  bool headerOk = false;  // date, time and a 16-bit family code were read
  bool ok = false;        // the whole file is well formed
  CalendarDate date;
  TimeOfDay time;
  OsFamily family = 0;
  // In file order, with their roots; for a family code outside 1-7 the groups
  // are not read.
  std::vector<SnapshotGroup> groups;
  int errorLine = 0;  // 1-based; 0 when the error is the file's end
  std::string error;  // what was wrong, for a message
};

// Reads a snapshot as the restore walks it: the first group (10 pairs for
// codes 1-4, 13 for 5-7) under HKEY_LOCAL_MACHINE, the second (2 pairs) under
// HKEY_CURRENT_USER, the third (1 pair) and every further one (2 pairs)
// under HKEY_LOCAL_MACHINE. The file may end after any whole group; a group
// cut short, a line of the wrong kind or a number out of range makes it
// damaged, and so does a last line read without its line end (the writer
// ends every line, so the file was cut). An empty key path from the third group on ends the groups, and
// what follows it is not read. Blank lines at the very end are ignored.
SnapshotContents ReadSnapshot(std::string_view fileText);

// The first two items of a file, as the backup list shows them; each
// nothing when that line is missing or not an item.
struct CreationStamp {
  std::optional<SnapshotItem> first;
  std::optional<SnapshotItem> second;
};
CreationStamp ReadCreationStamp(std::string_view fileText);

}  // namespace corvane
