// The backup manager's operations: listing, sorting by date and time,
// restoring and deleting.
#include <gtest/gtest.h>

#include "tests/tuning/support/FixedClock.h"
#include "tests/tuning/support/FourSnapshotRows.h"
#include "tests/tuning/support/MemoryFileSystem.h"
#include "tests/tuning/support/ProgramFolder.h"
#include "tests/tuning/support/RecordingRegistry.h"
#include "tests/tuning/support/RegistryStates.h"
#include "tuning/BackupManager.h"
#include "tuning/SnapshotFile.h"

namespace corvane {
namespace {

using testing::MemoryFileSystem;
using testing::RecordingRegistry;
using testing::RegistryFlavor;

std::string In(std::string_view name) { return JoinPath(testing::kBackups, name); }

const PictureDateTimeFormat kIso("yyyy-MM-dd", "HH:mm:ss");
const PictureDateTimeFormat kUs("M/d/yyyy", "h:mm:ss tt");

std::string Stamp(std::string_view date, std::string_view time) {
  return std::string(date) + "\r\n" + std::string(time) + "\r\n7\r\n";
}

TEST(BackupListing, AMissingFolderIsCreatedAndGivesAnEmptyList) {
  MemoryFileSystem files;
  files.AddFolder(testing::kFolder);
  BackupListing listing = ListBackups(files, kIso, testing::kFolder);
  EXPECT_TRUE(listing.entries.empty());
  EXPECT_TRUE(listing.folderCreated);
  EXPECT_EQ(listing.code, 0u);
  EXPECT_TRUE(files.FolderExists(testing::kBackups));
  listing = ListBackups(files, kIso, testing::kFolder);
  EXPECT_FALSE(listing.folderCreated);
  EXPECT_TRUE(listing.entries.empty());
}

TEST(BackupListing, RowsShowBaseNamePlusBckAndTheFirstTwoItems) {
  MemoryFileSystem files;
  files.AddFile(In("007.BCK"), Stamp("#2008-01-21#", "#14:05:09#"));
  files.AddFile(In("12.bck"), Stamp("#2007-12-03#", "#09:00:00#"));
  files.AddFile(In("notes.txt"), Stamp("#2007-12-03#", "#09:00:00#"));
  files.AddFile(In("junk.BCK"), "hello\r\nworld\r\n");
  files.AddFile(In("empty.BCK"), "");
  files.AddFile(In("cut.BCK"), "#2008-01-21#\r\n#14:0");
  files.AddFile(In("swapped.BCK"), Stamp("#14:05:09#", "#2008-01-21#"));
  files.AddFolder(In("folder.BCK"));
  BackupListing listing = ListBackups(files, kUs, testing::kFolder);
  EXPECT_EQ(listing.code, 0u);
  EXPECT_EQ(listing.entries,
            (std::vector<BackupEntry>{{"007.BCK", "1/21/2008", "2:05:09 PM"},
                                      {"12.BCK", "12/3/2007", "9:00:00 AM"},
                                      {"junk.BCK", "", ""},
                                      {"empty.BCK", "", ""},
                                      {"cut.BCK", "1/21/2008", ""},
                                      {"swapped.BCK", "2:05:09 PM", "1/21/2008"}}))
      << "a folder is no snapshot, whatever its name";
}

TEST(BackupListing, AFileThatCannotBeReadStillGetsItsRow) {
  MemoryFileSystem files;
  files.AddFile(In("001.BCK"), Stamp("#2008-01-21#", "#14:05:09#"));
  files.fault = [](testing::FsOp op, std::string_view) {
    return op == testing::FsOp::Read ? fs::kAccessDenied : 0;
  };
  BackupListing listing = ListBackups(files, kIso, testing::kFolder);
  EXPECT_EQ(listing.entries, (std::vector<BackupEntry>{{"001.BCK", "", ""}}));
}

TEST(BackupListing, AFileWhereTheFolderShouldBeGivesAMessage) {
  MemoryFileSystem files;
  files.AddFile(testing::kBackups, "x");
  BackupListing listing = ListBackups(files, kIso, testing::kFolder);
  EXPECT_TRUE(listing.entries.empty());
  EXPECT_NE(listing.code, 0u);
  EXPECT_NE(listing.message.find(testing::kBackups), std::string::npos);
}

TEST(BackupSorting, DatesAndTimesCompareAsValuesInEitherOrder) {
  const std::int32_t D = mListView::kKindDate;
  EXPECT_EQ(CompareListTexts("1/21/2008", "12/3/2007", 0, D, kUs), 1);
  EXPECT_EQ(CompareListTexts("1/21/2008", "12/3/2007", 1, D, kUs), -1);
  EXPECT_EQ(CompareListTexts("1/21/2008", "1/21/2008", 0, D, kUs), 0);
  EXPECT_EQ(CompareListTexts("2:05:09 PM", "9:00:00 AM", 0, D, kUs), 1);
  EXPECT_EQ(CompareListTexts("12:00:00 AM", "1:00:00 AM", 0, D, kUs), -1);
  // A text that does not convert is the smallest value, in either order.
  EXPECT_EQ(CompareListTexts("", "1/1/1990", 0, D, kUs), -1);
  EXPECT_EQ(CompareListTexts("", "1/1/1990", 1, D, kUs), 1);
  EXPECT_EQ(CompareListTexts("rubbish", "", 0, D, kUs), 0);
  // Only the first 31 characters are compared.
  std::string padded = "1/21/2008" + std::string(22, ' ');
  EXPECT_EQ(CompareListTexts(padded + "x", "1/21/2008", 0, D, kUs), 0);
  EXPECT_EQ(CompareListTexts(padded.substr(1) + "x", "1/21/2008", 0, D, kUs), -1);
}

TEST(BackupSorting, TheOtherKindsOfTheListModule) {
  EXPECT_EQ(CompareListTexts("10", "9", 0, mListView::kKindText, kIso), -1);
  EXPECT_EQ(CompareListTexts("10", "9", 0, mListView::kKindInteger, kIso), 1);
  EXPECT_EQ(CompareListTexts("3000000000", "9", 0, mListView::kKindInteger, kIso), -1);
  EXPECT_EQ(CompareListTexts("1.5", "1.25", 0, mListView::kKindDouble, kIso), 1);
  EXPECT_EQ(CompareListTexts("abc", "-7", 0, mListView::kKindDouble, kIso), -1);
}

TEST(BackupSorting, HeaderClicksAlternateAndStartAscendingOnANewColumn) {
  std::array<std::string, 3> tags;
  ListSort sort;
  HeaderClick click = ClickBackupHeader(tags, sort, 1, "Creating Date");
  EXPECT_EQ(click.sort, HeaderSort::ByCompare);
  EXPECT_EQ(sort.column, 2);
  EXPECT_EQ(sort.kind, mListView::kKindDate);
  EXPECT_EQ(sort.order, 0);
  EXPECT_EQ(tags, (std::array<std::string, 3>{"", "ASC", ""}));
  ClickBackupHeader(tags, sort, 1, "Creating Date");
  EXPECT_EQ(sort.order, 1);
  EXPECT_EQ(tags[1], "DESC");
  ClickBackupHeader(tags, sort, 1, "Creating Date");
  EXPECT_EQ(sort.order, 0);
  ClickBackupHeader(tags, sort, 1, "Creating Date");
  click = ClickBackupHeader(tags, sort, 2, "Creating Time");
  EXPECT_EQ(sort.column, 3);
  EXPECT_EQ(sort.order, 0);
  EXPECT_EQ(tags, (std::array<std::string, 3>{"", "", "ASC"}));
  click = ClickBackupHeader(tags, sort, 0, "File Name");
  EXPECT_EQ(click.sort, HeaderSort::ByListItself);
  EXPECT_EQ(tags, (std::array<std::string, 3>{"ASC", "", ""}));
  click = ClickBackupHeader(tags, sort, 0, "Size");
  EXPECT_EQ(click.sort, HeaderSort::Unknown);
  EXPECT_EQ(click.message, "Error no such header named Size");
}

TEST(BackupSorting, ByDateThenByTimeOfDayWhateverTheDates) {
  std::vector<BackupEntry> rows = {{"001.BCK", "1/21/2008", "2:05:09 PM"},
                                   {"002.BCK", "12/3/2007", "9:00:00 AM"},
                                   {"003.BCK", "", ""},
                                   {"004.BCK", "1/21/2008", "8:30:00 AM"},
                                   {"005.BCK", "2/1/2008", "11:59:59 PM"}};
  auto names = [](const std::vector<BackupEntry>& v) {
    std::vector<std::string> n;
    for (const auto& e : v) n.push_back(e.fileName);
    return n;
  };
  std::array<std::string, 3> tags;
  ListSort sort;
  ClickBackupHeader(tags, sort, 1, "Creating Date");
  SortBackupEntries(rows, sort, kUs);
  // 001 and 004 share a day and compare equal.
  EXPECT_EQ(names(rows)[0], "003.BCK");
  EXPECT_EQ(names(rows)[1], "002.BCK");
  EXPECT_EQ(names(rows)[4], "005.BCK");
  ClickBackupHeader(tags, sort, 1, "Creating Date");
  SortBackupEntries(rows, sort, kUs);
  EXPECT_EQ(names(rows)[0], "005.BCK");
  EXPECT_EQ(names(rows)[4], "003.BCK");
  ClickBackupHeader(tags, sort, 2, "Creating Time");
  SortBackupEntries(rows, sort, kUs);
  EXPECT_EQ(names(rows), (std::vector<std::string>{"003.BCK", "004.BCK", "002.BCK", "001.BCK",
                                                   "005.BCK"}));
}

// Where the time picture uses the date separator (Finnish, Danish), a time
// such as 14.05.09 also reads as a date (14 May of year 9): each column is
// read as what it holds.
TEST(BackupSorting, EachColumnIsReadAsWhatItHoldsInEveryRegion) {
  struct Region {
    const char* name;
    const char* datePicture;
    const char* timePicture;
  };
  const Region regions[] = {{"en_US", "M/d/yyyy", "h:mm:ss tt"},
                            {"de_DE", "dd.MM.yyyy", "HH:mm:ss"},
                            {"fi_FI", "d.M.yyyy", "H.mm.ss"},
                            {"da_DK", "dd.MM.yyyy", "HH.mm.ss"},
                            {"da_DK (older)", "dd-MM-yyyy", "HH.mm.ss"},
                            {"ja_JP", "yyyy/MM/dd", "H:mm:ss"}};
  for (const Region& region : regions) {
    SCOPED_TRACE(region.name);
    const PictureDateTimeFormat format(region.datePicture, region.timePicture);
    const std::vector<BackupEntry> rows = testing::FourSnapshotRows(format);
    EXPECT_EQ(testing::SortedByHeading(rows, 1, format),
              (std::vector<std::string>{"003.BCK", "001.BCK", "002.BCK", "004.BCK"}));
    EXPECT_EQ(testing::SortedByHeading(rows, 2, format),
              (std::vector<std::string>{"004.BCK", "001.BCK", "002.BCK", "003.BCK"}))
        << rows[0].creatingTime << " " << rows[1].creatingTime;
  }
  const PictureDateTimeFormat finnish("d.M.yyyy", "H.mm.ss");
  EXPECT_EQ(CompareListTexts("14.05.09", "15.04.08", 0, mListView::kKindDate, finnish,
                             ColumnHolds::TimesOfDay),
            -1);
  EXPECT_EQ(finnish.ParseTimeValue("14.05.09"), DateValueOf(TimeOfDay{14, 5, 9}));
  EXPECT_EQ(finnish.ParseDateValue("14.05.09"), DateValueOf(CalendarDate{9, 5, 14}));
}

// --- Restoring --------------------------------------------------------------

class RestoreTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = currentOsFamily; }
  void TearDown() override { currentOsFamily = saved_; }
  RestoreResult Restore(RecordingRegistry& registry, OsFamily running, std::string_view name) {
    currentOsFamily = running;
    registry.log.clear();
    return RestoreSnapshot(TuningContext{registry, files, clock, testing::kFolder}, name);
  }
  MemoryFileSystem files;
  testing::FixedClock clock{{{2008, 1, 21}, {14, 5, 9}}};
  OsFamily saved_ = 0;
};

