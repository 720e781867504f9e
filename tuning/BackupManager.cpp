#include "tuning/BackupManager.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>

#include "tuning/Apply.h"
#include "tuning/DriftWatch.h"
#include "tuning/Plan.h"
#include "tuning/Snapshot.h"
#include "tuning/SnapshotFile.h"
#include "platform/Text.h"

namespace corvane {

namespace {

// The start of a file that holds its first two items: a date and a time
// take 14 bytes each; longer first lines are no dates anyway.
constexpr std::size_t kStampBytes = 256;
// Far more than a snapshot with hundreds of adapters takes.
constexpr std::size_t kMaxSnapshotBytes = 1u << 20;

std::string ColumnText(const std::optional<SnapshotItem>& item, const IDateTimeFormat& format) {
  if (!item) return std::string();
  if (item->kind == ItemKind::Date) return format.FormatDate(item->date);
  if (item->kind == ItemKind::Time) return format.FormatTime(item->time);
  return std::string();
}

// One side of a comparison: nothing when the text did not convert.
struct SortValue {
  bool present = false;
  std::string text;
  std::int64_t integer = 0;
  double real = 0;
};

SortValue Convert(std::string_view text, std::int32_t kind, const IDateTimeFormat& format,
                  ColumnHolds holds) {
  SortValue v;
  if (kind == mListView::kKindText) {
    v.present = true;
    v.text = std::string(text);
    return v;
  }
  if (kind == mListView::kKindInteger) {
    std::string_view t = TrimSpaces(text);
    std::int64_t n = 0;
    auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), n);
    if (!t.empty() && error == std::errc() && end == t.data() + t.size() &&
        n >= std::numeric_limits<std::int32_t>::min() && n <= std::numeric_limits<std::int32_t>::max()) {
      v.present = true;
      v.integer = n;
    }
    return v;
  }
  if (kind == mListView::kKindDouble) {
    std::string_view t = TrimSpaces(text);
    double d = 0;
    auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), d);
    if (!t.empty() && error == std::errc() && end == t.data() + t.size()) {
      v.present = true;
      v.real = d;
    }
    return v;
  }
  if (kind == mListView::kKindDate) {
    auto date = holds == ColumnHolds::TimesOfDay ? format.ParseTimeValue(text)
                                                 : format.ParseDateValue(text);
    if (date) {
      v.present = true;
      v.integer = *date;
    }
  }
  return v;
}

int Order(const SortValue& a, const SortValue& b, std::int32_t kind) {
  if (!a.present || !b.present) {
    if (a.present == b.present) return 0;
    return a.present ? 1 : -1;  // an empty side is the smallest value
  }
  if (kind == mListView::kKindText) return a.text < b.text ? -1 : a.text == b.text ? 0 : 1;
  if (kind == mListView::kKindDouble) return a.real < b.real ? -1 : a.real == b.real ? 0 : 1;
  return a.integer < b.integer ? -1 : a.integer == b.integer ? 0 : 1;
}

const std::string& ColumnOf(const BackupEntry& entry, std::int32_t column) {
  static const std::string kNone;
  switch (column) {
    case 1: return entry.fileName;
    case 2: return entry.creatingDate;
    case 3: return entry.creatingTime;
    default: return kNone;
  }
}

bool EqualFolded(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
           return fold(x) == fold(y);
         });
}

}  // namespace

BackupEntry BackupEntryFor(std::string_view name, std::string_view fileStart,
                           const IDateTimeFormat& format) {
  BackupEntry entry;
  std::size_t dot = name.rfind('.');
  entry.fileName = std::string(dot == std::string_view::npos ? name : name.substr(0, dot)) + ".BCK";
  CreationStamp stamp = ReadCreationStamp(fileStart);
  entry.creatingDate = ColumnText(stamp.first, format);
  entry.creatingTime = ColumnText(stamp.second, format);
  return entry;
}

BackupListing ListBackups(IFileSystem& files, const IDateTimeFormat& format,
                          std::string_view programFolder) {
  BackupListing listing;
  std::string folder = BackupsFolder(programFolder);
  if (!files.FolderExists(folder)) {
    listing.code = files.CreateFolder(folder);
    listing.folderCreated = listing.code == fs::kSuccess;
    if (listing.code != fs::kSuccess) {
      listing.message = "The backup folder \"" + folder +
                        "\" could not be created: " + files.DescribeError(listing.code);
    }
    return listing;
  }
  std::vector<std::string> names;
  listing.code = files.ListSnapshotNames(folder, names);
  if (listing.code != fs::kSuccess) {
    listing.message = "The backup folder \"" + folder +
                      "\" could not be read: " + files.DescribeError(listing.code);
    return listing;
  }
  listing.entries.reserve(names.size());
  for (const std::string& name : names) {
    std::string start;
    if (files.ReadFileText(JoinPath(folder, name), kStampBytes, start) != fs::kSuccess) {
      start.clear();
    }
    listing.entries.push_back(BackupEntryFor(name, start, format));
  }
  return listing;
}

int CompareListTexts(std::string_view first, std::string_view second, std::int32_t order,
                     std::int32_t kind, const IDateTimeFormat& format, ColumnHolds holds) {
  // The list hands over at most 31 characters of each text.
  first = first.substr(0, std::min(first.size(), mListView::kCompareTextLength));
  second = second.substr(0, std::min(second.size(), mListView::kCompareTextLength));
  SortValue a = Convert(first, kind, format, holds);
  SortValue b = Convert(second, kind, format, holds);
  int result = Order(a, b, kind);
  return order == 1 ? -result : result;
}

