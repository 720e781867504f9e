#include "tests/tuning/contract/FileSystemContract.h"

#include <algorithm>
#include <vector>

namespace corvane::testing {

std::string FileSystemContractName(
    const ::testing::TestParamInfo<FileSystemEnvironmentFactory>& info) {
  return info.param.name;
}

namespace {

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST_P(FileSystemContract, FoldersAreCreatedOnlyUnderAnExistingParent) {
  std::string folder = Path("Backups");
  EXPECT_FALSE(files().FolderExists(folder));
  EXPECT_EQ(files().CreateFolder(folder), fs::kSuccess);
  EXPECT_TRUE(files().FolderExists(folder));
  EXPECT_TRUE(files().FolderExists(Path("BACKUPS")));  // letter case does not matter
  EXPECT_EQ(files().CreateFolder(folder), fs::kAlreadyExists);
  EXPECT_EQ(files().CreateFolder(Path("Missing\\Backups")), fs::kPathNotFound);
  // A file where the folder should be: it is no folder and none can be made.
  std::string file = Path("Plain");
  ASSERT_EQ(files().WriteFileWhole(file, "x"), fs::kSuccess);
  EXPECT_FALSE(files().FolderExists(file));
  EXPECT_EQ(files().CreateFolder(file), fs::kAlreadyExists);
  EXPECT_EQ(files().WriteFileWhole(JoinPath(file, "001.BCK"), "x"), fs::kPathNotFound);
}

TEST_P(FileSystemContract, ListingTakesNamesEndingInBckInAnyCase) {
  for (const char* name : {"001.BCK", "12.bck", "Mixed.BcK", "notes.txt", "002.BCKX", "003.tmp",
                           "BCK", "x.BCK.old"}) {
    ASSERT_EQ(files().WriteFileWhole(Path(name), "data"), fs::kSuccess) << name;
  }
  std::vector<std::string> names;
  EXPECT_EQ(files().ListSnapshotNames(env_->scratch(), names), fs::kSuccess);
  EXPECT_EQ(Sorted(names), (std::vector<std::string>{"001.BCK", "12.bck", "Mixed.BcK"}));

  ASSERT_EQ(files().CreateFolder(Path("Empty")), fs::kSuccess);
  names = {"stale"};
  EXPECT_EQ(files().ListSnapshotNames(Path("Empty"), names), fs::kSuccess);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(files().ListSnapshotNames(Path("Missing"), names), fs::kPathNotFound);
  EXPECT_TRUE(names.empty());
}

TEST_P(FileSystemContract, AFolderNamedLikeASnapshotIsNotListed) {
  ASSERT_EQ(files().WriteFileWhole(Path("001.BCK"), "data"), fs::kSuccess);
  for (const char* name : {"999.BCK", "005.bck"}) {
    ASSERT_EQ(files().CreateFolder(Path(name)), fs::kSuccess) << name;
  }
  std::vector<std::string> names;
  EXPECT_EQ(files().ListSnapshotNames(env_->scratch(), names), fs::kSuccess);
  EXPECT_EQ(names, (std::vector<std::string>{"001.BCK"}));
}

TEST_P(FileSystemContract, WholeFilesAreWrittenReadAndReplaced) {
  std::string path = Path("001.BCK");
  std::string data = "#2008-01-21#\r\n#14:05:09#\r\n7\r\n";
  data += std::string(10000, 'z');  // more than one read buffer
  ASSERT_EQ(files().WriteFileWhole(path, data), fs::kSuccess);
  std::string back;
  EXPECT_EQ(files().ReadFileText(path, 1u << 20, back), fs::kSuccess);
  EXPECT_EQ(back, data);
  EXPECT_EQ(files().ReadFileText(path, 14, back), fs::kSuccess);
  EXPECT_EQ(back, "#2008-01-21#\r\n");
  ASSERT_EQ(files().WriteFileWhole(path, "short"), fs::kSuccess);
  EXPECT_EQ(files().ReadFileText(Path("001.bck"), 100, back), fs::kSuccess);
  EXPECT_EQ(back, "short");
  ASSERT_EQ(files().WriteFileWhole(Path("empty"), ""), fs::kSuccess);
  EXPECT_EQ(files().ReadFileText(Path("empty"), 100, back), fs::kSuccess);
  EXPECT_EQ(back, "");

  EXPECT_EQ(files().ReadFileText(Path("absent"), 100, back), fs::kFileNotFound);
  EXPECT_EQ(files().ReadFileText(Path("Missing\\absent"), 100, back), fs::kPathNotFound);
  ASSERT_EQ(files().CreateFolder(Path("Folder")), fs::kSuccess);
  EXPECT_EQ(files().ReadFileText(Path("Folder"), 100, back), fs::kAccessDenied);
  EXPECT_EQ(files().WriteFileWhole(Path("Folder"), "x"), fs::kAccessDenied);
  EXPECT_EQ(files().WriteFileWhole(Path("Missing\\x"), "x"), fs::kPathNotFound);
}

TEST_P(FileSystemContract, RenamingNeverReplacesAnotherFile) {
  ASSERT_EQ(files().WriteFileWhole(Path("001.tmp"), "new"), fs::kSuccess);
  ASSERT_EQ(files().WriteFileWhole(Path("002.BCK"), "old"), fs::kSuccess);
  FsStatus taken = files().RenameFile(Path("001.tmp"), Path("002.BCK"));
  EXPECT_TRUE(taken == fs::kAlreadyExists || taken == fs::kFileExists) << taken;
  std::string back;
  EXPECT_EQ(files().ReadFileText(Path("002.BCK"), 100, back), fs::kSuccess);
  EXPECT_EQ(back, "old");
  EXPECT_EQ(files().RenameFile(Path("001.tmp"), Path("001.BCK")), fs::kSuccess);
  EXPECT_EQ(files().ReadFileText(Path("001.BCK"), 100, back), fs::kSuccess);
  EXPECT_EQ(back, "new");
  EXPECT_EQ(files().ReadFileText(Path("001.tmp"), 100, back), fs::kFileNotFound);
  EXPECT_EQ(files().RenameFile(Path("absent"), Path("003.BCK")), fs::kFileNotFound);
}

TEST_P(FileSystemContract, UniqueFilesAreNewEmptyAndNeverSnapshots) {
  std::string first, second;
  ASSERT_EQ(files().CreateUniqueFile(env_->scratch(), first), fs::kSuccess);
  ASSERT_EQ(files().CreateUniqueFile(env_->scratch(), second), fs::kSuccess);
  EXPECT_NE(first, second);
  for (const std::string& path : {first, second}) {
    EXPECT_EQ(path.rfind(JoinPath(env_->scratch(), ""), 0), 0u) << path;
    std::string name = path.substr(path.rfind('\\') + 1);
    EXPECT_EQ(name.rfind("bck", 0), 0u) << name;
    ASSERT_GE(name.size(), 4u);
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    EXPECT_EQ(ext, ".tmp") << name;
    std::string back = "x";
    EXPECT_EQ(files().ReadFileText(path, 100, back), fs::kSuccess);
    EXPECT_EQ(back, "");
  }
  // Written whole and given a snapshot's name as any pending file is.
  ASSERT_EQ(files().WriteFileWhole(first, "data"), fs::kSuccess);
  std::vector<std::string> names;
  ASSERT_EQ(files().ListSnapshotNames(env_->scratch(), names), fs::kSuccess);
  EXPECT_TRUE(names.empty());
  ASSERT_EQ(files().RenameFile(first, Path("001.BCK")), fs::kSuccess);
  EXPECT_NE(files().CreateUniqueFile(Path("Missing"), first), fs::kSuccess);
}

TEST_P(FileSystemContract, RemovalTakesFilesOnly) {
  ASSERT_EQ(files().WriteFileWhole(Path("001.BCK"), "x"), fs::kSuccess);
  EXPECT_EQ(files().RemoveFile(Path("001.bck")), fs::kSuccess);
  EXPECT_EQ(files().RemoveFile(Path("001.BCK")), fs::kFileNotFound);
  EXPECT_EQ(files().RemoveFile(Path("Missing\\001.BCK")), fs::kPathNotFound);
  ASSERT_EQ(files().CreateFolder(Path("Folder.BCK")), fs::kSuccess);
  EXPECT_EQ(files().RemoveFile(Path("Folder.BCK")), fs::kAccessDenied);
}

TEST_P(FileSystemContract, AReadOnlyFileIsNotRemoved) {
  // (Windows also refuses to replace it; Wine, run as root, does not.)
  std::string path = Path("007.BCK");
  ASSERT_EQ(files().WriteFileWhole(path, "kept"), fs::kSuccess);
  ASSERT_TRUE(env_->MakeReadOnly(path, true));
  EXPECT_EQ(files().RemoveFile(path), fs::kAccessDenied);
  std::string back;
  EXPECT_EQ(files().ReadFileText(path, 100, back), fs::kSuccess);
  EXPECT_EQ(back, "kept");
  std::vector<std::string> names;
  EXPECT_EQ(files().ListSnapshotNames(env_->scratch(), names), fs::kSuccess);
  EXPECT_EQ(names, (std::vector<std::string>{"007.BCK"}));
  ASSERT_TRUE(env_->MakeReadOnly(path, false));
  EXPECT_EQ(files().RemoveFile(path), fs::kSuccess);
}

TEST_P(FileSystemContract, ErrorsHaveADescription) {
  EXPECT_FALSE(files().DescribeError(fs::kFileNotFound).empty());
  EXPECT_FALSE(files().DescribeError(fs::kAccessDenied).empty());
  EXPECT_NE(files().DescribeError(fs::kFileNotFound), files().DescribeError(fs::kAccessDenied));
  std::string text = files().DescribeError(fs::kPathNotFound);
  EXPECT_NE(text.back(), '\n');
}

}  // namespace corvane::testing
