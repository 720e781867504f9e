#include <windows.h>
#include <sddl.h>

#include "platform/win32/Win32Registry.h"
#include "tests/contract/RegistryContract.h"

namespace corvane::testing {
namespace {

class Win32Environment : public RegistryTestEnvironment {
 public:
  IRegistry& registry() override { return registry_; }
  bool Is9x() const override { return (::GetVersion() & 0x80000000u) != 0; }

  // A descriptor that grants everyone reading and nothing else. Applied to an
  // existing key: Wine ignores a descriptor passed at creation time.
  bool MakeReadOnly(RootKey root, const std::string& path) override {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(reinterpret_cast<HKEY>(RootHandle(root)), path.c_str(), 0,
                        WRITE_DAC | KEY_READ, &key) != ERROR_SUCCESS) {
      return false;
    }
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    bool ok = ::ConvertStringSecurityDescriptorToSecurityDescriptorA(
                  "D:P(A;;KR;;;WD)", SDDL_REVISION_1, &descriptor, nullptr) != 0;
    if (ok) {
      ok = ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
      ::LocalFree(descriptor);
    }
    ::RegCloseKey(key);
    return ok;
  }

 private:
  win32::Win32Registry registry_;
};

INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract,
                         ::testing::Values(RegistryEnvironmentFactory{
                             "Win32Registry",
                             [] { return std::make_unique<Win32Environment>(); }}),
                         ContractName);

}  // namespace
}  // namespace corvane::testing
