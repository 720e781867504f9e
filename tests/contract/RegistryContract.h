// The registry contract: what the program relies on from a registry, checked
// against the in-memory registry natively and against the real registry under
// Wine, so that the two cannot drift apart.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/Registry.h"

namespace corvane::testing {

class RegistryTestEnvironment {
 public:
  virtual ~RegistryTestEnvironment() = default;
  virtual IRegistry& registry() = 0;
  // Whether this registry is the 95/98/ME family's.
  virtual bool Is9x() const = 0;
  // Gives the key (which must exist) a descriptor that grants reading only;
  // false where the registry has no security (95/98/ME).
  virtual bool MakeReadOnly(RootKey root, const std::string& path) = 0;
};

struct RegistryEnvironmentFactory {
  std::string name;
  std::function<std::unique_ptr<RegistryTestEnvironment>()> make;
};

class RegistryContract : public ::testing::TestWithParam<RegistryEnvironmentFactory> {
 protected:
  void SetUp() override;
  void TearDown() override;

  IRegistry& registry() { return env_->registry(); }
  bool Is9x() const { return env_->Is9x(); }
  // Makes a key read-only, or skips the test on the family that has no
  // registry security.
  bool LockKey(const std::string& path);
  // A key path of this test's own under HKEY_CURRENT_USER, which does not
  // exist yet; removed again at the end of the test.
  const std::string& sandbox() const { return sandbox_; }
  std::string Path(const std::string& relative) const { return sandbox_ + "\\" + relative; }

  std::unique_ptr<RegistryTestEnvironment> env_;
  std::string sandbox_;
};

std::string ContractName(const ::testing::TestParamInfo<RegistryEnvironmentFactory>& info);

// Removes a key and everything below it; keys that refuse removal stay.
void DeleteTree(IRegistry& registry, RegHandle parent, const std::string& path);

}  // namespace corvane::testing
