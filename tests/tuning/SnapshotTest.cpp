// Choosing the next snapshot file and what TakeSnapshot records.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/MemoryRegistry.h"
#include "tests/tuning/support/FixedClock.h"
#include "tests/tuning/support/MemoryFileSystem.h"
#include "tests/tuning/support/ProgramFolder.h"
#include "tests/tuning/support/RecordingRegistry.h"
#include "tests/tuning/support/RegistryStates.h"
#include "tuning/BackupManager.h"
#include "tuning/RegistryMap.h"
#include "tuning/Snapshot.h"
#include "tuning/SnapshotFile.h"

namespace corvane {
namespace {

using testing::Dword;
using testing::MemoryFileSystem;
using testing::MemoryRegistry;
using testing::RegistryFlavor;
using testing::Sz;

std::string In(const char* name) { return JoinPath(testing::kBackups, name); }

class FamilyScope {
 public:
  explicit FamilyScope(OsFamily family) : saved_(currentOsFamily) { currentOsFamily = family; }
  ~FamilyScope() { currentOsFamily = saved_; }

 private:
  OsFamily saved_;
};

TEST(SnapshotNumbering, CountsTheLastThreeCharactersOfTheBaseName) {
  EXPECT_EQ(SnapshotNumber("007.BCK"), 7);
  EXPECT_EQ(SnapshotNumber("1234.BCK"), 234);
  EXPECT_EQ(SnapshotNumber("notes.BCK"), 0);
  EXPECT_EQ(SnapshotNumber("12.bck"), 12);
  EXPECT_EQ(SnapshotNumber("7.BCK"), 7);
  EXPECT_EQ(SnapshotNumber("1a3.BCK"), 1);  // the number they spell from their start
  EXPECT_EQ(SnapshotNumber("x.005.BCK"), 5);
  EXPECT_EQ(SnapshotFileName(1), "001.BCK");
  EXPECT_EQ(SnapshotFileName(42), "042.BCK");
  EXPECT_EQ(SnapshotFileName(999), "999.BCK");
}

TEST(SnapshotNumbering, OneMoreThanTheHighestAndGapsAreNeverFilled) {
  MemoryFileSystem files;
  files.AddFolder(testing::kFolder);
  NextSnapshot next = NextSnapshotPath(files, testing::kFolder);
  EXPECT_EQ(next.status, SnapshotStatus::Written);
  EXPECT_EQ(next.path, "C:\\Corvane\\Backups\\001.BCK");
  EXPECT_TRUE(files.FolderExists(testing::kBackups));  // a missing folder is created

  for (const char* n : {"001.BCK", "002.BCK", "007.BCK"}) files.AddFile(In(n), "");
  EXPECT_EQ(NextSnapshotPath(files, testing::kFolder).name, "008.BCK");
  ASSERT_EQ(files.RemoveFile(In("007.BCK")), 0u);
  EXPECT_EQ(NextSnapshotPath(files, testing::kFolder).name, "003.BCK");
  ASSERT_EQ(files.RemoveFile(In("002.BCK")), 0u);
  files.AddFile(In("005.BCK"), "");
  EXPECT_EQ(NextSnapshotPath(files, testing::kFolder).name, "006.BCK");
  // Names that count 0, and names that are no snapshots at all.
  files.AddFile(In("notes.BCK"), "");
  files.AddFile(In("900.tmp"), "");
  files.AddFile(In("950.txt"), "");
  EXPECT_EQ(NextSnapshotPath(files, testing::kFolder).name, "006.BCK");
  files.AddFile(In("1234.bck"), "");
  EXPECT_EQ(NextSnapshotPath(files, testing::kFolder).name, "235.BCK");
  files.AddFile(In("998.BCK"), "");
  EXPECT_EQ(NextSnapshotPath(files, testing::kFolder).name, "999.BCK");
}

TEST(SnapshotNumbering, NoNameIsFreeOnce999IsTaken) {
  MemoryFileSystem files;
  files.AddFile(In("999.BCK"), "");
  NextSnapshot next = NextSnapshotPath(files, testing::kFolder);
  EXPECT_EQ(next.status, SnapshotStatus::NoFreeNumber);
  files.AddFile(In("x1999.BCK"), "");  // counts 999 as well
  ASSERT_EQ(files.RemoveFile(In("999.BCK")), 0u);
  EXPECT_EQ(NextSnapshotPath(files, testing::kFolder).status, SnapshotStatus::NoFreeNumber);
}

TEST(SnapshotNumbering, AFolderNamedLikeASnapshotUsesUpNoNumber) {
  MemoryFileSystem files;
  files.AddFolder(testing::kFolder);
  files.AddFolder(JoinPath(testing::kFolder, "Backups"));
  files.AddFolder(In("999.BCK"));
  EXPECT_EQ(NextSnapshotPath(files, testing::kFolder).name, "001.BCK");
}

TEST(SnapshotNumbering, AFileWhereTheFolderShouldBeFails) {
  MemoryFileSystem files;
  files.AddFile("C:\\Corvane\\Backups", "not a folder");
  NextSnapshot next = NextSnapshotPath(files, testing::kFolder);
  EXPECT_EQ(next.status, SnapshotStatus::FolderFailed);
  EXPECT_EQ(next.code, fs::kAlreadyExists);
}

// Takes a snapshot of the registry and reads it back.
struct Taken {
  SnapshotResult result;
  std::string data;
  SnapshotContents contents;
};

Taken Take(IRegistry& registry, MemoryFileSystem& files, OsFamily family) {
  FamilyScope scope(family);
  testing::FixedClock clock({{2008, 1, 21}, {14, 5, 9}});
  files.AddFolder(testing::kFolder);
  Taken t;
  t.result = TakeSnapshot(TuningContext{registry, files, clock, testing::kFolder});
  if (auto data = files.FileData(t.result.path)) t.data = *data;
  t.contents = ReadSnapshot(t.data);
  return t;
}

// Restores what Take recorded, a day later on the given family, with the
// registry's log cleared first so that it holds the restore's writes only.
RestoreResult RestoreTaken(testing::RecordingRegistry& registry, MemoryFileSystem& files, OsFamily family,
                           const Taken& t) {
  FamilyScope scope(family);
  registry.log.clear();
  testing::FixedClock clock({{2008, 1, 22}, {9, 0, 0}});
  return RestoreSnapshot(TuningContext{registry, files, clock, testing::kFolder}, t.result.name);
}

std::int64_t Recorded(const Taken& t, std::size_t group, std::size_t pair) {
  if (group >= t.contents.groups.size() || pair >= t.contents.groups[group].pairs.size()) {
    ADD_FAILURE() << "no pair " << group << "/" << pair;
    return -999;
  }
  return t.contents.groups[group].pairs[pair].value;
}

const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";

void Put(IRegistry& registry, RootKey root, const std::string& path, const std::string& name,
         const testing::StoredValue& value) {
  testing::WriteState(registry, {{{root, path, name}, value}});
}

TEST(TakeSnapshot, The9xTextsAreRecordedByTheNumberTheySpell) {
  MemoryRegistry registry(RegistryFlavor::Win9x);
  MemoryFileSystem files;
  const RootKey LM = RootKey::LocalMachine;
  Put(registry, LM, kMstcp, "DefaultTTL", Sz("128"));
  Put(registry, LM, kMstcp, "DefaultRcvWindow", Sz("-5"));
  Put(registry, LM, kMstcp, "GlobalMaxTcpWindowSize", Sz("4294967295"));
  Put(registry, LM, kMstcp, "PMTUBlackHoleDetect", Sz("0"));
  Put(registry, LM, kMstcp, "PMTUDiscovery", Sz("1"));
  Put(registry, LM, kMstcp, "KeepAliveTime", Sz("99999999999"));  // no parameter holds that
  Put(registry, LM, kMstcp, "KeepAliveInterval", Sz("abc"));
  Taken t = Take(registry, files, 2);
  ASSERT_TRUE(t.contents.ok) << t.contents.error;
  EXPECT_EQ(t.contents.family, 2);
  EXPECT_EQ(Recorded(t, 0, 0), 1);  // SackOpts, a constant
  EXPECT_EQ(Recorded(t, 0, 1), 1);  // Tcp1323Opts
  EXPECT_EQ(Recorded(t, 0, 2), 128);
  EXPECT_EQ(Recorded(t, 0, 3), -5);
  EXPECT_EQ(Recorded(t, 0, 4), 4294967295LL);
  EXPECT_EQ(Recorded(t, 0, 5), 0);
  EXPECT_EQ(Recorded(t, 0, 6), -5);  // DefaultRcvWindow again
  EXPECT_EQ(Recorded(t, 0, 7), 1);
  EXPECT_EQ(Recorded(t, 0, 8), 0);
  EXPECT_EQ(Recorded(t, 0, 9), 0);
  EXPECT_EQ(Recorded(t, 1, 0), 0);  // missing: 0
  EXPECT_EQ(Recorded(t, 2, 0), 0);

  Put(registry, LM, kMstcp, "PMTUDiscovery", Sz("0"));
  Put(registry, LM, kMstcp, "PMTUBlackHoleDetect", Sz("-3"));  // a flag: not 0 is 1
  t = Take(registry, files, 2);
  EXPECT_EQ(Recorded(t, 0, 7), 0);
  EXPECT_EQ(Recorded(t, 0, 5), 1);
  EXPECT_EQ(t.result.name, "002.BCK");
}

TEST(TakeSnapshot, NtValuesAboveTheSignedRangeAreRecordedAsTheirSignedBits) {
  MemoryRegistry registry;
  MemoryFileSystem files;
  const RootKey LM = RootKey::LocalMachine;
  Put(registry, LM, kTcpip, "DefaultTTL", Dword(128));
  Put(registry, LM, kTcpip, "GlobalMaxTcpWindowSize", Dword(0x7FFFFFFFu));
  Put(registry, LM, kTcpip, "TcpWindowSize", Dword(0x80000000u));
  Put(registry, LM, kTcpip, "EnablePMTUBHDetect", Dword(0xFFFFFFFFu));
  // Not a DWORD: the data read as an unsigned number, its low 32 bits kept.
  Put(registry, LM, kTcpip, "KeepAliveTime",
      testing::StoredValue{reg::kTypeBinary, {1, 0, 0, 0, 9, 9}});
  Put(registry, LM, kTcpip, "SYNAttackProtect", Dword(2));
  Taken t = Take(registry, files, 7);
  ASSERT_TRUE(t.contents.ok) << t.contents.error;
  EXPECT_EQ(Recorded(t, 0, 2), 2);     // TcpMaxDupAcks, a constant
  EXPECT_EQ(Recorded(t, 0, 3), 8192);  // DefaultReceiveWindow, a constant
  EXPECT_EQ(Recorded(t, 0, 4), 128);
  EXPECT_EQ(Recorded(t, 0, 5), 2147483647);
  EXPECT_EQ(Recorded(t, 0, 6), -2147483648LL);
  EXPECT_EQ(Recorded(t, 0, 7), -1);
  EXPECT_EQ(Recorded(t, 0, 8), 0);  // missing
  EXPECT_EQ(Recorded(t, 0, 9), 1);
  EXPECT_EQ(Recorded(t, 0, 11), 2);
}

// Data of any length is recorded by its low 32 bits, worked out in integers,
// as the file format promises; restored, none of them is removed.
TEST(TakeSnapshot, NtDataOfEightBytesOrMoreIsRecordedByItsLow32Bits) {
  constexpr std::uint32_t kQword = 11;  // REG_QWORD
  struct Case {
    const char* what;
    testing::StoredValue stored;
    std::int64_t recorded;
  };
  const std::vector<Case> cases = {
      {"QWORD, every bit set", {kQword, std::vector<std::uint8_t>(8, 0xFF)}, -1},
      {"binary, eight bytes", {reg::kTypeBinary, {8, 7, 6, 5, 4, 3, 2, 1}}, 0x05060708},
      {"binary, 262 bytes", {reg::kTypeBinary, std::vector<std::uint8_t>(262, 0xFF)}, -1},
      {"binary, 300 bytes", {reg::kTypeBinary, std::vector<std::uint8_t>(300, 0x01)}, 0x01010101},
      {"binary, one byte", {reg::kTypeBinary, {0x80}}, 128},
      {"QWORD 7200000", {kQword, {0x00, 0xDD, 0x6D, 0, 0, 0, 0, 0}}, 7200000},
      {"QWORD 0", {kQword, std::vector<std::uint8_t>(8, 0)}, 0},
  };
  const RootKey LM = RootKey::LocalMachine;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing::RecordingRegistry registry;
    MemoryFileSystem files;
    Put(registry, LM, kTcpip, "KeepAliveTime", c.stored);
    Taken t = Take(registry, files, 7);
    ASSERT_TRUE(t.contents.ok) << t.result.message << t.contents.error;
    EXPECT_EQ(Recorded(t, 0, 9), c.recorded);

    RestoreResult restored = RestoreTaken(registry, files, 7, t);
    ASSERT_EQ(restored.status, RestoreStatus::Restored) << restored.message;
    const std::string keepAlive =
        "HKLM\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\KeepAliveTime";
    const std::string expected =
        c.recorded == 0 ? "del " + keepAlive
                        : "set " + keepAlive + " = " +
                              std::to_string(static_cast<std::uint32_t>(c.recorded));
    EXPECT_NE(std::find(registry.log.begin(), registry.log.end(), expected), registry.log.end())
        << expected;
  }
}

// A value whose low 32 bits are 0 although it is not 0 would come back as a
// removal: the snapshot, and with it the apply, is refused instead.
TEST(TakeSnapshot, ANonZeroValueWhoseLow32BitsAreZeroRefusesTheSnapshot) {
  constexpr std::uint32_t kQword = 11;
  for (const testing::StoredValue& stored :
       {testing::StoredValue{kQword, {0, 0, 0, 0, 1, 0, 0, 0}},
        testing::StoredValue{reg::kTypeBinary, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}}}) {
    MemoryRegistry registry;
    MemoryFileSystem files;
    Put(registry, RootKey::LocalMachine, kTcpip, "KeepAliveTime", stored);
    Taken t = Take(registry, files, 6);
    EXPECT_EQ(t.result.status, SnapshotStatus::CannotRecord);
    EXPECT_NE(t.result.message.find("\"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\"
                                    "tcpip\\parameters\\KeepAliveTime\""),
              std::string::npos)
        << t.result.message;
    EXPECT_NE(t.result.message.find("No network setting was changed."), std::string::npos);
    EXPECT_TRUE(files.Names(testing::kBackups).empty());
  }
}

