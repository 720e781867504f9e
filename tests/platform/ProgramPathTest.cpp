// The program's path taken apart: never the current folder.
#include "platform/ProgramPath.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct SplitCase {
  const char* path;
  std::optional<ProgramPathParts> expected;
};

class SplitProgramPathTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitProgramPathTest, GivesFolderAndNameOrNothing) {
  EXPECT_EQ(SplitProgramPath(GetParam().path), GetParam().expected) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SplitProgramPathTest,
    ::testing::Values(SplitCase{"C:\\Program Files\\Corvane\\corvane.exe",
                                ProgramPathParts{"C:\\Program Files\\Corvane", "corvane.exe"}},
                      SplitCase{"C:\\corvane.exe", ProgramPathParts{"C:", "corvane.exe"}},
                      SplitCase{"C:\\PROGRA~1\\CORVAN~1\\corvane.exe",
                                ProgramPathParts{"C:\\PROGRA~1\\CORVAN~1", "corvane.exe"}},
                      // A path that could not be read, or names no folder: no
                      // folder at all, never "." (the current one).
                      SplitCase{"", std::nullopt}, SplitCase{"corvane.exe", std::nullopt},
                      SplitCase{"\\corvane.exe", std::nullopt}, SplitCase{"C:\\Corvane\\", std::nullopt}));

TEST(FolderFitsAnsiCalls, LeavesRoomForTheLongestFileInTheFolder) {
  EXPECT_FALSE(FolderFitsAnsiCalls(""));
  EXPECT_TRUE(FolderFitsAnsiCalls("C:"));
  EXPECT_TRUE(FolderFitsAnsiCalls(std::string(kAnsiPathLimit - kLongestNameInFolder, 'x')));
  EXPECT_FALSE(FolderFitsAnsiCalls(std::string(kAnsiPathLimit - kLongestNameInFolder + 1, 'x')));
}

}  // namespace
}  // namespace corvane
