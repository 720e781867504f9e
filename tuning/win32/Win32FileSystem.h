// IFileSystem over the ANSI file functions of kernel32, as Windows 95 has
// them (no MoveFileEx there).
#pragma once

#include "tuning/FileSystem.h"

namespace corvane::win32 {

class Win32FileSystem final : public IFileSystem {
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
};

}  // namespace corvane::win32
