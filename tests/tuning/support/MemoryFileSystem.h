// An in-memory file system that answers as Windows does for what the
// snapshot files need: names compared without regard to case, drive roots
// that always exist, parents that must exist, the same error codes, files
// that can be made read-only, and faults injected per operation.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tuning/FileSystem.h"

namespace corvane::testing {

enum class FsOp { CreateFolder, List, Write, CreateUnique, Rename, Read, Remove };

class MemoryFileSystem : public IFileSystem {
 public:
  bool FolderExists(std::string_view path) override;
  FsStatus CreateFolder(std::string_view path) override;
  FsStatus ListSnapshotNames(std::string_view folder, std::vector<std::string>& names) override;
  FsStatus WriteFileWhole(std::string_view path, std::string_view data) override;
  FsStatus CreateUniqueFile(std::string_view folder, std::string& path) override;
  FsStatus RenameFile(std::string_view from, std::string_view to) override;
  FsStatus ReadFileText(std::string_view path, std::size_t maxBytes, std::string& data) override;
  FsStatus RemoveFile(std::string_view path) override;
  std::string DescribeError(FsStatus code) override;

  // Test helpers. Paths are full paths like "C:\Corvane\Backups\001.BCK".
  void AddFolder(std::string_view path);  // with its missing parents
  void AddFile(std::string_view path, std::string_view data);  // with its folders
  bool FileExists(std::string_view path) const;
  std::optional<std::string> FileData(std::string_view path) const;
  bool SetReadOnly(std::string_view path, bool readOnly);
  // The names in a folder, in creation order.
  std::vector<std::string> Names(std::string_view folder) const;
  // Makes an operation fail: returns the code to fail with, or 0. A failed
  // write leaves half of the data behind, as a full disk would.
  std::function<FsStatus(FsOp, std::string_view path)> fault;
  // Every successful change, in order: "mkdir P", "create P" (a unique
  // file), "write P", "rename A > B", "remove P".
  std::vector<std::string> log;

 private:
  struct Entry {
    std::string path;  // as created
    bool folder = false;
    bool readOnly = false;
    std::string data;
    std::uint64_t order = 0;
  };
  static std::string Key(std::string_view path);
  static std::string Parent(std::string_view path);
  static bool IsDriveRoot(std::string_view path);
  const Entry* Find(std::string_view path) const;
  bool ParentIsFolder(std::string_view path) const;
  FsStatus Fault(FsOp op, std::string_view path) { return fault ? fault(op, path) : 0; }

  std::map<std::string, Entry> entries_;  // by folded path
  std::uint64_t nextOrder_ = 0;
  unsigned nextUnique_ = 1;
};

}  // namespace corvane::testing
