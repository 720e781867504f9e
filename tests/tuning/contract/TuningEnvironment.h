// What the tuning suites run against: a registry, a file system and a
// program folder of the test's own. Natively the in-memory twins, under Wine
// the real registry and a temporary folder.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Registry.h"
#include "tuning/FileSystem.h"

namespace corvane::testing {

class TuningEnvironment {
 public:
  virtual ~TuningEnvironment() = default;
  virtual IRegistry& registry() = 0;
  virtual IFileSystem& files() = 0;
  // An existing, empty folder that stands for the program's folder.
  virtual std::string programFolder() = 0;
};

struct TuningEnvironmentFactory {
  std::string name;
  std::function<std::unique_ptr<TuningEnvironment>()> make;
};

}  // namespace corvane::testing
