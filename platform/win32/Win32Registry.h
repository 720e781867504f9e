// IRegistry over the ANSI registry functions of advapi32.
#pragma once

#include "platform/Registry.h"

namespace corvane::win32 {

class Win32Registry final : public IRegistry {
 public:
  CORVANE_REGISTRY_OVERRIDES
};

}  // namespace corvane::win32
