// What an apply leaves in the real registry, as both families keep their
// values, and what it reports when the registry refuses.
#include <gtest/gtest.h>

#include "tests/tuning/support/FixedClock.h"
#include "tests/tuning/support/RegistryStates.h"
#include "tests/tuning/support/TuningGlobals.h"
#include "tests/tuning/win/WinTuningEnvironment.h"
#include "tuning/Apply.h"
#include "tuning/BackupManager.h"
#include "tuning/Presets.h"
#include "platform/win32/Win32Clock.h"

namespace corvane::testing {
namespace {

const RootKey LM = RootKey::LocalMachine;
const RootKey CU = RootKey::CurrentUser;
const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kIe = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kCache = "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters";

class ApplyOnWindows : public ::testing::Test {
 protected:
  void TearDown() override {
    RemoveAdapters(env.registry(), family_, adapters_);
  }
  void Prepare(OsFamily family, std::vector<std::string> adapters) {
    family_ = family;
    adapters_ = std::move(adapters);
    ResetAdapters(env.registry(), family_, adapters_);
    // Every value of the map absent to begin with.
    RegistryState absent;
    for (auto& v : MapLocations(family_, adapters_)) absent.emplace_back(v, std::nullopt);
    WriteState(env.registry(), absent);
  }
  ApplyResult Apply(const TuningProfile& profile) {
    currentOsFamily = family_;
    workingProfile = profile;
    return ApplyTuningProfile(TuningContext{env.registry(), env.files(), clock, env.programFolder()});
  }
  ValueState Value(RootKey root, const std::string& path, const std::string& name) {
    return ReadState(env.registry(), {{root, path, name}})[0].second;
  }

