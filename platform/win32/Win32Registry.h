// IRegistry over the ANSI registry functions of advapi32.
#pragma once

#include "platform/Registry.h"

namespace corvane::win32 {

class Win32Registry final : public IRegistry {
 public:
  RegStatus CreateKey(RegHandle parent, std::string_view subKey, std::uint32_t access,
                      RegHandle& result) override;
  RegStatus OpenKey(RegHandle parent, std::string_view subKey, std::uint32_t access,
                    RegHandle& result) override;
  RegStatus CloseKey(RegHandle key) override;
  RegStatus QueryValue(RegHandle key, std::string_view name, std::uint32_t* type,
                       std::uint8_t* data, std::uint32_t* size) override;
  RegStatus SetValue(RegHandle key, std::string_view name, std::uint32_t type,
                     const std::uint8_t* data, std::uint32_t size) override;
  RegStatus DeleteValue(RegHandle key, std::string_view name) override;
  RegStatus DeleteKey(RegHandle key, std::string_view subKey) override;
  RegStatus EnumKey(RegHandle key, std::uint32_t index, char* name,
                    std::uint32_t* nameLength) override;
};

}  // namespace corvane::win32