std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (auto line : lines) text.append(line).append("\r\n");
  return text;
}

// The first group of a 9x snapshot with the given values, in file order.
std::string Group9x(const std::vector<std::string>& values) {
  const char* names[] = {"SackOpts", "Tcp1323Opts", "DefaultTTL", "DefaultRcvWindow",
                         "GlobalMaxTcpWindowSize", "PMTUBlackHoleDetect", "DefaultRcvWindow",
                         "PMTUDiscovery", "KeepAliveTime", "KeepAliveInterval"};
  std::string t = Lines({"\"System\\CurrentControlSet\\Services\\VxD\\MSTCP\""});
  for (std::size_t i = 0; i < 10; ++i) t += Lines({"\"" + std::string(names[i]) + "\"", values[i]});
  return t;
}

const std::string kHeader9x = "#2008-01-21#\r\n#14:05:09#\r\n3\r\n";
const std::vector<std::string> k9xValues = {"1", "1", "0", "8760", "4294967295", "0", "8760", "1",
                                            "0", "-5"};
const std::string kInternet9x =
    Lines({"\"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\"",
           "\"MaxConnectionsPer1_0Server\"", "4", "\"MaxConnectionsPerServer\"", "0"});
const std::string kCache9x =
    Lines({"\"System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize\"", "\"\"",
           "0"});

