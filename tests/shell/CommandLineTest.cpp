// The command line: the arguments it reads, the refusals it gives them, and
// what a run does to the registry, the snapshots and the log, told by its
// exit code.
#include <gtest/gtest.h>

#include "shell/CommandLine.h"
#include "tests/tuning/support/FixedClock.h"
#include "tests/tuning/support/MemoryFileSystem.h"
#include "tests/tuning/support/RecordingRegistry.h"
#include "tests/tuning/support/RegistryStates.h"
#include "tests/tuning/support/TuningGlobals.h"
#include "tuning/Presets.h"

namespace corvane::cli {
namespace {

using corvane::testing::MemoryFileSystem;
using corvane::testing::RecordingRegistry;
using corvane::testing::RegistryFlavor;

constexpr const char* kFolder = "C:\\Corvane";
constexpr const char* kBackups = "C:\\Corvane\\Backups";
const PictureDateTimeFormat kIso("yyyy-MM-dd", "HH:mm:ss");

class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    currentOsFamily = 7;
    files.AddFolder(kFolder);
    corvane::testing::ResetAdapters(registry, 7, {"{A}"});
  }
  ExitCode Run(std::string_view line) {
    report.clear();
    return RunCommand(ParseCommandLine(line), TuningContext{registry, files, clock, kFolder}, kIso,
                      report);
  }
  // Every value of the map present, as the restore of a snapshot of it
  // writes them back: the fixed four at the numbers every apply writes.
  void FillEveryValue() {
    corvane::testing::RegistryState state;
    std::uint32_t next = 1000;
    for (const auto& where : corvane::testing::MapLocations(7, {"{A}"})) {
      std::uint32_t value = ++next;
      if (where.valueName == "SackOpts" || where.valueName == "Tcp1323Opts") value = 1;
      if (where.valueName == "TcpMaxDupAcks") value = 2;
      if (where.valueName == "DefaultReceiveWindow") value = 8192;
      if (where.valueName.rfind("Enable", 0) == 0 || where.valueName == "SYNAttackProtect") value = 1;
      state.emplace_back(where, corvane::testing::Dword(value));
    }
    corvane::testing::WriteState(registry, state);
  }
  corvane::testing::RegistryState State() {
    return corvane::testing::ReadState(registry, corvane::testing::MapLocations(7, {"{A}"}));
  }

  RecordingRegistry registry{RegistryFlavor::Nt};
  MemoryFileSystem files;
  corvane::testing::FixedClock clock{{{2008, 1, 21}, {14, 5, 9}}};
  std::string report;
  testing::TuningGlobalsGuard globals_;
};

TEST_F(CommandLineTest, ArgumentsSplitAtBlanksWithQuotesGrouping) {
  EXPECT_EQ(SplitArguments("  /apply \"Windows default\"\t/log \"C:\\a b\\x.log\" "),
            (std::vector<std::string>{"/apply", "Windows default", "/log", "C:\\a b\\x.log"}));
  EXPECT_EQ(SplitArguments(""), std::vector<std::string>{});
  EXPECT_EQ(SplitArguments("a\"\"b \"\""), (std::vector<std::string>{"ab", ""}));
}

