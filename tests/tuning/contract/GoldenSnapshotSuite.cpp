#include "tests/tuning/contract/GoldenSnapshotSuite.h"

#include <algorithm>
#include <cctype>

namespace corvane::testing {

std::vector<GoldenParam> GoldenParams(const TuningEnvironmentFactory& environment) {
  std::vector<GoldenParam> params;
  for (const GoldenCase& c : GoldenCases()) params.push_back({environment, c});
  return params;
}

std::string GoldenParamName(const ::testing::TestParamInfo<GoldenParam>& info) {
  std::string name = info.param.environment.name + "_" + info.param.goldenCase.fileName;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

TEST_P(GoldenSnapshot, MatchesTheGoldenFileByteForByte) {
  const GoldenCase& c = GetParam().goldenCase;
  auto env = GetParam().environment.make();
  std::string taken = TakeGoldenSnapshot(env->registry(), env->files(), env->programFolder(), c);
  ASSERT_EQ(taken.rfind("ERROR", 0), std::string::npos) << taken;
  auto golden = GoldenFile(c.fileName);
  ASSERT_TRUE(golden.has_value()) << c.fileName << " is missing from " << GoldenSourceFolder();
  EXPECT_EQ(taken, *golden) << c.fileName;
  // Lines ended by CR LF, and the count the layout gives.
  EXPECT_EQ(std::count(taken.begin(), taken.end(), '\n'), c.expectedLines);
  EXPECT_EQ(std::count(taken.begin(), taken.end(), '\r'), c.expectedLines);
  EXPECT_EQ(taken.find("\n\r"), std::string::npos);
  EXPECT_EQ(taken.substr(taken.size() - 2), "\r\n");
}

}  // namespace corvane::testing