  Win32TuningEnvironment env;
  win32::Win32Clock clock;
  OsFamily family_ = 0;
  std::vector<std::string> adapters_;
  testing::TuningGlobalsGuard globals_;
};

TEST_F(ApplyOnWindows, The9xFamilyLeavesDecimalTexts) {
  Prepare(3, {"0000", "0001"});
  ApplyResult result = Apply(presetProfiles[0]);
  ASSERT_EQ(result.status, ApplyStatus::Applied) << result.message;
  EXPECT_EQ(result.changes.written, 16);
  EXPECT_EQ(result.changes.failed, 0);
  EXPECT_EQ(Value(LM, kMstcp, "SackOpts"), Sz("1"));
  EXPECT_EQ(Value(LM, kMstcp, "DefaultTTL"), Sz("128"));
  EXPECT_EQ(Value(LM, kMstcp, "GlobalMaxTcpWindowSize"), Sz("4288"));
  EXPECT_EQ(Value(LM, kMstcp, "PMTUDiscovery"), Sz("1"));
  EXPECT_EQ(Value(LM, kMstcp, "KeepAliveTime"), Sz("600000"));
  EXPECT_EQ(Value(CU, kIe, "MaxConnectionsPerServer"), Sz("8"));
  EXPECT_EQ(Value(LM, kCache, ""), Sz("0"));
  EXPECT_EQ(Value(LM, "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0001", "MaxMSS"),
            Sz("536"));
  // The snapshot is in Backups of the program folder.
  EXPECT_EQ(result.snapshot.path, env.programFolder() + "\\Backups\\001.BCK");
  std::string data;
  EXPECT_EQ(env.files().ReadFileText(result.snapshot.path, 1u << 16, data), 0u);
  EXPECT_EQ(std::count(data.begin(), data.end(), '\n'), 32 + 2 * 5);

  // Automatic-C removes what Automatic-A wrote, and writes the rest.
  result = Apply(presetProfiles[2]);
  EXPECT_EQ(result.snapshot.name, "002.BCK");
  EXPECT_EQ(result.changes.removed, 2 + 2 * 2);
  EXPECT_EQ(Value(LM, kMstcp, "DefaultRcvWindow"), std::nullopt);
  EXPECT_EQ(Value(LM, kMstcp, "GlobalMaxTcpWindowSize"), std::nullopt);
  EXPECT_EQ(Value(LM, "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000", "MaxMTU"),
            std::nullopt);
  EXPECT_EQ(Value(LM, "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000", "MaxMSS"),
            std::nullopt);
  EXPECT_EQ(Value(LM, kMstcp, "DefaultTTL"), Sz("128"));
}

TEST_F(ApplyOnWindows, TheNtFamilyLeavesNumbersInBothKeysOfEachInterface) {
  const std::string n = "{3A5C0F2E-2222-4B2D-9C6E-00000000000A}";
  Prepare(7, {n});
  ApplyResult result = Apply(presetProfiles[4]);  // Automatic-E
  ASSERT_EQ(result.status, ApplyStatus::Applied) << result.message;
  EXPECT_EQ(result.changes.written, 20);
  EXPECT_EQ(result.changes.failed, 0);
  EXPECT_EQ(Value(LM, kTcpip, "TcpMaxDupAcks"), Dword(2));
  EXPECT_EQ(Value(LM, kTcpip, "DefaultReceiveWindow"), Dword(8192));
  EXPECT_EQ(Value(LM, kTcpip, "TcpWindowSize"), Dword(256960));
  EXPECT_EQ(Value(LM, kTcpip, "SYNAttackProtect"), Dword(2));
  EXPECT_EQ(Value(LM, kTcpip, "EnableICMPRedirects"), Dword(0));
  EXPECT_EQ(Value(CU, kIe, "MaxConnectionsPer1_0Server"), Dword(20));
  EXPECT_EQ(Value(LM, kCache, ""), Dword(0));
  EXPECT_EQ(Value(LM, kTcpip + "\\Interfaces\\" + n, "MTU"), Dword(1500));
  EXPECT_EQ(Value(LM, kTcpip + "\\Interfaces\\" + n, "MSS"), Dword(1460));
  // The service key of the interface did not exist; the apply made it.
  const std::string service = "SYSTEM\\CurrentControlSet\\Services\\" + n + "\\Parameters\\Tcpip";
  EXPECT_EQ(Value(LM, service, "MTU"), Dword(1500));
  EXPECT_EQ(Value(LM, service, "MSS"), Dword(1460));

  result = Apply(presetProfiles[2]);  // Automatic-C
  EXPECT_EQ(result.changes.removed, 2 + 4);
  EXPECT_EQ(Value(LM, kTcpip, "GlobalMaxTcpWindowSize"), std::nullopt);
  EXPECT_EQ(Value(LM, kTcpip, "TcpWindowSize"), std::nullopt);
  EXPECT_EQ(Value(LM, kTcpip + "\\Interfaces\\" + n, "MTU"), std::nullopt);
  EXPECT_EQ(Value(LM, service, "MSS"), std::nullopt);
  EXPECT_EQ(Value(LM, kTcpip, "DefaultTTL"), Dword(128));
  EXPECT_EQ(Value(LM, kTcpip, "KeepAliveTime"), Dword(600000));
}

TEST_F(ApplyOnWindows, ARefusedKeyIsReportedNotPassedOverInSilence) {
  if (RunningOn9x()) {
    GTEST_SKIP() << "the 95/98/ME registry has no security: no key can be made to refuse writes";
  }
  Prepare(7, {});
  ASSERT_TRUE(LockRegistryKey(LM, kTcpip)) << "could not make the parameters key read-only";
  ApplyResult result = Apply(presetProfiles[0]);
  bool unlocked = UnlockRegistryKey(LM, kTcpip);
  EXPECT_EQ(result.status, ApplyStatus::Applied);
  EXPECT_EQ(result.changes.failed, 13);
  EXPECT_EQ(result.changes.written, 3);
  ASSERT_FALSE(result.changes.failures.empty());
  EXPECT_EQ(result.changes.failures[0].code, reg::kAccessDenied);
  EXPECT_NE(result.message.find("13 failed"), std::string::npos) << result.message;
  EXPECT_NE(result.message.find("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters\\SackOpts"),
            std::string::npos)
      << result.message;
  ASSERT_TRUE(unlocked) << "the parameters key stays read-only";
  EXPECT_EQ(Value(LM, kTcpip, "DefaultTTL"), std::nullopt);
}

TEST_F(ApplyOnWindows, NoBackupFolderNoChange) {
  Prepare(7, {});
  ASSERT_EQ(env.files().WriteFileWhole(env.programFolder() + "\\Backups", "a file"), 0u);
  ApplyResult result = Apply(presetProfiles[0]);
  EXPECT_EQ(result.status, ApplyStatus::SnapshotFailed);
  EXPECT_NE(result.message.find("No network setting was changed"), std::string::npos);
  EXPECT_EQ(Value(LM, kTcpip, "SackOpts"), std::nullopt);
  EXPECT_EQ(Value(LM, kTcpip, "DefaultTTL"), std::nullopt);
}

TEST_F(ApplyOnWindows, ASnapshotOfTheOtherFamilyIsRefused) {
  Prepare(3, {});
  ApplyResult taken = Apply(presetProfiles[0]);
  ASSERT_EQ(taken.status, ApplyStatus::Applied);
  currentOsFamily = 7;
  RestoreResult result =
      RestoreSnapshot(TuningContext{env.registry(), env.files(), clock, env.programFolder()}, "001.BCK");
  EXPECT_EQ(result.status, RestoreStatus::OtherFamily);
  EXPECT_EQ(result.message, kOtherFamilyMessage);
  EXPECT_EQ(Value(LM, kMstcp, "DefaultTTL"), Sz("128"));  // still what the apply wrote
}

}  // namespace
}  // namespace corvane::testing
