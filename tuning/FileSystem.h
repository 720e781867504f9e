// The file system as the snapshot files need it: the Backups folder, its
// *.BCK entries, whole-file writes that reach the disk before they get their
// final name, reads and deletion. Paths are full ANSI paths with backslashes.
// Win32FileSystem (tuning/win32) calls kernel32; MemoryFileSystem
// (tests/tuning/support) keeps files in memory. One contract suite
// (tests/tuning/contract) holds the two together.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// A Windows error code (GetLastError); 0 is success.
using FsStatus = std::uint32_t;

namespace fs {
inline constexpr FsStatus kSuccess = 0;
inline constexpr FsStatus kFileNotFound = 2;
inline constexpr FsStatus kPathNotFound = 3;
inline constexpr FsStatus kAccessDenied = 5;
inline constexpr FsStatus kWriteFault = 29;
inline constexpr FsStatus kFileExists = 80;
inline constexpr FsStatus kDiskFull = 112;
inline constexpr FsStatus kAlreadyExists = 183;
}  // namespace fs

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;

  // Whether path names an existing folder (a file of that name is not one).
  virtual bool FolderExists(std::string_view path) = 0;
  // CreateDirectoryA: the parent must exist; an existing entry gives 183.
  virtual FsStatus CreateFolder(std::string_view path) = 0;
  // The names (without the folder) of the files of folder whose names end
  // in ".BCK" in any letter case (never a folder's), in the order of the directory enumeration.
  // A missing folder gives 3 (or 2) and no names; an empty one, success.
  virtual FsStatus ListSnapshotNames(std::string_view folder, std::vector<std::string>& names) = 0;
  // Creates the file (replacing one of that name), writes data whole, makes
  // the system write it to the disk, and closes it. On failure the file may
  // be left behind, partly written.
  virtual FsStatus WriteFileWhole(std::string_view path, std::string_view data) = 0;
  // GetTempFileNameA with a unique number of its own: creates a new, empty
  // file "bck<hex>.tmp" in folder under a name that no other caller, in this
  // process or another, is given while it exists, and stores its full path.
  virtual FsStatus CreateUniqueFile(std::string_view folder, std::string& path) = 0;
  // MoveFileA: gives the file a new name in the same folder; refuses (183 or
  // 80) when the new name is taken.
  virtual FsStatus RenameFile(std::string_view from, std::string_view to) = 0;
  // Reads at most maxBytes from the start of the file.
  virtual FsStatus ReadFileText(std::string_view path, std::size_t maxBytes, std::string& data) = 0;
  virtual FsStatus RemoveFile(std::string_view path) = 0;
  // The system's description of an error code, for a message to the user.
  virtual std::string DescribeError(FsStatus code) = 0;
};

// folder + "\" + name, without doubling a backslash that ends folder.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace corvane