// 95/98/ME keeps these values as text, but one that another program stored
// as a DWORD is recorded by its 32-bit value, and a restore writes it back
// as that number's text.
TEST(TakeSnapshot, A9xValueStoredAsADwordIsRecordedByIts32BitValue) {
  const RootKey LM = RootKey::LocalMachine;
  testing::RecordingRegistry registry(RegistryFlavor::Win9x);
  MemoryFileSystem files;
  Put(registry, LM, kMstcp, "DefaultTTL", Dword(128));
  Put(registry, LM, kMstcp, "GlobalMaxTcpWindowSize", Dword(0xFFFFFFFFu));
  Put(registry, LM, kMstcp, "PMTUBlackHoleDetect", Dword(256));  // a flag: not 0 is 1
  Put(registry, LM, kMstcp, "PMTUDiscovery", Dword(0));
  Put(registry, LM, kMstcp, "KeepAliveTime", Dword(49));
  Put(registry, LM, kMstcp, "KeepAliveInterval", Sz("1000"));
  Put(registry, RootKey::CurrentUser,
      "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
      "MaxConnectionsPerServer", Dword(8));
  Taken t = Take(registry, files, 3);
  ASSERT_TRUE(t.contents.ok) << t.result.message << t.contents.error;
  EXPECT_EQ(Recorded(t, 0, 2), 128);
  EXPECT_EQ(Recorded(t, 0, 4), 4294967295LL);
  EXPECT_EQ(Recorded(t, 0, 5), 1);
  EXPECT_EQ(Recorded(t, 0, 7), 0);
  EXPECT_EQ(Recorded(t, 0, 8), 49);
  EXPECT_EQ(Recorded(t, 0, 9), 1000);
  EXPECT_EQ(Recorded(t, 1, 1), 8);

  RestoreResult restored = RestoreTaken(registry, files, 3, t);
  ASSERT_EQ(restored.status, RestoreStatus::Restored) << restored.message;
  const std::string m = "set HKLM\\" + kMstcp + "\\";
  for (const std::string& line :
       {m + "DefaultTTL = \"128\"", m + "GlobalMaxTcpWindowSize = \"4294967295\"",
        m + "KeepAliveTime = \"49\""}) {
    EXPECT_NE(std::find(registry.log.begin(), registry.log.end(), line), registry.log.end())
        << line;
  }
}

