// An in-memory registry that records every value write and removal with the
// full key path the caller named, and can refuse writes under chosen keys.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/support/MemoryRegistry.h"

namespace corvane::testing {

class RecordingRegistry : public MemoryRegistry {
 public:
  using MemoryRegistry::MemoryRegistry;

  RegStatus CreateKey(RegHandle parent, std::string_view subKey, std::uint32_t access,
                      RegHandle& result) override;
  RegStatus OpenKey(RegHandle parent, std::string_view subKey, std::uint32_t access,
                    RegHandle& result) override;
  RegStatus CloseKey(RegHandle key) override;
  RegStatus SetValue(RegHandle key, std::string_view name, std::uint32_t type,
                     const std::uint8_t* data, std::uint32_t size) override;
  RegStatus DeleteValue(RegHandle key, std::string_view name) override;

  // "set HKLM\path\name = "text"" (REG_SZ, without its NUL), "set ... = 1500"
  // (REG_DWORD, unsigned), "del HKLM\path\name".
  std::vector<std::string> log;
  // Returns the code to refuse a change of that value with, or 0.
  std::function<RegStatus(const std::string& keyPath, std::string_view name)> refuse;
  // Called before each write or removal is carried out.
  std::function<void()> beforeChange;

 private:
  std::string PathOf(RegHandle key) const;
  std::map<RegHandle, std::string> paths_;
};

}  // namespace corvane::testing
