// IOsVersionSource over GetVersionExA.
#pragma once

#include "platform/OsVersion.h"

namespace corvane::win32 {

class Win32OsVersion final : public IOsVersionSource {
 public:
  OsVersionInfo GetVersion() const override;
};

}  // namespace corvane::win32
