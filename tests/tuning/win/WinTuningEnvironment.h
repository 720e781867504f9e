// The real system for the tuning suites under Wine: the registry, the file
// system in a temporary folder of the test's own, and helpers to lock a key.
#pragma once

#include <string>

#include "platform/win32/Win32Registry.h"
#include "tests/tuning/contract/FileSystemContract.h"
#include "tests/tuning/contract/TuningEnvironment.h"
#include "tuning/win32/Win32FileSystem.h"

namespace corvane::testing {

// Whether the running Windows is of the 95/98/ME family (GetVersion).
bool RunningOn9x();

// A new, empty folder under the temporary folder; removed with all it
// holds by the destructor.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

class Win32TuningEnvironment : public TuningEnvironment {
 public:
  IRegistry& registry() override { return registry_; }
  IFileSystem& files() override { return files_; }
  std::string programFolder() override { return folder_.path(); }

 private:
  win32::Win32Registry registry_;
  win32::Win32FileSystem files_;
  ScratchFolder folder_;
};

class Win32FileEnvironment : public FileSystemTestEnvironment {
 public:
  IFileSystem& files() override { return files_; }
  std::string scratch() override { return folder_.path(); }
  bool MakeReadOnly(const std::string& path, bool readOnly) override;

 private:
  win32::Win32FileSystem files_;
  ScratchFolder folder_;
};

// Gives an existing key a descriptor that lets everyone read it and nothing
// else; false where the registry has no security (95/98/ME).
bool LockRegistryKey(RootKey root, const std::string& path);
// Gives the key back a descriptor that grants everyone everything.
bool UnlockRegistryKey(RootKey root, const std::string& path);

}  // namespace corvane::testing