TEST_F(RestoreTest, A9xSnapshotGoesBackAsTextsGroupByGroup) {
  files.AddFile(In("004.BCK"),
                kHeader9x + Group9x(k9xValues) + kInternet9x + kCache9x +
                    Lines({"\"System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000\"",
                           "\"MaxMTU\"", "1500", "\"MaxMSS\"", "0"}));
  RecordingRegistry registry(RegistryFlavor::Win9x);
  RestoreResult result = Restore(registry, 3, "004.bck");
  EXPECT_EQ(result.status, RestoreStatus::Restored);
  EXPECT_TRUE(result.message.empty()) << result.message;
  const std::string m = "HKLM\\System\\CurrentControlSet\\Services\\VxD\\MSTCP\\";
  const std::string ie = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\";
  const std::string a = "HKLM\\System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000\\";
  EXPECT_EQ(registry.log,
            (std::vector<std::string>{
                "set " + m + "SackOpts = \"1\"", "set " + m + "Tcp1323Opts = \"1\"",
                "del " + m + "DefaultTTL",  // 0 is no time to live: the value was absent
                "set " + m + "DefaultRcvWindow = \"8760\"",
                "set " + m + "GlobalMaxTcpWindowSize = \"4294967295\"",
                "set " + m + "PMTUBlackHoleDetect = \"0\"",  // a flag keeps its 0
                "set " + m + "DefaultRcvWindow = \"8760\"", "set " + m + "PMTUDiscovery = \"1\"",
                "del " + m + "KeepAliveTime", "set " + m + "KeepAliveInterval = \"-5\"",
                "set " + ie + "MaxConnectionsPer1_0Server = \"4\"",
                "del " + ie + "MaxConnectionsPerServer",
                "set HKLM\\System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\"
                "cachesize\\ = \"0\"",  // the NDI cache size keeps its 0
                "set " + a + "MaxMTU = \"1500\"", "del " + a + "MaxMSS"}));
  EXPECT_EQ(result.changes.written, 11);
  EXPECT_EQ(result.changes.removed, 4);
}