TEST_F(CommandLineTest, GoodCommandsAreReadWhateverTheSwitchCase) {
  struct Case {
    const char* line;
    Action action;
    int preset;
    RestoreWhich which;
    int number;
    const char* log;
  };
  const Case cases[] = {
      {"", Action::Window, -1, RestoreWhich::Number, 0, ""},
      {"   ", Action::Window, -1, RestoreWhich::Number, 0, ""},
      {"/apply 1", Action::Apply, 0, RestoreWhich::Number, 0, ""},
      {"/APPLY 8", Action::Apply, 7, RestoreWhich::Number, 0, ""},
      {"/apply \"Windows default\"", Action::Apply, 7, RestoreWhich::Number, 0, ""},
      {"/log x.log /apply Automatic-C", Action::Apply, 2, RestoreWhich::Number, 0, "x.log"},
      {"/restore 7", Action::Restore, -1, RestoreWhich::Number, 7, ""},
      {"/restore 007", Action::Restore, -1, RestoreWhich::Number, 7, ""},
      {"/Restore first", Action::Restore, -1, RestoreWhich::First, 0, ""},
      {"/restore LAST /log \"C:\\l g\\r.txt\"", Action::Restore, -1, RestoreWhich::Last, 0,
       "C:\\l g\\r.txt"},
      {"/list", Action::List, -1, RestoreWhich::Number, 0, ""},
      {"/?", Action::Help, -1, RestoreWhich::Number, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    Command command = ParseCommandLine(c.line);
    EXPECT_EQ(command.action, c.action) << command.error;
    EXPECT_EQ(command.preset, c.preset);
    EXPECT_EQ(command.which, c.which);
    EXPECT_EQ(command.number, c.number);
    EXPECT_EQ(command.logFile, c.log);
  }
}

TEST_F(CommandLineTest, BadArgumentsGetAClearMessageExitThreeAndChangeNothing) {
  struct Case {
    const char* line;
    const char* message;  // a part of the report
  };
  const Case cases[] = {
      {"/apply", "/apply needs a preset"},
      {"/apply 0", "There is no preset \"0\""},
      {"/apply 9", "There is no preset \"9\""},
      {"/apply -1", "There is no preset \"-1\""},
      {"/apply automatic-a", "must be written exactly: \"Automatic-A\", not \"automatic-a\""},
      {"/apply \"WINDOWS DEFAULT\"", "must be written exactly: \"Windows default\""},
      {"/apply Turbo", "There is no preset \"Turbo\""},
      {"/apply 1 /apply 2", "only one of"},
      {"/apply 1 /list", "only one of"},
      {"/restore", "/restore needs"},
      {"/restore 0", "\"0\" is no snapshot number"},
      {"/restore 1000", "\"1000\" is no snapshot number"},
      {"/restore middle", "\"middle\" is no snapshot number"},
      {"/restore 5", "There is no snapshot number 5"},
      {"/restore first", "There is no snapshot to restore"},
      {"/restore last", "There is no snapshot to restore"},
      {"/list extra", "Unknown argument \"extra\""},
      {"apply 1", "Unknown argument \"apply\""},
      {"/preview 1", "/preview is not available"},
      {"/log", "/log needs a file name"},
      {"/list /log \"\"", "/log needs a file name"},
      {"/list /log C:\\a.log /log C:\\b.log", "only once"},
      {"/log C:\\a.log", "/log needs one of"},
      {"/log C:\\NoSuchFolder\\a.log /apply 9", "There is no preset \"9\""},
      {"/list /log C:\\NoSuchFolder\\a.log", "The log file C:\\NoSuchFolder\\a.log cannot be written"},
  };
  const auto before = State();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(Run(c.line), ExitCode::BadArguments);
    EXPECT_NE(report.find(c.message), std::string::npos) << report;
    EXPECT_NE(report.find("Exit code 3."), std::string::npos) << report;
  }
  EXPECT_TRUE(registry.log.empty());
  EXPECT_EQ(State(), before);
  EXPECT_FALSE(files.FileExists(std::string(kBackups) + "\\001.BCK"));
}

TEST_F(CommandLineTest, TheReportOfBadArgumentsGoesToTheLogWhereverLogStands) {
  EXPECT_EQ(Run("/apply 9 /log C:\\Corvane\\run.log"), ExitCode::BadArguments);
  auto log = files.FileData("C:\\Corvane\\run.log");
  ASSERT_TRUE(log.has_value());
  EXPECT_EQ(*log, report);
}

TEST_F(CommandLineTest, ApplyTakesASnapshotWritesThePresetAndLogsIt) {
  FillEveryValue();
  const auto before = State();
  EXPECT_EQ(Run("/apply \"Automatic-E\" /log C:\\Corvane\\apply.log"), ExitCode::Done);
  EXPECT_TRUE(files.FileExists(std::string(kBackups) + "\\001.BCK"));
  EXPECT_NE(State(), before);
  EXPECT_EQ(workingProfile.mtu, 1500);
  EXPECT_EQ(files.FileData("C:\\Corvane\\apply.log").value_or(""), report);
  EXPECT_NE(report.find("Snapshot 001.BCK holds the settings from before."), std::string::npos);
  EXPECT_NE(report.find("Exit code 0."), std::string::npos);

  // The earliest snapshot puts everything back, whatever came after it.
  EXPECT_EQ(Run("/apply 3"), ExitCode::Done);
  EXPECT_EQ(Run("/list"), ExitCode::Done);
  EXPECT_NE(report.find("001.BCK  2008-01-21  14:05:09\n002.BCK  2008-01-21  14:05:09\n"),
            std::string::npos)
      << report;
  EXPECT_EQ(Run("/restore first"), ExitCode::Done);
  EXPECT_NE(report.find("Restoring snapshot 001.BCK."), std::string::npos);
  EXPECT_EQ(State(), before);
  EXPECT_TRUE(files.FileExists(std::string(kBackups) + "\\001.BCK"));
  EXPECT_TRUE(files.FileExists(std::string(kBackups) + "\\002.BCK"));
}