TEST(TakeSnapshot, AdapterGroupsFollowTheEnumerationOrder) {
  MemoryRegistry registry;
  MemoryFileSystem files;
  testing::ResetAdapters(registry, 7, {"b", "A", "0x"});
  Put(registry, RootKey::LocalMachine, std::string(kNtAdapterParent) + "\\A", "MTU", Dword(1400));
  Put(registry, RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\A\\Parameters\\Tcpip",
      "MSS", Dword(1360));
  Taken t = Take(registry, files, 7);
  ASSERT_TRUE(t.contents.ok) << t.contents.error;
  ASSERT_EQ(t.contents.groups.size(), 3u + 6u);
  std::vector<std::string> keys;
  for (std::size_t g = 3; g < t.contents.groups.size(); ++g) keys.push_back(t.contents.groups[g].keyPath);
  const std::string i = std::string(kNtAdapterParent) + "\\";
  const std::string s = "SYSTEM\\CurrentControlSet\\Services\\";
  EXPECT_EQ(keys, (std::vector<std::string>{i + "0x", s + "0x\\Parameters\\Tcpip", i + "A",
                                            s + "A\\Parameters\\Tcpip", i + "b",
                                            s + "b\\Parameters\\Tcpip"}));
  EXPECT_EQ(Recorded(t, 5, 0), 1400);
  EXPECT_EQ(Recorded(t, 6, 1), 1360);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(TakeSnapshot, WrittenWholeUnderAPendingNameThenRenamed) {
  MemoryRegistry registry;
  MemoryFileSystem files;
  Taken t = Take(registry, files, 6);
  EXPECT_EQ(t.result.status, SnapshotStatus::Written);
  EXPECT_EQ(files.log, (std::vector<std::string>{"mkdir C:\\Corvane\\Backups",
                                                 "create C:\\Corvane\\Backups\\bck1.tmp",
                                                 "write C:\\Corvane\\Backups\\bck1.tmp",
                                                 "rename C:\\Corvane\\Backups\\bck1.tmp > "
                                                 "C:\\Corvane\\Backups\\001.BCK"}));
  EXPECT_EQ(files.Names(testing::kBackups), (std::vector<std::string>{"001.BCK"}));
  EXPECT_EQ(t.data.substr(0, 30), "#2008-01-21#\r\n#14:05:09#\r\n6\r\n\"");
}

TEST(TakeSnapshot, AFailedWriteOrRenameLeavesNoSnapshotBehind) {
  for (testing::FsOp failing :
       {testing::FsOp::CreateUnique, testing::FsOp::Write, testing::FsOp::Rename}) {
    MemoryRegistry registry;
    MemoryFileSystem files;
    files.AddFile(In("001.BCK"), "older");
    files.fault = [&](testing::FsOp op, std::string_view) {
      return op == failing ? fs::kDiskFull : fs::kSuccess;
    };
    Taken t = Take(registry, files, 7);
    EXPECT_EQ(t.result.status, SnapshotStatus::WriteFailed);
    EXPECT_EQ(t.result.code, fs::kDiskFull);
    EXPECT_NE(t.result.message.find("There is not enough space on the disk."), std::string::npos)
        << t.result.message;
    EXPECT_NE(t.result.message.find("002.BCK"), std::string::npos);
    EXPECT_EQ(files.Names(testing::kBackups), (std::vector<std::string>{"001.BCK"}));
  }
}

// Another copy of the program (another user's session) snapshotting into
// the same folder at the same moment: each file keeps its own values, and
// one that finds its number taken takes the next.
TEST(TakeSnapshot, TwoCopiesAtOnceNeverShareAPendingFileOrReplaceASnapshot) {
  for (testing::FsOp meanwhile : {testing::FsOp::Write, testing::FsOp::Rename}) {
    SCOPED_TRACE(meanwhile == testing::FsOp::Write ? "before the write" : "before the rename");
    MemoryRegistry mine;
    MemoryRegistry theirs;
    Put(mine, RootKey::LocalMachine, kTcpip, "DefaultTTL", Dword(64));
    Put(theirs, RootKey::LocalMachine, kTcpip, "DefaultTTL", Dword(200));
    MemoryFileSystem files;
    files.AddFile(In("004.BCK"), "older");
    SnapshotResult other;
    bool done = false;
    files.fault = [&](testing::FsOp op, std::string_view) {
      if (op == meanwhile && !done) {
        done = true;  // the other copy's snapshot runs whole in between
        testing::FixedClock clock({{2008, 1, 21}, {14, 5, 10}});
        other = TakeSnapshot(TuningContext{theirs, files, clock, testing::kFolder});
      }
      return fs::kSuccess;
    };
    Taken t = Take(mine, files, 7);
    ASSERT_TRUE(done);
    EXPECT_EQ(other.status, SnapshotStatus::Written) << other.message;
    EXPECT_EQ(other.name, "005.BCK");
    EXPECT_EQ(t.result.status, SnapshotStatus::Written) << t.result.message;
    EXPECT_EQ(t.result.name, "006.BCK");
    EXPECT_EQ(t.result.path, In("006.BCK"));
    EXPECT_EQ(Recorded(t, 0, 4), 64);
    SnapshotContents theirFile = ReadSnapshot(files.FileData(In("005.BCK")).value_or(""));
    ASSERT_TRUE(theirFile.ok);
    EXPECT_EQ(theirFile.groups[0].pairs[4].value, 200);
    EXPECT_EQ(files.FileData(In("004.BCK")), "older");
    std::vector<std::string> names = files.Names(testing::kBackups);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"004.BCK", "005.BCK", "006.BCK"}));  // no pending file left
  }
}