TEST_F(RestoreTest, AnNtSnapshotGoesBackAsTheSameBits) {
  std::string file = "#2008-01-21#\r\n#14:05:09#\r\n6\r\n" +
                     Lines({"\"System\\CurrentControlSet\\Services\\Tcpip\\Parameters\""});
  const char* names[] = {"SackOpts", "Tcp1323Opts", "TcpMaxDupAcks", "DefaultReceiveWindow",
                         "DefaultTTL", "GlobalMaxTcpWindowSize", "TcpWindowSize",
                         "EnablePMTUBHDetect", "EnablePMTUDiscovery", "KeepAliveTime",
                         "KeepAliveInterval", "SYNAttackProtect", "EnableICMPRedirects"};
  const char* values[] = {"1", "1", "2", "8192", "128", "-2147483648", "2147483648", "0", "-1",
                          "4294967295", "0", "0", "1"};
  for (std::size_t i = 0; i < 13; ++i) file += Lines({"\"" + std::string(names[i]) + "\"", values[i]});
  files.AddFile(In("001.BCK"), file);
  RecordingRegistry registry;
  RestoreResult result = Restore(registry, 6, "001.BCK");
  EXPECT_EQ(result.status, RestoreStatus::Restored);
  const std::string p = "HKLM\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\";
  EXPECT_EQ(registry.log,
            (std::vector<std::string>{
                "set " + p + "SackOpts = 1", "set " + p + "Tcp1323Opts = 1",
                "set " + p + "TcpMaxDupAcks = 2", "set " + p + "DefaultReceiveWindow = 8192",
                "set " + p + "DefaultTTL = 128", "set " + p + "GlobalMaxTcpWindowSize = 2147483648",
                "set " + p + "TcpWindowSize = 2147483648", "set " + p + "EnablePMTUBHDetect = 0",
                "set " + p + "EnablePMTUDiscovery = 4294967295",
                "set " + p + "KeepAliveTime = 4294967295", "del " + p + "KeepAliveInterval",
                "set " + p + "SYNAttackProtect = 0", "set " + p + "EnableICMPRedirects = 1"}));
}

