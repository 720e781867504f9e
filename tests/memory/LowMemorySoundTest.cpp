// The alarm's "\low-memory.wav" as the build ships it: a plain PCM file that
// every Windows version plays, audible but far from full scale, and
// starting and ending in silence so it never clicks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace corvane::memory {
namespace {

std::string SourceRoot() { return CORVANE_SOURCE_ROOT; }

std::uint32_t Le(const std::vector<unsigned char>& b, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
  return v;
}

TEST(LowMemorySound, IsQuietPcmThatStartsAndEndsInSilence) {
  std::ifstream in(SourceRoot() + "assets/sounds/low-memory.wav", std::ios::binary);
  std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(b.size(), 44u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
  EXPECT_EQ(Le(b, 4, 4), b.size() - 8);
  EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(Le(b, 20, 2), 1u);      // PCM
  EXPECT_EQ(Le(b, 22, 2), 1u);      // mono
  EXPECT_EQ(Le(b, 24, 4), 22050u);  // samples a second
  EXPECT_EQ(Le(b, 34, 2), 16u);     // bits a sample
  ASSERT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
  std::uint32_t bytes = Le(b, 40, 4);
  ASSERT_EQ(bytes, b.size() - 44);
  std::size_t count = bytes / 2;
  // Long enough to notice, short enough not to nag: 0.5 to 2 seconds.
  EXPECT_GE(count, 22050u / 2);
  EXPECT_LE(count, 22050u * 2);
  int peak = 0;
  std::vector<int> values;
  for (std::size_t i = 0; i < count; ++i) {
    int v = static_cast<std::int16_t>(Le(b, 44 + 2 * i, 2));
    values.push_back(v);
    peak = std::max(peak, std::abs(v));
  }
  EXPECT_GT(peak, 32767 / 5);
  EXPECT_LT(peak, 32767 / 2);
  EXPECT_LT(std::abs(values.front()), 300);
  EXPECT_LT(std::abs(values.back()), 300);
}

}  // namespace
}  // namespace corvane::memory
