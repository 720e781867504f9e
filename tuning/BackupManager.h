// The backup manager's operations, apart from its window: the list of
// snapshot files with their creation dates and times, the comparison that
// sorts it by date or by time, restoring a snapshot and deleting one.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tuning/DateTimeFormat.h"
#include "tuning/FileSystem.h"
#include "tuning/HonouredValues.h"
#include "tuning/SnapshotFile.h"
#include "tuning/TuningContext.h"

namespace corvane {

// One row of the list.
struct BackupEntry {
  std::string fileName;      // base name + ".BCK"; also what Restore and Delete act on
  std::string creatingDate;  // the file's first item in the regional format, or empty
  std::string creatingTime;  // its second item likewise
  bool operator==(const BackupEntry&) const = default;
};

struct BackupListing {
  std::vector<BackupEntry> entries;  // in the directory's enumeration order
  bool folderCreated = false;        // Backups was missing and has been created
  FsStatus code = 0;                 // why the folder could not be created or read
  std::string message;               // for the user when code is not 0
};

// The rows for the *.BCK entries of Backups. A missing folder is created and
// gives an empty list; a file that cannot be read, or whose first two items
// are no date and time, gets empty texts and never fails the listing.
BackupListing ListBackups(IFileSystem& files, const IDateTimeFormat& format,
                          std::string_view programFolder);
// The row of one entry, from the start of its file (nothing read: empty texts).
BackupEntry BackupEntryFor(std::string_view name, std::string_view fileStart,
                           const IDateTimeFormat& format);

// How a column's text is converted before comparing.
namespace mListView {
inline constexpr std::int32_t kKindText = 0;
inline constexpr std::int32_t kKindInteger = 1;
inline constexpr std::int32_t kKindDouble = 2;
inline constexpr std::int32_t kKindDate = 3;
// The list reads at most this many characters of a column text.
inline constexpr std::size_t kCompareTextLength = 31;
}  // namespace mListView

// How the backup list compares its rows. The backup manager's model keeps
// it; a click on a column header changes it.
struct ListSort {
  std::int32_t column = 1;                   // 1-based column whose text is compared
  std::int32_t order = 0;                    // 0 ascending, 1 descending
  std::int32_t kind = mListView::kKindText;  // how the text is converted before comparing
  friend bool operator==(const ListSort&, const ListSort&) = default;
};

// What a column compared as dates holds.
enum class ColumnHolds { Dates, TimesOfDay };

// Two column texts compared as CompareListItems compares them: each cut to
// 31 characters and converted by kind (a text that does not convert is the
// smallest value), the two exchanged for order 1; -1, 0 or 1. A column of
// times of day is read as times for kind 3.
int CompareListTexts(std::string_view first, std::string_view second, std::int32_t order,
                     std::int32_t kind, const IDateTimeFormat& format,
                     ColumnHolds holds = ColumnHolds::Dates);
// Two rows by the sort's column, order and kind.
int CompareBackupRows(const BackupEntry& first, const BackupEntry& second, const ListSort& sort,
                      const IDateTimeFormat& format);
// Orders the rows as the list's sort by CompareBackupRows does (stable).
void SortBackupEntries(std::vector<BackupEntry>& entries, const ListSort& sort,
                       const IDateTimeFormat& format);

// The captions of the list's columns, in order.
inline constexpr std::array<std::string_view, 3> kBackupColumns{"File Name", "Creating Date",
                                                                "Creating Time"};

enum class HeaderSort {
  ByListItself,  // "File Name": the list sorts its own text column
  ByCompare,     // the dates or the times, through CompareBackupRows
  Unknown,       // not one of the three captions
};

struct HeaderClick {
  HeaderSort sort = HeaderSort::Unknown;
  std::string message;  // for HeaderSort::Unknown
};

// A click on header `column` (0-based) with that caption: alternates its tag
// "ASC"/"DESC" (the first click ascending), clears the other two, and sets
// the sort's order, and for the date and time columns its column and kind.
HeaderClick ClickBackupHeader(std::array<std::string, 3>& tags, ListSort& sort, std::size_t column,
                              std::string_view caption);

enum class RestoreStatus {
  Restored,     // every value was attempted (see changes for failures)
  OtherFamily,  // taken on another Windows version: nothing written
  Unreadable,   // the file could not be read: nothing written
  Damaged,      // not a whole, well-formed snapshot: nothing written
  NothingToDo,  // the version code is outside 1-7: nothing written
};

struct RestoreResult {
  RestoreStatus status = RestoreStatus::Restored;
  ChangeCounts changes;
  std::vector<WrittenValueRef> written;  // the values written back (not removed)
  std::string message;  // for the user; empty after a restore without failures
};

inline constexpr std::string_view kOtherFamilyMessage =
    "This backup file was taken from another operating system!!";

// Whether a recorded 0 of this value means "absent" (0 is no legal setting,
// so it can only have come from a missing value) and is restored by removing
// the value.
bool RestoresZeroAsRemoval(std::string_view valueName);

// A snapshot file read and checked whole for a restore on the Windows of
// `family`: status Restored when `contents` may be written back; otherwise
// the message says why not (the restore's own messages).
struct LoadedSnapshot {
  RestoreStatus status = RestoreStatus::Restored;
  std::string message;
  SnapshotContents contents;
};
LoadedSnapshot LoadSnapshotForRestore(const TuningContext& context, std::string_view fileName,
                                      OsFamily family);

// Writes the snapshot `fileName` of Backups back with SetRegValue, only when
// it was taken on the same Windows version (the whole code) as
// currentOsFamily. The whole file is read and checked before the first write.
RestoreResult RestoreSnapshot(const TuningContext& context, std::string_view fileName);

struct DeleteResult {
  bool deleted = false;
  FsStatus code = 0;
  std::string message;  // for the user when the file could not be deleted
};

DeleteResult DeleteBackup(IFileSystem& files, std::string_view programFolder,
                          std::string_view fileName);

}  // namespace corvane
