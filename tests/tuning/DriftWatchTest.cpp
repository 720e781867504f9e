// The drift watch in memory: the record's format and its damaged forms, the
// atomic save, the comparison, and the one question with its three answers.
#include <gtest/gtest.h>

#include <deque>

#include "platform/RegistryAccess.h"
#include "platform/ui/View.h"
#include "tests/tuning/support/FixedClock.h"
#include "tests/tuning/support/MemoryFileSystem.h"
#include "tests/tuning/support/ProgramFolder.h"
#include "tests/tuning/support/RecordingRegistry.h"
#include "tests/tuning/support/RegistryStates.h"
#include "tests/tuning/support/TuningGlobals.h"
#include "tuning/DriftWatch.h"
#include "tuning/Presets.h"

namespace corvane {
namespace {

using testing::RecordingRegistry;

constexpr const char* kRecord = "C:\\Corvane\\Backups\\Applied.rec";
const testing::ValueLocation kTtl{RootKey::LocalMachine,
                                  "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters",
                                  "DefaultTTL"};

class DriftWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    currentOsFamily = 7;
    files.AddFolder("C:\\Corvane\\Backups");
    testing::ResetAdapters(registry, 7, {"{A1}", "{B2}", "{C3}"});
  }
  // Applies preset A and records it, as the windows do.
  void ApplyAndRecord() {
    workingProfile = presetProfiles[0];
    ASSERT_EQ(ApplyTuningProfile(context).status, ApplyStatus::Applied);
    watcher.RecordApply(workingProfile);
  }

  RecordingRegistry registry{testing::RegistryFlavor::Nt};
  testing::MemoryFileSystem files;
  testing::FixedClock clock{{{2026, 12, 9}, {14, 5, 9}}};
  TuningContext context{registry, files, clock, testing::kFolder};
  PictureDateTimeFormat format{"dd.MM.yyyy", "HH:mm:ss"};
  std::vector<std::string> asked, told;
  std::deque<int> answers;
  int changesShown = 0;
  DriftWatcher watcher{context, format,
                       {[this](const std::string& text) {
                          asked.push_back(text);
                          int a = answers.empty() ? ui::kAnswerCancel : answers.front();
                          if (!answers.empty()) answers.pop_front();
                          return a;
                        },
                        [this](const std::string& text, bool) { told.push_back(text); },
                        [this](Plan plan, std::function<void()> apply) {
                          ++changesShown;
                          EXPECT_EQ(plan.Changing(), 3);
                          apply();
                        }}};
  testing::TuningGlobalsGuard globals_;
};

TEST_F(DriftWatchTest, TheRecordReadsBackAsWritten) {
  ApplyAndRecord();
  std::string text;
  ASSERT_EQ(files.ReadFileText(kRecord, 1 << 20, text), fs::kSuccess);
  LoadedRecord loaded = ParseAppliedRecord(text);
  ASSERT_EQ(loaded.status, RecordStatus::Ok) << loaded.message;
  EXPECT_EQ(loaded.record.when, clock.Now());
  EXPECT_EQ(loaded.record.values.size(), 16u + 3 * 4);
  EXPECT_EQ(AppliedRecordText(loaded.record), text);
  EXPECT_EQ(FindDrift(registry, loaded.record).changed, 0);
  // Saved again: replaced whole, no pending file left beside it.
  watcher.RecordApply(workingProfile);
  std::vector<std::string> names;
  ASSERT_EQ(files.ListSnapshotNames("C:\\Corvane\\Backups", names), fs::kSuccess);
  EXPECT_EQ(names, (std::vector<std::string>{"001.BCK"}));
}

TEST_F(DriftWatchTest, DamagedRecordsAndOtherVersionsGiveAClearMessageNeverValues) {
  ApplyAndRecord();
  std::string whole;
  ASSERT_EQ(files.ReadFileText(kRecord, 1 << 20, whole), fs::kSuccess);
  struct Case {
    std::string text;
    RecordStatus status;
    std::string_view says;
  };
  const Case cases[] = {
      {whole.substr(0, whole.size() - 9), RecordStatus::Corrupt, "damaged"},
      {whole.substr(0, whole.size() - 5), RecordStatus::Corrupt, "cut short"},
      {"", RecordStatus::Corrupt, "empty"},
      {"Pellavon applied values 2\r\nanything\r\n", RecordStatus::OtherVersion, "another version"},
      {"garbage\r\n", RecordStatus::Corrupt, "not a record"},
      {std::string(whole).replace(whole.find("dword\t") + 6, 1, "x"), RecordStatus::Corrupt, "32-bit"},
  };
  for (const Case& c : cases) {
    LoadedRecord loaded = ParseAppliedRecord(c.text);
    EXPECT_EQ(loaded.status, c.status) << c.text.size();
    EXPECT_NE(loaded.message.find(c.says), std::string::npos) << loaded.message;
    EXPECT_TRUE(loaded.record.values.empty());
  }
  files.AddFile(kRecord, cases[0].text);
  watcher.Check();
  watcher.Check();
  EXPECT_TRUE(asked.empty());
  ASSERT_EQ(told.size(), 1u);  // told once per run
}

