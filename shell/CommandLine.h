// The command line for administrators: corvane.exe /apply, /restore, /list,
// /log and /?. It runs without a window, through the same apply, snapshot
// and restore as the windows, and answers with an exit code and a report.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tuning/Apply.h"
#include "tuning/BackupManager.h"
#include "tuning/DateTimeFormat.h"
#include "tuning/TuningContext.h"

namespace corvane::cli {

enum class ExitCode : int {
  Done = 0,           // everything asked for was done
  Refused = 1,        // refused, nothing written (no rights, numbers used up, damaged snapshot)
  PartlyWritten = 2,  // some values failed; the snapshot taken first restores them
  BadArguments = 3,   // nothing was done
};

enum class Action {
  Window,   // no command line: the program starts as usual
  Apply,    // /apply <preset>
  Restore,  // /restore <number>|first|last
  List,     // /list
  Help,     // /?
  Bad,      // the arguments could not be understood: see Command::error
};

enum class RestoreWhich { Number, First, Last };

struct Command {
  Action action = Action::Window;
  int preset = -1;  // /apply: index 0 to 7
  RestoreWhich which = RestoreWhich::Number;
  int number = 0;       // /restore <number>: 1 to 999
  std::string logFile;  // /log <file>; empty when not given
  std::string error;    // Action::Bad: what is wrong, for the user
};

// The arguments of a command line (without the program's name), split at
// spaces and tabs; double quotes group a text with spaces and are removed.
std::vector<std::string> SplitArguments(std::string_view commandLine);

// Reads the arguments. Switch names take any letter case; preset names do
// not. An empty command line gives Action::Window.
Command ParseCommandLine(std::string_view commandLine);

// A preset given by its number (1 to 8) or its exact caption: the index 0 to
// 7, or -1 with a message in `error`.
int PresetIndex(std::string_view text, std::string& error);

// How the outcome of an apply or a restore is told by the exit code.
ExitCode ExitCodeFor(const ApplyResult& result);
ExitCode ExitCodeFor(const RestoreResult& result);

// The text of /? (and of the report after bad arguments).
std::string UsageText();

// Carries out a command other than Action::Window with the program's own
// operations, appending what happened to `report`. The log file, when one
// is asked for, is first created empty (a missing folder is a bad argument,
// before anything else is done) and at the end holds the report. Reads
// presetProfiles and currentOsFamily, which the caller has set.
ExitCode RunCommand(const Command& command, const TuningContext& context,
                    const IDateTimeFormat& format, std::string& report);

}  // namespace corvane::cli
