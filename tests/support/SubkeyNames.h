// The names of a key's subkeys, read through IRegistry::EnumKey until it
// reports no more: the walk the registry contract and the tuning tests'
// tree removal both need.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace corvane::testing {

inline std::vector<std::string> SubkeyNames(IRegistry& registry, RegHandle key) {
  std::vector<std::string> names;
  for (std::uint32_t i = 0;; ++i) {
    char name[512];  // a key name holds 255 characters at the most
    std::uint32_t length = sizeof name;
    if (registry.EnumKey(key, i, name, &length) != reg::kSuccess) break;
    names.emplace_back(name, length);
  }
  return names;
}

}  // namespace corvane::testing
