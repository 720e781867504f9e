// The file-system contract: what the snapshot files rely on from the file
// system, checked against the in-memory one natively and against the real
// one under Wine (as Windows 98 and as XP), so that the two cannot drift.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <memory>
#include <string>

#include "tuning/FileSystem.h"

namespace corvane::testing {

class FileSystemTestEnvironment {
 public:
  virtual ~FileSystemTestEnvironment() = default;
  virtual IFileSystem& files() = 0;
  // An existing, empty folder of this test's own; removed afterwards.
  virtual std::string scratch() = 0;
  // Sets or clears the read-only attribute of a file.
  virtual bool MakeReadOnly(const std::string& path, bool readOnly) = 0;
};

struct FileSystemEnvironmentFactory {
  std::string name;
  std::function<std::unique_ptr<FileSystemTestEnvironment>()> make;
  friend void PrintTo(const FileSystemEnvironmentFactory& f, std::ostream* os) { *os << f.name; }
};

class FileSystemContract : public ::testing::TestWithParam<FileSystemEnvironmentFactory> {
 protected:
  void SetUp() override { env_ = GetParam().make(); }
  void TearDown() override { env_.reset(); }
  IFileSystem& files() { return env_->files(); }
  std::string Path(const std::string& name) { return JoinPath(env_->scratch(), name); }

  std::unique_ptr<FileSystemTestEnvironment> env_;
};

std::string FileSystemContractName(
    const ::testing::TestParamInfo<FileSystemEnvironmentFactory>& info);

}  // namespace corvane::testing
