// The golden snapshot files, byte for byte, taken from the same prepared
// registry in memory and in the real registry under Wine.
#pragma once

#include <gtest/gtest.h>

#include <ostream>

#include "tests/tuning/contract/TuningEnvironment.h"
#include "tests/tuning/support/RegistryStates.h"

namespace corvane::testing {

struct GoldenParam {
  TuningEnvironmentFactory environment;
  GoldenCase goldenCase;
  friend void PrintTo(const GoldenParam& p, std::ostream* os) {
    *os << p.environment.name << " " << p.goldenCase.fileName;
  }
};

class GoldenSnapshot : public ::testing::TestWithParam<GoldenParam> {};

// Every golden case against one environment.
std::vector<GoldenParam> GoldenParams(const TuningEnvironmentFactory& environment);
std::string GoldenParamName(const ::testing::TestParamInfo<GoldenParam>& info);

}  // namespace corvane::testing
