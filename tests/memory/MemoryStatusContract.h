// The memory-status contract: the relations FreeRAM's callers rely on,
// checked against the fake natively and against GlobalMemoryStatus under
// Wine.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "memory/FreeRAM.h"

namespace corvane::testing {

struct MemoryStatusEnvironment {
  std::string name;
  std::function<std::unique_ptr<IMemoryStatusSource>()> make;
  // Why this source's readings are wrong on this run (empty when they are
  // right): the tests that read them are skipped with that reason.
  std::function<std::string()> fault = [] { return std::string(); };
};

class MemoryStatusContract : public ::testing::TestWithParam<MemoryStatusEnvironment> {
 protected:
  void SetUp() override {
    if (std::string fault = GetParam().fault(); !fault.empty()) GTEST_SKIP() << fault;
    source_ = GetParam().make();
  }
  IMemoryStatusSource& source() { return *source_; }
  std::unique_ptr<IMemoryStatusSource> source_;
};

std::string MemoryStatusName(const ::testing::TestParamInfo<MemoryStatusEnvironment>& info);

}  // namespace corvane::testing
