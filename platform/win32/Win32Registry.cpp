#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <string>

namespace corvane::win32 {

namespace {

HKEY ToHkey(RegHandle handle) { return reinterpret_cast<HKEY>(handle); }
RegHandle FromHkey(HKEY key) { return reinterpret_cast<RegHandle>(key); }

// The API wants NUL-terminated names.
std::string Z(std::string_view text) { return std::string(text); }

}  // namespace

RegStatus Win32Registry::CreateKey(RegHandle parent, std::string_view subKey,
                                   std::uint32_t access, RegHandle& result) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  LONG status = ::RegCreateKeyExA(ToHkey(parent), Z(subKey).c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, access, nullptr, &key, &disposition);
  result = status == ERROR_SUCCESS ? FromHkey(key) : 0;
  return status;
}

RegStatus Win32Registry::OpenKey(RegHandle parent, std::string_view subKey, std::uint32_t access,
                                 RegHandle& result) {
  HKEY key = nullptr;
  LONG status = ::RegOpenKeyExA(ToHkey(parent), Z(subKey).c_str(), 0, access, &key);
  result = status == ERROR_SUCCESS ? FromHkey(key) : 0;
  return status;
}

RegStatus Win32Registry::CloseKey(RegHandle key) { return ::RegCloseKey(ToHkey(key)); }

RegStatus Win32Registry::QueryValue(RegHandle key, std::string_view name, std::uint32_t* type,
                                    std::uint8_t* data, std::uint32_t* size) {
  DWORD dwType = 0;
  DWORD dwSize = size != nullptr ? *size : 0;
  LONG status = ::RegQueryValueExA(ToHkey(key), Z(name).c_str(), nullptr,
                                   type != nullptr ? &dwType : nullptr, data,
                                   size != nullptr ? &dwSize : nullptr);
  if (type != nullptr && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)) *type = dwType;
  if (size != nullptr && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)) *size = dwSize;
  return status;
}

RegStatus Win32Registry::SetValue(RegHandle key, std::string_view name, std::uint32_t type,
                                  const std::uint8_t* data, std::uint32_t size) {
  return ::RegSetValueExA(ToHkey(key), Z(name).c_str(), 0, type, data, size);
}

RegStatus Win32Registry::DeleteValue(RegHandle key, std::string_view name) {
  return ::RegDeleteValueA(ToHkey(key), Z(name).c_str());
}

RegStatus Win32Registry::DeleteKey(RegHandle key, std::string_view subKey) {
  return ::RegDeleteKeyA(ToHkey(key), Z(subKey).c_str());
}

RegStatus Win32Registry::EnumKey(RegHandle key, std::uint32_t index, char* name,
                                 std::uint32_t* nameLength) {
  DWORD length = *nameLength;
  LONG status =
      ::RegEnumKeyExA(ToHkey(key), index, name, &length, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) *nameLength = length;
  return status;
}

}  // namespace corvane::win32