int CompareBackupRows(const BackupEntry& first, const BackupEntry& second, const ListSort& sort,
                      const IDateTimeFormat& format) {
  // "Creating Time" holds times of day only.
  const ColumnHolds holds = sort.column == 3 ? ColumnHolds::TimesOfDay : ColumnHolds::Dates;
  return CompareListTexts(ColumnOf(first, sort.column), ColumnOf(second, sort.column), sort.order,
                          sort.kind, format, holds);
}

void SortBackupEntries(std::vector<BackupEntry>& entries, const ListSort& sort,
                       const IDateTimeFormat& format) {
  std::stable_sort(entries.begin(), entries.end(),
                   [&](const BackupEntry& a, const BackupEntry& b) {
                     return CompareBackupRows(a, b, sort, format) < 0;
                   });
}

HeaderClick ClickBackupHeader(std::array<std::string, 3>& tags, ListSort& sort, std::size_t column,
                              std::string_view caption) {
  HeaderClick click;
  if (column < tags.size()) {
    if (tags[column] != "ASC") {
      tags[column] = "ASC";
      sort.order = 0;
    } else {
      tags[column] = "DESC";
      sort.order = 1;
    }
    for (std::size_t other = 0; other < tags.size(); ++other) {
      if (other != column) tags[other].clear();
    }
  }
  if (caption == kBackupColumns[0]) {
    click.sort = HeaderSort::ByListItself;
  } else if (caption == kBackupColumns[1] || caption == kBackupColumns[2]) {
    click.sort = HeaderSort::ByCompare;
    sort.column = caption == kBackupColumns[1] ? 2 : 3;
    sort.kind = mListView::kKindDate;
  } else {
    click.sort = HeaderSort::Unknown;
    click.message = "Error no such header named " + std::string(caption);
  }
  return click;
}

bool RestoresZeroAsRemoval(std::string_view valueName) {
  static constexpr std::string_view kZeroMeansAbsent[] = {
      // window sizes
      "DefaultRcvWindow", "GlobalMaxTcpWindowSize", "TcpWindowSize", "DefaultReceiveWindow",
      // time to live, keep-alive times
      "DefaultTTL", "KeepAliveTime", "KeepAliveInterval",
      // browser connections per server
      "MaxConnectionsPer1_0Server", "MaxConnectionsPerServer",
      // per adapter
      "MaxMTU", "MaxMSS", "MTU", "MSS"};
  for (std::string_view name : kZeroMeansAbsent) {
    if (EqualFolded(name, valueName)) return true;
  }
  return false;
}

LoadedSnapshot LoadSnapshotForRestore(const TuningContext& context, std::string_view fileName,
                                      OsFamily family) {
  LoadedSnapshot result;
  const std::string path = JoinPath(BackupsFolder(context.programFolder), fileName);
  const std::string nothing = "\nNo setting was changed.";
  std::string text;
  FsStatus code = context.files.ReadFileText(path, kMaxSnapshotBytes + 1, text);
  if (code != fs::kSuccess) {
    result.status = RestoreStatus::Unreadable;
    result.message = "The backup file " + std::string(fileName) +
                     " could not be read: " + context.files.DescribeError(code) + nothing;
    return result;
  }
  auto damaged = [&](const std::string& why) {
    result.status = RestoreStatus::Damaged;
    result.message = "The backup file " + std::string(fileName) +
                     " is damaged or incomplete: " + why + "." + nothing;
    result.contents = SnapshotContents{};
    return result;
  };
  if (text.size() > kMaxSnapshotBytes) return damaged("it is far too large for a backup file");

  result.contents = ReadSnapshot(text);
  const SnapshotContents& contents = result.contents;
  auto where = [&] {
    return contents.errorLine > 0 ? "line " + std::to_string(contents.errorLine) + ": " + contents.error
                                  : contents.error;
  };
  if (!contents.headerOk) return damaged(where());
  // The whole code: a snapshot goes back only to the Windows version it came from.
  if (contents.family != family) {
    result.status = RestoreStatus::OtherFamily;
    result.message = std::string(kOtherFamilyMessage);
    return result;
  }
  if (!Is9xFamily(contents.family) && !IsNtFamily(contents.family)) {
    result.status = RestoreStatus::NothingToDo;
    return result;
  }
  if (!contents.ok) return damaged(where());
  return result;
}

RestoreResult RestoreSnapshot(const TuningContext& context, std::string_view fileName) {
  RestoreResult result;
  LoadedSnapshot loaded = LoadSnapshotForRestore(context, fileName, currentOsFamily);
  if (loaded.status != RestoreStatus::Restored) {
    result.status = loaded.status;
    result.message = loaded.message;
    return result;
  }
  const bool nt = IsNtFamily(loaded.contents.family);
  ForEachRestoreWrite(loaded.contents, [&](const PlannedWrite& w) {
    ChangeValue(context.registry, w.root, w.keyPath, w.valueName, w.type, w.value, w.remove,
                result.changes, &result.written);
  });
  // The values applied last are no longer meant to be in place: the drift
  // watch has nothing to compare with until the next apply.
  (void)context.files.RemoveFile(JoinPath(BackupsFolder(context.programFolder), kAppliedRecordName));
  result.message = JoinMessages(
      FailureMessage(result.changes, "Some settings could not be restored", ""),
      IgnoredValuesNote(currentWindowsVersion, nt ? MapGroup::Nt : MapGroup::Windows9x,
                        result.written));
  return result;
}

DeleteResult DeleteBackup(IFileSystem& files, std::string_view programFolder,
                          std::string_view fileName) {
  DeleteResult result;
  result.code = files.RemoveFile(JoinPath(BackupsFolder(programFolder), fileName));
  result.deleted = result.code == fs::kSuccess;
  if (!result.deleted) {
    result.message = "The backup file " + std::string(fileName) +
                     " could not be deleted: " + files.DescribeError(result.code);
  }
  return result;
}

}  // namespace corvane
