// The regional date and time texts of the real system, and reading them back.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/tuning/support/FourSnapshotRows.h"
#include "tests/tuning/win/WinTuningEnvironment.h"
#include "tuning/BackupManager.h"
#include "tuning/win32/Win32DateTimeFormat.h"

namespace corvane::testing {
namespace {

const CalendarDate kDates[] = {{2008, 1, 21}, {1999, 12, 31}, {2000, 2, 29}, {2029, 11, 5},
                               {1980, 7, 4}};
const TimeOfDay kTimes[] = {{0, 0, 0}, {9, 5, 3}, {11, 59, 59}, {12, 0, 0}, {14, 5, 9}, {23, 59, 59}};

TEST(RegionalFormatOnWindows, TheSystemsTextsReadBackAsTheirValues) {
  win32::Win32DateTimeFormat format;
  for (const CalendarDate& d : kDates) {
    std::string text = format.FormatDate(d);
    EXPECT_FALSE(text.empty());
    // The portable writer agrees with GetDateFormatA for the region's picture.
    EXPECT_EQ(format.reader().FormatDate(d), text) << format.reader().datePicture();
    EXPECT_EQ(format.ParseDateValue(text), DateValueOf(d)) << text;
  }
  for (const TimeOfDay& t : kTimes) {
    std::string text = format.FormatTime(t);
    EXPECT_EQ(format.reader().FormatTime(t), text) << format.reader().timePicture();
    // Read as a time: in some regions ("14.05.09") the text is a date too.
    EXPECT_EQ(format.ParseTimeValue(text), DateValueOf(t)) << text;
  }
}

// The regional suites start this program under several regions; each says
// which one it asked for (a locale identifier in hex), so that a region the
// system did not take cannot pass as the default one.
TEST(RegionalFormatOnWindows, TheRegionIsTheOneAskedFor) {
  char wanted[16] = {};
  DWORD length = ::GetEnvironmentVariableA("CORVANE_EXPECTED_LCID", wanted, sizeof wanted);
  if (length == 0 || length >= sizeof wanted) GTEST_SKIP() << "no region asked for";
  win32::Win32DateTimeFormat format;
  EXPECT_EQ(::GetUserDefaultLCID(), std::strtoul(wanted, nullptr, 16))
      << "date picture " << format.reader().datePicture() << ", time picture "
      << format.reader().timePicture();
}

TEST(RegionalFormatOnWindows, TheDateSortOrdersTheSystemsTexts) {
  win32::Win32DateTimeFormat format;
  const std::int32_t D = mListView::kKindDate;
  for (std::size_t i = 0; i + 1 < std::size(kDates); ++i) {
    const CalendarDate& a = kDates[i];
    const CalendarDate& b = kDates[i + 1];
    int expected = DateValueOf(a) < DateValueOf(b) ? -1 : 1;
    EXPECT_EQ(CompareListTexts(format.FormatDate(a), format.FormatDate(b), 0, D, format), expected);
    EXPECT_EQ(CompareListTexts(format.FormatDate(a), format.FormatDate(b), 1, D, format), -expected);
  }
  const ColumnHolds times = ColumnHolds::TimesOfDay;
  EXPECT_EQ(CompareListTexts(format.FormatTime({14, 5, 9}), format.FormatTime({9, 5, 3}), 0, D, format, times), 1);
  EXPECT_EQ(CompareListTexts(format.FormatTime({14, 5, 9}), format.FormatTime({15, 4, 8}), 0, D, format, times), -1);
  EXPECT_EQ(CompareListTexts("", format.FormatTime({0, 0, 0}), 0, D, format, times), -1);
}

// "Creating Time" orders the rows by time of day whatever their dates, and
// "Creating Date" by date, in the region's own texts: where the time picture
// uses the date separator, a time must not be read as a date.
TEST(RegionalFormatOnWindows, EachColumnSortsTheSystemsTextsByWhatItHolds) {
  win32::Win32DateTimeFormat format;
  const std::vector<BackupEntry> rows = FourSnapshotRows(format);
  const std::string pictures = format.reader().datePicture() + " " + format.reader().timePicture();
  EXPECT_EQ(SortedByHeading(rows, 1, format), (std::vector<std::string>{"003.BCK", "001.BCK", "002.BCK", "004.BCK"}))
      << pictures;
  EXPECT_EQ(SortedByHeading(rows, 2, format), (std::vector<std::string>{"004.BCK", "001.BCK", "002.BCK", "003.BCK"}))
      << pictures << ": " << rows[0].creatingTime << ", " << rows[1].creatingTime;
}

TEST(RegionalFormatOnWindows, TheBackupListOfRealFiles) {
  win32::Win32DateTimeFormat format;
  ScratchFolder program;
  win32::Win32FileSystem files;
  BackupListing listing = ListBackups(files, format, program.path());
  EXPECT_TRUE(listing.folderCreated);
  EXPECT_TRUE(listing.entries.empty());
  std::string backups = program.path() + "\\Backups";
  ASSERT_EQ(files.WriteFileWhole(backups + "\\12.bck", "#2008-01-21#\r\n#14:05:09#\r\n7\r\n"), 0u);
  ASSERT_EQ(files.WriteFileWhole(backups + "\\odd.BCK", "not a snapshot"), 0u);
  listing = ListBackups(files, format, program.path());
  ASSERT_EQ(listing.entries.size(), 2u);
  std::sort(listing.entries.begin(), listing.entries.end(),
            [](const BackupEntry& a, const BackupEntry& b) { return a.fileName < b.fileName; });
  EXPECT_EQ(listing.entries[0],
            (BackupEntry{"12.BCK", format.FormatDate({2008, 1, 21}), format.FormatTime({14, 5, 9})}));
  EXPECT_EQ(listing.entries[1], (BackupEntry{"odd.BCK", "", ""}));
  DeleteResult deleted = DeleteBackup(files, program.path(), "12.BCK");
  EXPECT_TRUE(deleted.deleted) << deleted.message;
  deleted = DeleteBackup(files, program.path(), "12.BCK");
  EXPECT_FALSE(deleted.deleted);
  EXPECT_FALSE(deleted.message.empty());
}

}  // namespace
}  // namespace corvane::testing
