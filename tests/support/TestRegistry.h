// The registry of the test's prefix as the Win32 and GUI tests set it up and
// read back what they (or the program they drive) stored there, straight
// through the A functions: the one copy of the open-query-close and
// create-set-close sequences those tests share.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "platform/win32/Handle.h"

namespace corvane::testing {

struct StoredValue {
  DWORD type = REG_NONE;
  std::string bytes;  // as stored, a text with its closing NUL cut off

  // The value as a text: up to its first NUL.
  std::string text() const { return std::string(bytes.c_str()); }
  // A number as the family keeps it: REG_DWORD on NT, text on 95/98/ME.
  long long number() const {
    if (type == REG_DWORD && bytes.size() >= sizeof(DWORD)) {
      DWORD value = 0;
      std::memcpy(&value, bytes.data(), sizeof value);
      return static_cast<long long>(value);
    }
    return std::atoll(bytes.c_str());
  }
};

// The value under root\key, of any type; nothing when the key or the value
// is absent (or longer than any the tests store).
inline std::optional<StoredValue> ReadStoredValue(HKEY root, const std::string& key, const char* name) {
  win32::UniqueHkey handle;
  if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, handle.put()) != ERROR_SUCCESS) return std::nullopt;
  char data[1024] = {};
  DWORD size = sizeof data - 1;
  StoredValue value;
  if (::RegQueryValueExA(handle.get(), name, nullptr, &value.type, reinterpret_cast<BYTE*>(data), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.bytes.assign(data, size);
  if (!value.bytes.empty() && value.bytes.back() == '\0' && value.type != REG_DWORD) value.bytes.pop_back();
  return value;
}

// A REG_SZ value as its text; nothing when absent or of another type.
inline std::optional<std::string> ReadStoredText(HKEY root, const std::string& key, const char* name) {
  auto value = ReadStoredValue(root, key, name);
  if (!value || value->type != REG_SZ) return std::nullopt;
  return value->text();
}

// A value as text whatever its type, or "<missing>": for the settings the
// program keeps as strings, compared in EXPECT_EQ.
inline std::string StoredTextOrMissing(HKEY root, const std::string& key, const char* name) {
  auto value = ReadStoredValue(root, key, name);
  return value ? value->text() : "<missing>";
}

// Whether this Windows is of the NT family, which keeps numbers as REG_DWORD
// where 95/98/ME keep them as decimal text.
inline bool IsNtFamily() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  return ::GetVersionExA(&version) != FALSE && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

// Stores a REG_SZ value, making the key when missing; whether both steps
// succeeded.
[[nodiscard]] inline bool StoreText(HKEY root, const std::string& key, const char* name, const std::string& text) {
  win32::UniqueHkey handle;
  if (::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, handle.put(), nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  return ::RegSetValueExA(handle.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

// Stores a number as the family keeps it, or removes the value for nothing
// (an absent value is no failure); whether the key opened and the value was set.
[[nodiscard]] inline bool StoreNumber(HKEY root, const std::string& key, const char* name,
                                      std::optional<long long> value) {
  win32::UniqueHkey handle;
  if (::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, handle.put(), nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  if (!value) {
    (void)::RegDeleteValueA(handle.get(), name);
    return true;
  }
  if (IsNtFamily()) {
    DWORD number = static_cast<DWORD>(*value);
    return ::RegSetValueExA(handle.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                            sizeof number) == ERROR_SUCCESS;
  }
  std::string text = std::to_string(*value);
  return ::RegSetValueExA(handle.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace corvane::testing