TEST_F(RestoreTest, OnlyOnTheWindowsVersionThatTookIt) {
  files.AddFile(In("001.BCK"), kHeader9x + Group9x(k9xValues));
  RecordingRegistry registry;
  for (OsFamily running : {OsFamily{2}, OsFamily{4}, OsFamily{7}, OsFamily{0}}) {
    RestoreResult result = Restore(registry, running, "001.BCK");
    EXPECT_EQ(result.status, RestoreStatus::OtherFamily);
    EXPECT_EQ(result.message, "This backup file was taken from another operating system!!");
    EXPECT_TRUE(registry.log.empty());
  }
  EXPECT_EQ(Restore(registry, 3, "001.BCK").status, RestoreStatus::Restored);
  EXPECT_EQ(registry.log.size(), 10u);
  // A code outside 1-7, equal to the running one: nothing to write.
  files.AddFile(In("002.BCK"), "#2008-01-21#\r\n#14:05:09#\r\n0\r\n\"x\"\r\n");
  RestoreResult result = Restore(registry, 0, "002.BCK");
  EXPECT_EQ(result.status, RestoreStatus::NothingToDo);
  EXPECT_TRUE(registry.log.empty());
  EXPECT_TRUE(result.message.empty());
}

TEST_F(RestoreTest, ADamagedFileChangesNothing) {
  std::string whole = kHeader9x + Group9x(k9xValues) + kInternet9x + kCache9x;
  struct Case {
    std::string name, text, inMessage;
  };
  std::vector<Case> cases = {
      {"cut.BCK", whole.substr(0, whole.size() - 3), "ends inside the group that begins on line 30"},
      {"kind.BCK", kHeader9x + Group9x({"1", "1", "x", "0", "0", "0", "0", "0", "0", "0"}),
       "line 10: a number was expected"},
      {"range.BCK", kHeader9x + Group9x({"1", "1", "4294967296", "0", "0", "0", "0", "0", "0", "0"}),
       "line 10: the number is out of range"},
      {"header.BCK", "#2008-01-21#\r\n3\r\n", "line 2: a time of day"},
      {"empty.BCK", "", "line 1: a date"},
      {"half.BCK", kHeader9x + Group9x(k9xValues) + kInternet9x +
                       Lines({"\"System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize\"",
                              "\"\"", "0", "\"System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000\"",
                              "\"MaxMTU\"", "1500"}),
       "ends inside the group that begins on line 33"},
  };
  RecordingRegistry registry(RegistryFlavor::Win9x);
  for (const Case& c : cases) {
    files.AddFile(In(c.name), c.text);
    RestoreResult result = Restore(registry, 3, c.name);
    EXPECT_EQ(result.status, RestoreStatus::Damaged) << c.name;
    EXPECT_NE(result.message.find(c.inMessage), std::string::npos) << c.name << ": " << result.message;
    EXPECT_NE(result.message.find("No setting was changed."), std::string::npos);
    EXPECT_TRUE(registry.log.empty()) << c.name;
  }
}

TEST_F(RestoreTest, AFileCutInsideItsLastNumberChangesNothing) {
  // A Windows 98 snapshot whose last line "1460" lost its last bytes.
  std::string whole = kHeader9x + Group9x(k9xValues) + kInternet9x + kCache9x +
                      Lines({"\"System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000\"",
                             "\"MaxMTU\"", "1500", "\"MaxMSS\"", "1460"});
  RecordingRegistry registry(RegistryFlavor::Win9x);
  for (std::size_t lost : {1u, 2u, 3u, 4u}) {
    files.AddFile(In("005.BCK"), whole.substr(0, whole.size() - lost));
    RestoreResult result = Restore(registry, 3, "005.BCK");
    EXPECT_EQ(result.status, RestoreStatus::Damaged) << lost;
    EXPECT_NE(result.message.find("line 37: the line has no line end"), std::string::npos)
        << result.message;
    EXPECT_TRUE(registry.log.empty()) << lost;
  }
  files.AddFile(In("005.BCK"), whole);
  EXPECT_EQ(Restore(registry, 3, "005.BCK").status, RestoreStatus::Restored);
  EXPECT_EQ(registry.log.back(), "set HKLM\\System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000\\MaxMSS = \"1460\"");
}