TEST(TakeSnapshot, ANumberTakenMeanwhileUpTo999LeavesNothingBehind) {
  MemoryRegistry registry;
  MemoryFileSystem files;
  files.AddFile(In("998.BCK"), "");
  files.fault = [&](testing::FsOp op, std::string_view) {
    if (op == testing::FsOp::Rename && !files.FileExists(In("999.BCK"))) {
      files.AddFile(In("999.BCK"), "theirs");
    }
    return fs::kSuccess;
  };
  Taken t = Take(registry, files, 7);
  EXPECT_EQ(t.result.status, SnapshotStatus::NoFreeNumber);
  EXPECT_NE(t.result.message.find("Backup Manager"), std::string::npos);
  EXPECT_EQ(files.FileData(In("999.BCK")), "theirs");
  EXPECT_EQ(files.Names(testing::kBackups), (std::vector<std::string>{"998.BCK", "999.BCK"}));
}

TEST(TakeSnapshot, RefusedWithAMessageWhenNoNameIsFree) {
  MemoryRegistry registry;
  MemoryFileSystem files;
  files.AddFile(In("999.BCK"), "");
  Taken t = Take(registry, files, 7);
  EXPECT_EQ(t.result.status, SnapshotStatus::NoFreeNumber);
  EXPECT_NE(t.result.message.find("999.BCK"), std::string::npos);
  EXPECT_NE(t.result.message.find("Backup Manager"), std::string::npos);
  EXPECT_EQ(files.Names(testing::kBackups).size(), 1u);
}

TEST(TakeSnapshot, AnAdapterNameTheFileCannotHoldRefusesTheSnapshot) {
  MemoryRegistry registry;
  MemoryFileSystem files;
  testing::ResetAdapters(registry, 3, {"0000", "bad\nname"});
  Taken t = Take(registry, files, 3);
  EXPECT_EQ(t.result.status, SnapshotStatus::CannotRecord);
  EXPECT_FALSE(t.result.message.empty());
  EXPECT_TRUE(files.Names(testing::kBackups).empty());
}

}  // namespace
}  // namespace corvane
