// The program's registry helpers: free functions for single values and the
// class CRegister. None of them shows a message: readers fall back to the
// caller's default, writers return the platform's result code, which no
// caller can drop unseen ([[nodiscard]]): a refused write is reported or
// visibly ignored where it is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/Registry.h"

namespace corvane {

// A value to store: a number or a text.
class RegValue {
 public:
  template <typename T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
  RegValue(T number) : isNumber_(true), number_(static_cast<std::int64_t>(number)) {}
  RegValue(std::string text) : text_(std::move(text)) {}
  RegValue(std::string_view text) : text_(text) {}
  RegValue(const char* text) : text_(text) {}

  bool isNumber() const { return isNumber_; }
  // The decimal form of a number, or the text itself.
  std::string Text() const;
  // The value as a 32-bit signed integer: a number in range, or a text that
  // spells one in decimal. Nothing when it does not convert.
  std::optional<std::int32_t> ToInt32() const;

 private:
  bool isNumber_ = false;
  std::int64_t number_ = 0;
  std::string text_;
};

// Where the program keeps its own settings, under HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kAppSettingsRoot = "SOFTWARE\\Tarvik\\Pellavon";

// Writes (or, with deleteIt, removes) one REG_SZ (type 1) or REG_DWORD
// (type 4) value. The key is created first, even for a removal, so a removal
// can leave an empty key behind. Returns the code of the write or removal, the
// code of the failed create, and 0 for any other type. A value that does not
// convert to a 32-bit integer for type 4 is refused with 87 and nothing is
// created.
[[nodiscard]] RegStatus SetRegValue(IRegistry& registry, RootKey root, std::string_view keyPath,
                      std::string_view valueName, std::uint32_t valueType, const RegValue& value,
                      bool deleteIt);

// Stores the value's text form as REG_SZ. Returns the code of the write, or
// of the failed create when the key cannot be created or opened for writing
// (nothing is written then).
[[nodiscard]] RegStatus WriteRegString(IRegistry& registry, RootKey root, std::string_view keyPath,
                                       std::string_view valueName, const RegValue& value);
[[nodiscard]] RegStatus SaveAppSetting(IRegistry& registry, std::string_view keyPath,
                                       std::string_view valueName, const RegValue& value);

// Reads a value of at most 254 characters (a 255-byte buffer) as text; the
// default when the key or value is missing or the value is longer.
std::string ReadRegString(IRegistry& registry, RootKey root, std::string_view keyPath,
                          std::string_view valueName, std::string defaultValue);
std::string GetAppSetting(IRegistry& registry, std::string_view keyPath,
                          std::string_view valueName, std::string defaultValue);

// Registry access by section (key path) and key (value name); "*" names the
// key's default value. Holds no state: every method opens and closes what it
// needs.
class CRegister {
 public:
  explicit CRegister(IRegistry& registry) : registry_(registry) {}

  [[nodiscard]] bool REGDeleteSetting(RootKey regHKEY, std::string_view sSection, std::string_view sKey);
  std::string REGGetSetting(RootKey regHKEY, std::string_view sSection, std::string_view sKey,
                            std::string sDefault = "");
  [[nodiscard]] bool REGSaveSetting(RootKey regHKEY, std::string_view sSection, std::string_view sKey,
                      std::string_view sValue);
  std::vector<std::string> GetAllKeys(RootKey hKey, std::string_view strPath);
  // The value's data read as an unsigned little-endian number; 0 when it
  // cannot be read. Past 128 bytes a number so large is infinite.
  double myREGGetSetting(RootKey regHKEY, std::string_view sSection, std::string_view sKey);

  struct ValueData {
    std::uint32_t type = reg::kTypeNone;
    std::vector<std::uint8_t> bytes;
  };
  // A value's type and whole data, opened and queried as REGGetSetting does;
  // nothing when it cannot be read or has no data.
  std::optional<ValueData> ReadData(RootKey regHKEY, std::string_view sSection,
                                    std::string_view sKey);

 private:
  static std::string NormalizeSection(std::string_view sSection);
  RegStatus OpenForReading(RootKey regHKEY, std::string_view sSection, RegKey& key);

  IRegistry& registry_;
};

}  // namespace corvane
