// The exact writes and removals of ApplyTuningProfile for both families,
// against a registry that records every change.
#include <gtest/gtest.h>

#include "tests/tuning/support/FixedClock.h"
#include "tests/tuning/support/MemoryFileSystem.h"
#include "tests/tuning/support/ProgramFolder.h"
#include "tests/tuning/support/RecordingRegistry.h"
#include "tests/tuning/support/RegistryStates.h"
#include "tests/tuning/support/TuningGlobals.h"
#include "tuning/Apply.h"
#include "tuning/Presets.h"
#include "tuning/RegistryMap.h"
#include "tuning/SnapshotFile.h"

namespace corvane {
namespace {

using testing::MemoryFileSystem;
using testing::RecordingRegistry;
using testing::RegistryFlavor;

const std::string kMstcp = "set HKLM\\System\\CurrentControlSet\\Services\\VxD\\MSTCP\\";
const std::string kIe9x = "set HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\";
const std::string kCache = "set HKLM\\System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize\\ = ";
const std::string kNetTrans = "HKLM\\System\\CurrentControlSet\\Services\\Class\\NetTrans\\";
const std::string kFixedNt = "set HKLM\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\";
const std::string kTcpip = "set HKLM\\SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters\\";
const std::string kIeNt = "set HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\";
const std::string kInterface = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
const std::string kService = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\";

class ApplyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.AddFolder(testing::kFolder);
  }
  ApplyResult Apply(RecordingRegistry& registry, OsFamily family, const TuningProfile& profile) {
    currentOsFamily = family;
    workingProfile = profile;
    registry.log.clear();
    return ApplyTuningProfile(TuningContext{registry, files, clock, testing::kFolder});
  }

  MemoryFileSystem files;
  testing::FixedClock clock{{{2008, 1, 21}, {14, 5, 9}}};
  testing::TuningGlobalsGuard globals_;
};

