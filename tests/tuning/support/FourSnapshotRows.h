// The backup list's rows for four snapshots whose dates and times sort
// differently, in a date and time format's own texts, and the order a click
// on a column heading sorts them into. In file-name order the snapshots
// come by date 3, 1, 2, 4 and by time of day 4, 1, 2, 3.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "tuning/BackupManager.h"
#include "tuning/DateTimeFormat.h"

namespace corvane::testing {

inline std::vector<BackupEntry> FourSnapshotRows(const IDateTimeFormat& format) {
  struct Taken {
    const char* file;
    CalendarDate date;
    TimeOfDay time;
  };
  const Taken taken[] = {{"001.BCK", {2009, 5, 14}, {14, 5, 9}},
                         {"002.BCK", {2009, 6, 1}, {15, 4, 8}},
                         {"003.BCK", {2008, 4, 15}, {23, 59, 59}},
                         {"004.BCK", {2010, 1, 2}, {0, 30, 0}}};
  std::vector<BackupEntry> rows;
  for (const Taken& t : taken) rows.push_back({t.file, format.FormatDate(t.date), format.FormatTime(t.time)});
  return rows;
}

// The rows' file names once a first click on heading `column` (1 "Creating
// Date", 2 "Creating Time") has sorted them.
inline std::vector<std::string> SortedByHeading(const std::vector<BackupEntry>& rows, std::size_t column,
                                                const IDateTimeFormat& format) {
  std::array<std::string, 3> tags;
  ListSort sort;
  ClickBackupHeader(tags, sort, column, kBackupColumns[column]);
  std::vector<BackupEntry> sorted = rows;
  SortBackupEntries(sorted, sort, format);
  std::vector<std::string> names;
  for (const BackupEntry& e : sorted) names.push_back(e.fileName);
  return names;
}

}  // namespace corvane::testing
