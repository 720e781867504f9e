// The program's own path, taken apart: the application folder that every
// asset, the help, the snapshots and the start-up entry are built from, and
// the file name. A path with no folder in it gives no folder at all, never
// the current one, so that nothing is ever loaded from wherever the program
// happened to be started.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

struct ProgramPathParts {
  std::string folder;    // without a trailing backslash; "C:" for a drive's root
  std::string fileName;  // "corvane.exe"
  friend bool operator==(const ProgramPathParts&, const ProgramPathParts&) = default;
};

// The longest an ANSI path may be (MAX_PATH less its terminating NUL).
inline constexpr std::size_t kAnsiPathLimit = 259;
// The longest name the program opens in its folder: "\Backups\999.BCK".
inline constexpr std::size_t kLongestNameInFolder = 16;

// Folder and file name of a full path; nothing when the path names no
// folder (empty, or no backslash) or no file.
std::optional<ProgramPathParts> SplitProgramPath(std::string_view path);
std::optional<std::wstring> SplitProgramFolder(std::wstring_view path);

// Whether every file the program opens in the folder still has a path the
// ANSI calls take.
bool FolderFitsAnsiCalls(std::string_view folder);

}  // namespace corvane