TEST_F(DriftWatchTest, ADifferenceIsAskedOnceDismissedUntilItChanges) {
  ApplyAndRecord();
  watcher.Check();
  EXPECT_TRUE(asked.empty());

  testing::WriteState(registry, {{kTtl, testing::Dword(64)},
                                 {{RootKey::LocalMachine,
                                   "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\{B2}",
                                   "MTU"},
                                  std::nullopt},
                                 {{RootKey::CurrentUser,
                                   "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                                   "MaxConnectionsPerServer"},
                                  testing::Sz("8")}});
  watcher.Check();
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].rfind("3 of the values you applied on 09.12.2026 have been changed.", 0), 0u)
      << asked[0];
  watcher.Check();  // dismissed
  EXPECT_EQ(asked.size(), 1u);

  testing::WriteState(registry, {{kTtl, testing::Dword(65)}});
  watcher.Check();
  EXPECT_EQ(asked.size(), 2u) << "a changed difference is told again";

  watcher.Check();
  EXPECT_EQ(asked.size(), 2u);
}

TEST_F(DriftWatchTest, ReapplyMendsItAndSeeTheChangesShowsThePlanBack) {
  ApplyAndRecord();
  auto drifted = [&] {
    testing::WriteState(registry, {{kTtl, testing::Dword(64)},
                                   {{RootKey::LocalMachine,
                                     "SYSTEM\\CurrentControlSet\\Services\\{C3}\\Parameters\\Tcpip",
                                     "MSS"},
                                    testing::Dword(1)},
                                   {{RootKey::LocalMachine,
                                     "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters",
                                     "KeepAliveTime"},
                                    std::nullopt}});
  };
  LoadedRecord record = LoadAppliedRecord(files, testing::kFolder);
  ASSERT_EQ(record.status, RecordStatus::Ok);

  drifted();
  answers = {ui::kAnswerYes};
  watcher.Check();
  EXPECT_EQ(FindDrift(registry, record.record).changed, 0);
  EXPECT_TRUE(told.empty()) << told[0];

  drifted();
  answers = {ui::kAnswerNo};
  watcher.Check();
  EXPECT_EQ(changesShown, 1);
  EXPECT_EQ(FindDrift(registry, record.record).changed, 0);
}

// The reapply is guarded as an apply is: refused on another Windows or
// without a backup (nothing written), and otherwise every value tried, the
// text ones as text, the failures counted and the backup named.
TEST_F(DriftWatchTest, ReapplyIsGuardedAndCountedLikeAnApply) {
  const std::string key = "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters";
  RegData text;
  text.state = RegData::State::Present;
  text.type = reg::kTypeSz;
  text.text = "1500";
  RegData number;
  number.state = RegData::State::Present;
  number.type = reg::kTypeDword;
  number.number = 64;
  AppliedRecord record{{}, 7, {{RootKey::LocalMachine, key, "MaxMTU", text},
                               {RootKey::LocalMachine, key, "DefaultTTL", number},
                               {RootKey::LocalMachine, key, "MSS", RegData{}}}};
  struct Case {
    const char* what;
    OsFamily family;
    bool noFreeBackup;
    bool refuseText;
    ApplyStatus status;
    std::size_t changes;  // log lines
    int written, removed, failed;
    const char* inMessage;
  };
  const Case cases[] = {
      {"another Windows", 2, false, false, ApplyStatus::NotDetected, 0, 0, 0, 0, "another Windows version"},
      {"no backup", 7, true, false, ApplyStatus::SnapshotFailed, 0, 0, 0, 0, "999.BCK"},
      {"all written", 7, false, false, ApplyStatus::Applied, 3, 2, 1, 0, ""},
      {"the text refused", 7, false, true, ApplyStatus::Applied, 2, 1, 1, 1, "(1 failed)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    files = testing::MemoryFileSystem();
    files.AddFolder("C:\\Corvane\\Backups");
    if (c.noFreeBackup) files.AddFile("C:\\Corvane\\Backups\\999.BCK", "");
    registry.log.clear();
    registry.refuse = [&](const std::string&, std::string_view name) {
      return c.refuseText && name == "MaxMTU" ? reg::kAccessDenied : 0;
    };
    record.family = c.family;
    ApplyResult result = ReapplyRecord(context, record);
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(registry.log.size(), c.changes);
    EXPECT_EQ(result.changes.written, c.written);
    EXPECT_EQ(result.changes.removed, c.removed);
    EXPECT_EQ(result.changes.failed, c.failed);
    EXPECT_NE(result.message.find(c.inMessage), std::string::npos) << result.message;
    if (c.failed > 0) {
      EXPECT_EQ(result.changes.failures[0].valueName, "MaxMTU");
      EXPECT_NE(result.message.find("001.BCK"), std::string::npos) << result.message;
    }
    if (c.status == ApplyStatus::Applied && c.failed == 0) {
      EXPECT_EQ(registry.GetValue(RootKey::LocalMachine, key, "MaxMTU"), testing::Sz("1500"));
      EXPECT_TRUE(result.message.empty()) << result.message;
    }
  }
}

TEST_F(DriftWatchTest, TheSwitchOffSilencesIt) {
  ApplyAndRecord();
  testing::WriteState(registry, {{kTtl, testing::Dword(64)}});
  ASSERT_EQ(SaveAppSetting(registry, MainSettingsKey(), kDriftWatchSetting, "0"), reg::kSuccess);
  watcher.Check();
  EXPECT_TRUE(asked.empty());
  ASSERT_EQ(SaveAppSetting(registry, MainSettingsKey(), kDriftWatchSetting, "1"), reg::kSuccess);
  watcher.Check();
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].rfind("1 of the values you applied on 09.12.2026 has been changed", 0), 0u);
}

}  // namespace
}  // namespace corvane
