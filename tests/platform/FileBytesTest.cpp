// Whole-file reading for the data files: every byte as stored, and a result
// one byte over the limit for a file that is too large.
#include "platform/FileBytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace corvane {
namespace {

class FileBytesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() /
             ("corvane-filebytes-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
              "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                .string();
  }
  void TearDown() override { std::remove(path_.c_str()); }
  void Write(const std::string& bytes) {
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
  }
  std::string path_;
};

TEST_F(FileBytesTest, MissingFileGivesNothing) {
  EXPECT_FALSE(ReadFileBytes(path_ + "-missing", 100));
}

TEST_F(FileBytesTest, ReadsSizesAroundTheLimitAndTheChunk) {
  struct Case {
    std::size_t size;
    std::size_t limit;
    std::size_t expected;
  };
  const Case cases[] = {
      {0, 10, 0},            // empty file
      {10, 10, 10},          // exactly the limit
      {11, 10, 11},          // one over: reported as too large
      {5000, 10, 11},        // far over: still only limit + 1 read
      {40000, 65536, 40000}, // more than one read chunk
      {70000, 65536, 65537}, // over the limit across chunks
  };
  for (const Case& c : cases) {
    std::string bytes(c.size, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 + 1);
    Write(bytes);
    auto read = ReadFileBytes(path_, c.limit);
    ASSERT_TRUE(read) << c.size;
    EXPECT_EQ(read->size(), c.expected) << c.size;
    EXPECT_EQ(*read, bytes.substr(0, c.expected)) << c.size;
  }
}

TEST_F(FileBytesTest, KeepsLineEndsAndZeroBytes) {
  const std::string bytes("Line 1\r\nLine 2\n\0\x1a\xff end", 22);
  Write(bytes);
  auto read = ReadFileBytes(path_, 1024);
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, bytes);
}

}  // namespace
}  // namespace corvane