TEST_F(CommandLineTest, RestoreByNumberAndLastFindTheirFiles) {
  files.AddFile(std::string(kBackups) + "\\notes.BCK", "not a snapshot");
  ASSERT_EQ(Run("/apply 1"), ExitCode::Done);
  const auto afterFirst = State();
  ASSERT_EQ(Run("/apply 5"), ExitCode::Done);
  ASSERT_EQ(Run("/apply 8"), ExitCode::Done);
  EXPECT_EQ(Run("/restore last"), ExitCode::Done);
  EXPECT_NE(report.find("Restoring snapshot 003.BCK."), std::string::npos);
  EXPECT_EQ(Run("/restore 2"), ExitCode::Done);
  EXPECT_EQ(State(), afterFirst);
}

TEST_F(CommandLineTest, RefusalsWriteNothingAndExitOne) {
  // A snapshot of another Windows version.
  ASSERT_EQ(Run("/apply 1"), ExitCode::Done);
  currentOsFamily = 3;
  registry.log.clear();
  EXPECT_EQ(Run("/restore 1"), ExitCode::Refused);
  EXPECT_NE(report.find("another operating system"), std::string::npos);
  // A damaged snapshot.
  currentOsFamily = 7;
  files.AddFile(std::string(kBackups) + "\\002.BCK", "#2008-01-21#\r\n#14:05:09#\r\n7\r\n\"x");
  EXPECT_EQ(Run("/restore 2"), ExitCode::Refused);
  EXPECT_NE(report.find("damaged"), std::string::npos);
  // No free snapshot number.
  files.AddFile(std::string(kBackups) + "\\999.BCK", "");
  EXPECT_EQ(Run("/apply 1"), ExitCode::Refused);
  // No rights: every value refused.
  files.RemoveFile(std::string(kBackups) + "\\999.BCK");
  registry.refuse = [](const std::string&, std::string_view) { return RegStatus{5}; };
  EXPECT_EQ(Run("/apply 1"), ExitCode::Refused);
  EXPECT_NE(report.find("lack the right"), std::string::npos);
  EXPECT_TRUE(registry.log.empty());
}

TEST_F(CommandLineTest, SomeValuesFailingIsPartlyWritten) {
  registry.refuse = [](const std::string& key, std::string_view) {
    return key.find("Internet Settings") != std::string::npos ? RegStatus{5} : RegStatus{0};
  };
  EXPECT_EQ(Run("/apply 1"), ExitCode::PartlyWritten);
  EXPECT_NE(report.find("Exit code 2."), std::string::npos);
  EXPECT_EQ(Run("/restore 1"), ExitCode::PartlyWritten);
}

TEST_F(CommandLineTest, ExitCodesFollowTheOutcome) {
  struct Case {
    ApplyStatus apply;
    RestoreStatus restore;
    int written, removed, failed;
    ExitCode expected;
  };
  const Case cases[] = {
      {ApplyStatus::Applied, RestoreStatus::Restored, 16, 0, 0, ExitCode::Done},
      {ApplyStatus::Applied, RestoreStatus::Restored, 0, 2, 0, ExitCode::Done},
      {ApplyStatus::Applied, RestoreStatus::Restored, 15, 0, 1, ExitCode::PartlyWritten},
      {ApplyStatus::Applied, RestoreStatus::Restored, 0, 1, 3, ExitCode::PartlyWritten},
      {ApplyStatus::Applied, RestoreStatus::Restored, 0, 0, 16, ExitCode::Refused},
      {ApplyStatus::NotDetected, RestoreStatus::OtherFamily, 0, 0, 0, ExitCode::Refused},
      {ApplyStatus::SnapshotFailed, RestoreStatus::Damaged, 0, 0, 0, ExitCode::Refused},
      {ApplyStatus::SnapshotFailed, RestoreStatus::Unreadable, 0, 0, 0, ExitCode::Refused},
      {ApplyStatus::SnapshotFailed, RestoreStatus::NothingToDo, 0, 0, 0, ExitCode::Refused},
  };
  for (const Case& c : cases) {
    ApplyResult apply;
    apply.status = c.apply;
    apply.changes = {c.written, c.removed, c.failed, {}};
    RestoreResult restore;
    restore.status = c.restore;
    restore.changes = apply.changes;
    EXPECT_EQ(ExitCodeFor(apply), c.expected);
    EXPECT_EQ(ExitCodeFor(restore), c.expected);
  }
}

TEST_F(CommandLineTest, HelpNamesEveryFormPresetAndExitCode) {
  EXPECT_EQ(Run("/?"), ExitCode::Done);
  for (const char* part : {"/apply <preset>", "/restore <number>", "first, last", "/list",
                           "/log <file>", "8  Windows default", "0  done", "1  refused",
                           "2  partly written", "3  bad arguments"}) {
    EXPECT_NE(report.find(part), std::string::npos) << part;
  }
}

}  // namespace
}  // namespace corvane::cli
