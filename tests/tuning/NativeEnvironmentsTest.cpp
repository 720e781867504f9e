// The shared suites against the in-memory twins; and the rewriting of the
// golden files (CORVANE_UPDATE_GOLDEN=1), which is done from memory only, so
// that the files hold what the rules give, not what one registry happens to.
#include <cstdlib>
#include <fstream>

#include "tests/support/MemoryRegistry.h"
#include "tests/tuning/contract/FileSystemContract.h"
#include "tests/tuning/contract/GoldenSnapshotSuite.h"
#include "tests/tuning/support/MemoryFileSystem.h"

namespace corvane::testing {
namespace {

constexpr const char* kProgramFolder = "C:\\Program Files\\Corvane";

class MemoryFileEnvironment : public FileSystemTestEnvironment {
 public:
  MemoryFileEnvironment() { files_.AddFolder(kProgramFolder); }
  IFileSystem& files() override { return files_; }
  std::string scratch() override { return kProgramFolder; }
  bool MakeReadOnly(const std::string& path, bool readOnly) override {
    return files_.SetReadOnly(path, readOnly);
  }

 private:
  MemoryFileSystem files_;
};

INSTANTIATE_TEST_SUITE_P(InMemory, FileSystemContract,
                         ::testing::Values(FileSystemEnvironmentFactory{
                             "MemoryFileSystem",
                             [] { return std::make_unique<MemoryFileEnvironment>(); }}),
                         FileSystemContractName);

class MemoryTuningEnvironment : public TuningEnvironment {
 public:
  explicit MemoryTuningEnvironment(RegistryFlavor flavor) : registry_(flavor) {
    files_.AddFolder(kProgramFolder);
  }
  IRegistry& registry() override { return registry_; }
  IFileSystem& files() override { return files_; }
  std::string programFolder() override { return kProgramFolder; }

 private:
  MemoryRegistry registry_;
  MemoryFileSystem files_;
};

TuningEnvironmentFactory Memory(RegistryFlavor flavor) {
  return {flavor == RegistryFlavor::Nt ? "MemoryNt" : "Memory9x",
          [flavor] { return std::make_unique<MemoryTuningEnvironment>(flavor); }};
}

std::vector<GoldenParam> BothFlavors() {
  auto params = GoldenParams(Memory(RegistryFlavor::Win9x));
  auto nt = GoldenParams(Memory(RegistryFlavor::Nt));
  params.insert(params.end(), nt.begin(), nt.end());
  return params;
}

INSTANTIATE_TEST_SUITE_P(InMemory, GoldenSnapshot, ::testing::ValuesIn(BothFlavors()),
                         GoldenParamName);

TEST(GoldenFiles, RewrittenFromMemoryWhenAsked) {
  if (std::getenv("CORVANE_UPDATE_GOLDEN") == nullptr) {
    GTEST_SKIP() << "set CORVANE_UPDATE_GOLDEN=1 to rewrite tests/tuning/golden";
  }
  for (const GoldenCase& c : GoldenCases()) {
    MemoryTuningEnvironment env(Is9xFamily(c.family) ? RegistryFlavor::Win9x : RegistryFlavor::Nt);
    std::string data = TakeGoldenSnapshot(env.registry(), env.files(), env.programFolder(), c);
    ASSERT_EQ(data.rfind("ERROR", 0), std::string::npos) << data;
    std::ofstream out(std::string(GoldenSourceFolder()) + "/" + c.fileName,
                      std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    ASSERT_TRUE(out.good());
  }
}

}  // namespace
}  // namespace corvane::testing
