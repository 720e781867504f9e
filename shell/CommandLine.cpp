#include "shell/CommandLine.h"

#include <algorithm>
#include <cctype>

#include "tuning/Presets.h"
#include "tuning/Snapshot.h"
#include "tuning/TuningProfile.h"

namespace corvane::cli {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// A whole number of decimal digits only, at most `limit`; -1 otherwise.
int SmallNumber(std::string_view text, int limit) {
  if (text.empty() || text.size() > 4) return -1;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value <= limit ? value : -1;
}

std::string PresetList() {
  std::string list;
  for (std::size_t i = 0; i < kPresetCount; ++i) {
    list += "  " + std::to_string(i + 1) + "  " + std::string(kPresetCaptions[i]) + "\n";
  }
  return list;
}

Command Bad(std::string error, std::string logFile = {}) {
  Command command;
  command.action = Action::Bad;
  command.logFile = std::move(logFile);
  command.error = std::move(error);
  return command;
}

// Where the file's folder is: "" for a bare name (the current folder).
std::string FolderOf(std::string_view path) {
  std::size_t slash = path.find_last_of("\\/");
  if (slash == std::string_view::npos) return "";
  // "C:\x.log": the root of the drive.
  if (slash == 2 && path[1] == ':') return std::string(path.substr(0, 3));
  return std::string(path.substr(0, slash));
}

// The snapshot files of Backups with their numbers (names counting 0 left
// out), lowest number first.
std::vector<std::pair<int, std::string>> NumberedSnapshots(const TuningContext& context,
                                                           FsStatus& code) {
  std::vector<std::string> names;
  code = context.files.ListSnapshotNames(BackupsFolder(context.programFolder), names);
  std::vector<std::pair<int, std::string>> numbered;
  for (const std::string& name : names) {
    int number = SnapshotNumber(name);
    if (number > 0) numbered.emplace_back(number, name);
  }
  std::stable_sort(numbered.begin(), numbered.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  return numbered;
}

std::string Counts(const ChangeCounts& counts) {
  return std::to_string(counts.written) + " value(s) written, " + std::to_string(counts.removed) +
         " removed, " + std::to_string(counts.failed) + " failed.";
}

ExitCode FromCounts(const ChangeCounts& counts) {
  if (counts.failed == 0) return ExitCode::Done;
  return counts.written + counts.removed == 0 ? ExitCode::Refused : ExitCode::PartlyWritten;
}

void AddLine(std::string& report, std::string_view text) {
  if (text.empty()) return;
  report += text;
  if (report.back() != '\n') report += '\n';
}

ExitCode RunApply(const Command& command, const TuningContext& context, std::string& report) {
  const std::size_t index = static_cast<std::size_t>(command.preset);
  workingProfile = presetProfiles[index];
  AddLine(report, "Applying preset " + std::to_string(index + 1) + " \"" +
                      std::string(kPresetCaptions[index]) + "\".");
  ApplyResult result = ApplyTuningProfile(context);
  if (result.status == ApplyStatus::Applied) {
    AddLine(report, "Snapshot " + result.snapshot.name + " holds the settings from before.");
    AddLine(report, Counts(result.changes));
  }
  AddLine(report, result.message);
  return ExitCodeFor(result);
}

ExitCode RunRestore(const Command& command, const TuningContext& context, std::string& report) {
  FsStatus code = 0;
  auto snapshots = NumberedSnapshots(context, code);
  std::string name;
  if (command.which == RestoreWhich::Number) {
    for (const auto& [number, file] : snapshots) {
      if (number == command.number) {
        name = file;
        break;
      }
    }
    if (name.empty()) {
      AddLine(report, "There is no snapshot number " + std::to_string(command.number) +
                          " (see /list). Nothing was changed.");
      return ExitCode::BadArguments;
    }
  } else if (snapshots.empty()) {
    AddLine(report, "There is no snapshot to restore. Nothing was changed.");
    return ExitCode::BadArguments;
  } else {
    name = command.which == RestoreWhich::First ? snapshots.front().second
                                                : snapshots.back().second;
  }
  AddLine(report, "Restoring snapshot " + name + ".");
  RestoreResult result = RestoreSnapshot(context, name);
  if (result.status == RestoreStatus::Restored) AddLine(report, Counts(result.changes));
  if (result.status == RestoreStatus::NothingToDo) {
    AddLine(report, "The snapshot names no Windows version this program knows. Nothing was changed.");
  }
  AddLine(report, result.message);
  return ExitCodeFor(result);
}

ExitCode RunList(const TuningContext& context, const IDateTimeFormat& format,
                 std::string& report) {
  BackupListing listing = ListBackups(context.files, format, context.programFolder);
  if (listing.code != 0) {
    AddLine(report, listing.message);
    return ExitCode::Refused;
  }
  std::vector<BackupEntry> entries = listing.entries;
  std::stable_sort(entries.begin(), entries.end(), [](const BackupEntry& a, const BackupEntry& b) {
    return SnapshotNumber(a.fileName) < SnapshotNumber(b.fileName);
  });
  if (entries.empty()) AddLine(report, "There are no snapshots.");
  for (const BackupEntry& entry : entries) {
    AddLine(report, entry.fileName + "  " + entry.creatingDate + "  " + entry.creatingTime);
  }
  return ExitCode::Done;
}

}  // namespace

std::vector<std::string> SplitArguments(std::string_view commandLine) {
  std::vector<std::string> arguments;
  std::size_t i = 0;
  while (i < commandLine.size()) {
    while (i < commandLine.size() && IsBlank(commandLine[i])) ++i;
    if (i == commandLine.size()) break;
    std::string argument;
    bool quoted = false;
    for (; i < commandLine.size() && (quoted || !IsBlank(commandLine[i])); ++i) {
      if (commandLine[i] == '"') {
        quoted = !quoted;
      } else {
        argument += commandLine[i];
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

int PresetIndex(std::string_view text, std::string& error) {
  int number = SmallNumber(text, 99);
  if (number >= 1 && number <= static_cast<int>(kPresetCount)) return number - 1;
  for (std::size_t i = 0; i < kPresetCount; ++i) {
    if (text == kPresetCaptions[i]) return static_cast<int>(i);
  }
  for (std::size_t i = 0; i < kPresetCount; ++i) {
    if (EqualNoCase(text, kPresetCaptions[i])) {
      error = "Preset names must be written exactly: \"" + std::string(kPresetCaptions[i]) +
              "\", not \"" + std::string(text) + "\".";
      return -1;
    }
  }
  error = "There is no preset \"" + std::string(text) +
          "\". Give its number or its exact name:\n" + PresetList();
  return -1;
}

Command ParseCommandLine(std::string_view commandLine) {
  const std::vector<std::string> arguments = SplitArguments(commandLine);
  // The report of bad arguments goes to the log too, wherever /log stands.
  std::string log;
  for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
    if (EqualNoCase(arguments[i], "/log")) {
      log = arguments[i + 1];
      break;
    }
  }
  auto Bad = [&log](std::string error) { return cli::Bad(std::move(error), log); };
  Command command;
  bool haveLog = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    auto setAction = [&](Action action) {
      if (command.action != Action::Window) return false;
      command.action = action;
      return true;
    };
    if (EqualNoCase(argument, "/?")) {
      if (!setAction(Action::Help)) return Bad("Give only one of /apply, /restore, /list and /?.");
    } else if (EqualNoCase(argument, "/list")) {
      if (!setAction(Action::List)) return Bad("Give only one of /apply, /restore, /list and /?.");
    } else if (EqualNoCase(argument, "/apply")) {
      if (!setAction(Action::Apply)) return Bad("Give only one of /apply, /restore, /list and /?.");
      if (!hasValue) return Bad("/apply needs a preset: its number (1 to 8) or its exact name.");
      std::string error;
      command.preset = PresetIndex(arguments[++i], error);
      if (command.preset < 0) return Bad(error);
    } else if (EqualNoCase(argument, "/restore")) {
      if (!setAction(Action::Restore)) {
        return Bad("Give only one of /apply, /restore, /list and /?.");
      }
      if (!hasValue) return Bad("/restore needs a snapshot number, first or last.");
      const std::string& which = arguments[++i];
      if (EqualNoCase(which, "first")) {
        command.which = RestoreWhich::First;
      } else if (EqualNoCase(which, "last")) {
        command.which = RestoreWhich::Last;
      } else {
        command.number = SmallNumber(which, 999);
        if (command.number < 1) {
          return Bad("\"" + which + "\" is no snapshot number: give 1 to 999, first or last.");
        }
      }
    } else if (EqualNoCase(argument, "/log")) {
      if (haveLog) return Bad("Give /log only once.");
      if (!hasValue || arguments[i + 1].empty()) return Bad("/log needs a file name.");
      command.logFile = arguments[++i];
      haveLog = true;
    } else if (EqualNoCase(argument, "/preview")) {
      return Bad("/preview is not available in this version.");
    } else {
      return Bad("Unknown argument \"" + argument + "\".");
    }
  }
  if (command.action == Action::Window && haveLog) {
    return Bad("/log needs one of /apply, /restore and /list.");
  }
  return command;
}

ExitCode ExitCodeFor(const ApplyResult& result) {
  switch (result.status) {
    case ApplyStatus::Applied: return FromCounts(result.changes);
    case ApplyStatus::NotDetected:
    case ApplyStatus::SnapshotFailed: return ExitCode::Refused;
  }
  return ExitCode::Refused;
}

ExitCode ExitCodeFor(const RestoreResult& result) {
  switch (result.status) {
    case RestoreStatus::Restored: return FromCounts(result.changes);
    case RestoreStatus::OtherFamily:
    case RestoreStatus::Unreadable:
    case RestoreStatus::Damaged:
    case RestoreStatus::NothingToDo: return ExitCode::Refused;
  }
  return ExitCode::Refused;
}

std::string UsageText() {
  return "corvane.exe /apply <preset>      apply a preset: its number or its exact name\n"
         "corvane.exe /restore <number>   restore a snapshot (also: first, last)\n"
         "corvane.exe /list               list the snapshots with their dates\n"
         "corvane.exe /?                  show this text\n"
         "Add /log <file> to write the report to a file.\n"
         "Presets:\n" +
         PresetList() +
         "Exit codes:\n"
         "  0  done\n"
         "  1  refused, nothing written (no rights, snapshot numbers used up,\n"
         "     damaged snapshot, snapshot of another Windows version)\n"
         "  2  partly written: some values failed; the snapshot restores them\n"
         "  3  bad arguments: nothing was done\n"
         "Every apply first takes a snapshot of the settings it changes.\n";
}

ExitCode RunCommand(const Command& command, const TuningContext& context,
                    const IDateTimeFormat& format, std::string& report) {
  if (!command.logFile.empty()) {
    const std::string folder = FolderOf(command.logFile);
    FsStatus code = folder.empty() || context.files.FolderExists(folder)
                        ? context.files.WriteFileWhole(command.logFile, "")
                        : fs::kPathNotFound;
    if (code != fs::kSuccess) {
      AddLine(report, "The log file " + command.logFile +
                          " cannot be written: " + context.files.DescribeError(code));
      if (command.action == Action::Bad) AddLine(report, command.error);
      AddLine(report, "Nothing was done.\nExit code 3.");
      return ExitCode::BadArguments;
    }
  }
  ExitCode exit = ExitCode::BadArguments;
  switch (command.action) {
    case Action::Window: AddLine(report, "Nothing to do."); break;
    case Action::Bad:
      AddLine(report, command.error);
      AddLine(report, "Nothing was done. corvane.exe /? lists the arguments.");
      break;
    case Action::Help:
      report += UsageText();
      exit = ExitCode::Done;
      break;
    case Action::Apply: exit = RunApply(command, context, report); break;
    case Action::Restore: exit = RunRestore(command, context, report); break;
    case Action::List: exit = RunList(context, format, report); break;
  }
  AddLine(report, "Exit code " + std::to_string(static_cast<int>(exit)) + ".");
  if (!command.logFile.empty()) (void)context.files.WriteFileWhole(command.logFile, report);
  return exit;
}

}  // namespace corvane::cli
