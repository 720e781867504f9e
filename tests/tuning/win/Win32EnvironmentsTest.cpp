// The shared suites against the real file system and registry, and the
// program's own folder.
#include <windows.h>

#include "tests/tuning/contract/GoldenSnapshotSuite.h"
#include "tests/tuning/win/WinTuningEnvironment.h"
#include "platform/win32/ProgramFile.h"

namespace corvane::testing {
namespace {

INSTANTIATE_TEST_SUITE_P(Win32, FileSystemContract,
                         ::testing::Values(FileSystemEnvironmentFactory{
                             "Win32FileSystem",
                             [] { return std::make_unique<Win32FileEnvironment>(); }}),
                         FileSystemContractName);

INSTANTIATE_TEST_SUITE_P(Win32, GoldenSnapshot,
                         ::testing::ValuesIn(GoldenParams(TuningEnvironmentFactory{
                             "Win32", [] { return std::make_unique<Win32TuningEnvironment>(); }})),
                         GoldenParamName);

TEST(ProgramFolder, IsTheFolderOfTheRunningProgramFile) {
  std::string folder = win32::ProgramFolder();
  char module[MAX_PATH + 1] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, module, MAX_PATH);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(std::string(module, length), folder + "\\corvane_win_tests.exe");
  EXPECT_TRUE(win32::Win32FileSystem().FolderExists(folder));
}

}  // namespace
}  // namespace corvane::testing