TEST_F(RestoreTest, AFileThatEndsAfterAWholeGroupRestoresItsGroups) {
  files.AddFile(In("001.BCK"), kHeader9x + Group9x(k9xValues) + kInternet9x);
  RecordingRegistry registry(RegistryFlavor::Win9x);
  RestoreResult result = Restore(registry, 3, "001.BCK");
  EXPECT_EQ(result.status, RestoreStatus::Restored);
  EXPECT_TRUE(result.message.empty());
  EXPECT_EQ(registry.log.size(), 12u);
  // An empty key path after the second group ends the groups; what follows
  // is not even read.
  files.AddFile(In("002.BCK"), kHeader9x + Group9x(k9xValues) + kInternet9x +
                                   Lines({"\"\"", "\"\"", "5", "garbage"}));
  result = Restore(registry, 3, "002.BCK");
  EXPECT_EQ(result.status, RestoreStatus::Restored);
  EXPECT_EQ(registry.log.size(), 12u);
}

TEST_F(RestoreTest, AMissingFileGivesTheSystemsDescription) {
  RecordingRegistry registry;
  RestoreResult result = Restore(registry, 7, "404.BCK");
  EXPECT_EQ(result.status, RestoreStatus::Unreadable);
  EXPECT_NE(result.message.find("404.BCK"), std::string::npos);
  EXPECT_NE(result.message.find("The system cannot find the path specified."), std::string::npos)
      << result.message;
  files.AddFolder(testing::kBackups);
  result = Restore(registry, 7, "404.BCK");
  EXPECT_NE(result.message.find("The system cannot find the file specified."), std::string::npos);
  EXPECT_TRUE(registry.log.empty());
}

TEST_F(RestoreTest, ValuesThatCannotBeWrittenAreReported) {
  files.AddFile(In("001.BCK"), kHeader9x + Group9x(k9xValues) + kInternet9x);
  RecordingRegistry registry(RegistryFlavor::Win9x);
  registry.refuse = [](const std::string& path, std::string_view) {
    return path.rfind("HKLM", 0) == 0 ? reg::kAccessDenied : 0;
  };
  RestoreResult result = Restore(registry, 3, "001.BCK");
  EXPECT_EQ(result.status, RestoreStatus::Restored);
  EXPECT_EQ(result.changes.failed, 10);
  EXPECT_EQ(result.changes.written + result.changes.removed, 2);
  EXPECT_NE(result.message.find("Some settings could not be restored (10 failed)"),
            std::string::npos)
      << result.message;
  EXPECT_NE(result.message.find("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\VxD\\MSTCP\\SackOpts"),
            std::string::npos);
}

TEST(RestoreZero, RemovesOnlyWhereZeroIsNoLegalSetting) {
  for (const char* name : {"DefaultTTL", "defaultrcvwindow", "GlobalMaxTcpWindowSize",
                           "TcpWindowSize", "KeepAliveTime", "KeepAliveInterval",
                           "MaxConnectionsPer1_0Server", "MaxConnectionsPerServer", "MaxMTU",
                           "MaxMSS", "MTU", "MSS", "DefaultReceiveWindow"}) {
    EXPECT_TRUE(RestoresZeroAsRemoval(name)) << name;
  }
  for (const char* name : {"SackOpts", "Tcp1323Opts", "TcpMaxDupAcks", "PMTUDiscovery",
                           "PMTUBlackHoleDetect", "EnablePMTUBHDetect", "EnablePMTUDiscovery",
                           "SYNAttackProtect", "EnableICMPRedirects", "", "MTUX"}) {
    EXPECT_FALSE(RestoresZeroAsRemoval(name)) << name;
  }
}

TEST(BackupDelete, DeletesOrSaysWhyNot) {
  MemoryFileSystem files;
  files.AddFile(In("001.BCK"), "x");
  files.AddFile(In("002.BCK"), "y");
  DeleteResult result = DeleteBackup(files, testing::kFolder, "001.BCK");
  EXPECT_TRUE(result.deleted);
  EXPECT_TRUE(result.message.empty());
  result = DeleteBackup(files, testing::kFolder, "001.BCK");
  EXPECT_FALSE(result.deleted);
  EXPECT_EQ(result.message,
            "The backup file 001.BCK could not be deleted: The system cannot find the file specified.");
  files.SetReadOnly(In("002.BCK"), true);
  result = DeleteBackup(files, testing::kFolder, "002.bck");
  EXPECT_FALSE(result.deleted);
  EXPECT_NE(result.message.find("Access is denied."), std::string::npos);
  // The list is intact.
  EXPECT_EQ(ListBackups(files, kIso, testing::kFolder).entries.size(), 1u);
}

}  // namespace
}  // namespace corvane