TEST_F(ApplyTest, The9xFamilyWritesTextsInMapOrderThenEveryAdapter) {
  RecordingRegistry registry(RegistryFlavor::Win9x);
  testing::ResetAdapters(registry, 3, {"0001", "0000"});
  ApplyResult result = Apply(registry, 3, presetProfiles[0]);  // Automatic-A
  EXPECT_EQ(result.status, ApplyStatus::Applied);
  EXPECT_EQ(result.snapshot.name, "001.BCK");
  EXPECT_EQ(registry.log,
            (std::vector<std::string>{
                kMstcp + "SackOpts = \"1\"", kMstcp + "Tcp1323Opts = \"1\"",
                kMstcp + "DefaultTTL = \"128\"", kMstcp + "DefaultRcvWindow = \"4288\"",
                kMstcp + "GlobalMaxTcpWindowSize = \"4288\"", kMstcp + "PMTUBlackHoleDetect = \"0\"",
                kMstcp + "PMTUDiscovery = \"1\"", kMstcp + "KeepAliveTime = \"600000\"",
                kMstcp + "KeepAliveInterval = \"1000\"",
                kIe9x + "MaxConnectionsPer1_0Server = \"16\"",
                kIe9x + "MaxConnectionsPerServer = \"8\"", kCache + "\"0\"",
                "set " + kNetTrans + "0000\\MaxMTU = \"576\"",
                "set " + kNetTrans + "0000\\MaxMSS = \"536\"",
                "set " + kNetTrans + "0001\\MaxMTU = \"576\"",
                "set " + kNetTrans + "0001\\MaxMSS = \"536\""}));
  EXPECT_EQ(result.changes.written, 16);
  EXPECT_EQ(result.changes.removed, 0);
  EXPECT_EQ(result.changes.failed, 0);
  EXPECT_TRUE(result.message.empty());
  // The stored form: the decimal text and its NUL.
  EXPECT_EQ(registry.GetValue(RootKey::LocalMachine, kNetTrans.substr(5) + "0000", "MaxMSS"),
            testing::Sz("536"));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(ApplyTest, AutomaticCRemovesTheWindowAndEveryAdaptersMtuAndMss) {
  RecordingRegistry registry(RegistryFlavor::Win9x);
  testing::ResetAdapters(registry, 3, {"0000"});
  ApplyResult result = Apply(registry, 4, presetProfiles[2]);
  std::vector<std::string> expected = {
      kMstcp + "SackOpts = \"1\"", kMstcp + "Tcp1323Opts = \"1\"", kMstcp + "DefaultTTL = \"128\"",
      "del " + kMstcp.substr(4) + "DefaultRcvWindow", "del " + kMstcp.substr(4) + "GlobalMaxTcpWindowSize",
      kMstcp + "PMTUBlackHoleDetect = \"0\"", kMstcp + "PMTUDiscovery = \"1\"",
      kMstcp + "KeepAliveTime = \"600000\"", kMstcp + "KeepAliveInterval = \"1000\"",
      kIe9x + "MaxConnectionsPer1_0Server = \"16\"", kIe9x + "MaxConnectionsPerServer = \"8\"",
      kCache + "\"0\"", "del " + kNetTrans + "0000\\MaxMTU", "del " + kNetTrans + "0000\\MaxMSS"};
  EXPECT_EQ(registry.log, expected);
  // Removing values that were never there is no failure.
  EXPECT_EQ(result.changes.removed, 4);
  EXPECT_EQ(result.changes.written, 10);
  EXPECT_EQ(result.changes.failed, 0);
}

TEST_F(ApplyTest, TheNtFamilyWritesNumbersAndEachInterfaceTwice) {
  RecordingRegistry registry;
  const std::string n = "{A1}";
  testing::ResetAdapters(registry, 7, {n});
  ApplyResult result = Apply(registry, 7, presetProfiles[0]);
  EXPECT_EQ(registry.log,
            (std::vector<std::string>{
                kFixedNt + "SackOpts = 1", kFixedNt + "Tcp1323Opts = 1",
                kFixedNt + "TcpMaxDupAcks = 2", kFixedNt + "DefaultReceiveWindow = 8192",
                kTcpip + "DefaultTTL = 128", kTcpip + "GlobalMaxTcpWindowSize = 4288",
                kTcpip + "TcpWindowSize = 4288", kTcpip + "EnablePMTUBHDetect = 0",
                kTcpip + "EnablePMTUDiscovery = 1", kTcpip + "KeepAliveTime = 600000",
                kTcpip + "KeepAliveInterval = 1000", kTcpip + "SYNAttackProtect = 2",
                kTcpip + "EnableICMPRedirects = 0", kIeNt + "MaxConnectionsPer1_0Server = 16",
                kIeNt + "MaxConnectionsPerServer = 8",
                "set " + kInterface + n + "\\MTU = 576",
                "set " + kService + n + "\\Parameters\\Tcpip\\MTU = 576",
                "set " + kInterface + n + "\\MSS = 536",
                "set " + kService + n + "\\Parameters\\Tcpip\\MSS = 536", kCache + "0"}));
  EXPECT_EQ(result.changes.written, 20);
  EXPECT_EQ(registry.GetValue(RootKey::LocalMachine, kTcpip.substr(9), "KeepAliveTime"),
            testing::Dword(600000));
  // The service key did not exist: the write made it.
  EXPECT_TRUE(registry.KeyExists(RootKey::LocalMachine,
                                 "SYSTEM\\CurrentControlSet\\Services\\{A1}\\Parameters\\Tcpip"));
}

TEST_F(ApplyTest, NtUseDefaultRemovesInBothKeysOfEveryInterface) {
  RecordingRegistry registry;
  testing::ResetAdapters(registry, 5, {"{A1}", "{B2}"});
  ApplyResult result = Apply(registry, 5, presetProfiles[2]);
  std::vector<std::string> removals;
  for (const std::string& line : registry.log) {
    if (line.rfind("del ", 0) == 0) removals.push_back(line);
  }
  EXPECT_EQ(removals, (std::vector<std::string>{
                          "del " + kTcpip.substr(4) + "GlobalMaxTcpWindowSize",
                          "del " + kTcpip.substr(4) + "TcpWindowSize",
                          "del " + kInterface + "{A1}\\MTU",
                          "del " + kService + "{A1}\\Parameters\\Tcpip\\MTU",
                          "del " + kInterface + "{A1}\\MSS",
                          "del " + kService + "{A1}\\Parameters\\Tcpip\\MSS",
                          "del " + kInterface + "{B2}\\MTU",
                          "del " + kService + "{B2}\\Parameters\\Tcpip\\MTU",
                          "del " + kInterface + "{B2}\\MSS",
                          "del " + kService + "{B2}\\Parameters\\Tcpip\\MSS"}));
  EXPECT_EQ(registry.log.size(), 16u + 8u);
  EXPECT_EQ(registry.log.back(), kCache + "0");  // the NDI cache size still comes last
  EXPECT_EQ(result.changes.written + result.changes.removed, 24);
}

TEST_F(ApplyTest, WithoutAdaptersTwelveOrSixteenValues) {
  for (OsFamily family : {OsFamily{1}, OsFamily{6}}) {
    RecordingRegistry registry(Is9xFamily(family) ? RegistryFlavor::Win9x : RegistryFlavor::Nt);
    ApplyResult result = Apply(registry, family, presetProfiles[3]);
    EXPECT_EQ(result.changes.written, Is9xFamily(family) ? 12 : 16) << family;
    result = Apply(registry, family, presetProfiles[1]);  // USE_DEFAULT receive window
    EXPECT_EQ(result.changes.written, Is9xFamily(family) ? 10 : 14) << family;
    EXPECT_EQ(result.changes.removed, 2) << family;
  }
}

TEST_F(ApplyTest, ValuesAreWrittenAsTheProfileHoldsThem) {
  TuningProfile p = presetProfiles[4];
  p.pmtuDiscovery = 1;   // not -1: written as 0
  p.icmpRedirects = -1;  // no place on the 9x family
  p.synAttackProtect = 1;
  p.mss = -1;            // an ordinary number outside mtu and receiveWindow
  RecordingRegistry r9x(RegistryFlavor::Win9x);
  testing::ResetAdapters(r9x, 2, {"0000"});
  Apply(r9x, 2, p);
  EXPECT_NE(std::find(r9x.log.begin(), r9x.log.end(), kMstcp + "PMTUDiscovery = \"0\""), r9x.log.end());
  EXPECT_NE(std::find(r9x.log.begin(), r9x.log.end(), "set " + kNetTrans + "0000\\MaxMSS = \"-1\""),
            r9x.log.end());
  for (const std::string& line : r9x.log) {
    EXPECT_EQ(line.find("SYNAttackProtect"), std::string::npos);
    EXPECT_EQ(line.find("ICMP"), std::string::npos);
  }
  RecordingRegistry nt;
  testing::ResetAdapters(nt, 7, {"{A1}"});
  Apply(nt, 7, p);
  EXPECT_NE(std::find(nt.log.begin(), nt.log.end(), "set " + kInterface + "{A1}\\MSS = 4294967295"),
            nt.log.end());
  EXPECT_NE(std::find(nt.log.begin(), nt.log.end(), kTcpip + "EnableICMPRedirects = 1"), nt.log.end());
  EXPECT_NE(std::find(nt.log.begin(), nt.log.end(), kTcpip + "SYNAttackProtect = 1"), nt.log.end());
}

TEST_F(ApplyTest, AnUndetectedVersionTakesNoSnapshotAndChangesNothing) {
  for (OsFamily family : {OsFamily{0}, OsFamily{8}, OsFamily{-1}}) {
    RecordingRegistry registry;
    ApplyResult result = Apply(registry, family, presetProfiles[0]);
    EXPECT_EQ(result.status, ApplyStatus::NotDetected);
    EXPECT_FALSE(result.message.empty());
    EXPECT_TRUE(registry.log.empty());
    EXPECT_FALSE(files.FolderExists(testing::kBackups));
  }
}

TEST_F(ApplyTest, TheSnapshotIsWholeAndNamedBeforeTheFirstWrite) {
  RecordingRegistry registry;
  std::vector<std::string> seenAtFirstChange;
  registry.beforeChange = [&] {
    if (seenAtFirstChange.empty()) {
      seenAtFirstChange = files.Names(testing::kBackups);
      seenAtFirstChange.push_back(std::to_string(files.log.size()));
    }
  };
  ApplyResult result = Apply(registry, 7, presetProfiles[0]);
  EXPECT_EQ(result.status, ApplyStatus::Applied);
  // 001.BCK exists, the pending file is gone, and the rename was the last
  // file operation before the registry was touched.
  EXPECT_EQ(seenAtFirstChange, (std::vector<std::string>{"001.BCK", "4"}));
  EXPECT_EQ(files.log.back(), "rename C:\\Corvane\\Backups\\bck1.tmp > C:\\Corvane\\Backups\\001.BCK");
}

TEST_F(ApplyTest, NoSnapshotMeansNoWrite) {
  struct Case {
    std::function<void(MemoryFileSystem&)> prepare;
    ApplyStatus status;
    std::string inMessage;
  };
  std::vector<Case> cases = {
      {[](MemoryFileSystem& f) { f.AddFile(testing::kBackups, "a file, not a folder"); },
       ApplyStatus::SnapshotFailed, "could not be made ready"},
      {[](MemoryFileSystem& f) { f.AddFile(JoinPath(testing::kBackups, "999.BCK"), ""); },
       ApplyStatus::SnapshotFailed, "999.BCK"},
      {[](MemoryFileSystem& f) {
         f.fault = [](testing::FsOp op, std::string_view) {
           return op == testing::FsOp::Write ? fs::kDiskFull : 0;
         };
       },
       ApplyStatus::SnapshotFailed, "not enough space"},
  };
  for (const Case& c : cases) {
    files = MemoryFileSystem();
    files.AddFolder(testing::kFolder);
    c.prepare(files);
    RecordingRegistry registry;
    ApplyResult result = Apply(registry, 7, presetProfiles[0]);
    EXPECT_EQ(result.status, c.status);
    EXPECT_NE(result.message.find(c.inMessage), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("No network setting was changed"), std::string::npos);
    EXPECT_TRUE(registry.log.empty());
  }
}

TEST_F(ApplyTest, ValuesThatCannotBeChangedAreReported) {
  RecordingRegistry registry;
  testing::WriteState(registry, {{{RootKey::LocalMachine, kTcpip.substr(9), "DefaultTTL"},
                                  testing::Dword(64)}});
  ASSERT_TRUE(registry.SetReadOnly(RootKey::LocalMachine, kTcpip.substr(9)));
  ApplyResult result = Apply(registry, 7, presetProfiles[2]);
  EXPECT_EQ(result.status, ApplyStatus::Applied);
  // The thirteen values of the parameters key (the fixed four included, the
  // two removals as well), and nothing else.
  EXPECT_EQ(result.changes.failed, 13);
  EXPECT_EQ(result.changes.written, 3);
  ASSERT_FALSE(result.changes.failures.empty());
  EXPECT_EQ(result.changes.failures[0].valueName, "SackOpts");
  EXPECT_EQ(result.changes.failures[0].code, reg::kAccessDenied);
  EXPECT_NE(result.message.find("13 failed"), std::string::npos) << result.message;
  EXPECT_NE(result.message.find("HKEY_LOCAL_MACHINE"), std::string::npos);
  EXPECT_NE(result.message.find("001.BCK"), std::string::npos);
  EXPECT_EQ(registry.GetValue(RootKey::LocalMachine, kTcpip.substr(9), "DefaultTTL"),
            testing::Dword(64));
}

TEST_F(ApplyTest, OnLaterWindowsTheMessageNamesTheWrittenValuesItIgnores) {
  RecordingRegistry registry;
  testing::ResetAdapters(registry, 7, {"{A1}"});
  currentWindowsVersion = WindowsVersion::Windows10;
  ApplyResult result = Apply(registry, 7, presetProfiles[0]);
  // The same twenty writes as on XP: the note changes nothing that is written.
  EXPECT_EQ(result.changes.written, 20);
  EXPECT_EQ(result.written.size(), 20u);
  EXPECT_EQ(result.message,
            "Windows 10 ignores 4 of the 20 values written: DefaultReceiveWindow, "
            "GlobalMaxTcpWindowSize, TcpWindowSize, EnableICMPRedirects.\nSee \"What each Windows honours\" in the help for what "
            "takes their place.");
}

TEST_F(ApplyTest, ValuesThatWereRefusedAreNeverCalledWritten) {
  RecordingRegistry registry;
  testing::WriteState(registry, {{{RootKey::LocalMachine, kTcpip.substr(9), "DefaultTTL"},
                                  testing::Dword(64)}});
  ASSERT_TRUE(registry.SetReadOnly(RootKey::LocalMachine, kTcpip.substr(9)));
  currentWindowsVersion = WindowsVersion::Windows10;
  ApplyResult result = Apply(registry, 7, presetProfiles[0]);
  EXPECT_EQ(result.changes.failed, 13);
  // TcpWindowSize and the others were refused: the message tells of the
  // failures and names none of them as written.
  EXPECT_NE(result.message.find("13 failed"), std::string::npos) << result.message;
  EXPECT_EQ(result.message.find("ignores"), std::string::npos) << result.message;
  EXPECT_EQ(result.written.size(), 3u);  // the two browser values and the NDI cache
}

TEST_F(ApplyTest, TwoAppliesGiveTwoSnapshotsTheSecondRecordingTheFirst) {
  RecordingRegistry registry;
  Apply(registry, 7, presetProfiles[4]);
  ApplyResult second = Apply(registry, 7, presetProfiles[0]);
  EXPECT_EQ(second.snapshot.name, "002.BCK");
  SnapshotContents c = ReadSnapshot(*files.FileData(JoinPath(testing::kBackups, "002.BCK")));
  ASSERT_TRUE(c.ok);
  EXPECT_EQ(c.groups[0].pairs[4].value, 64);      // DefaultTTL of Automatic-E
  EXPECT_EQ(c.groups[0].pairs[5].value, 256960);  // its receive window
  EXPECT_EQ(c.groups[1].pairs[0].value, 20);
}

}  // namespace
}  // namespace corvane
