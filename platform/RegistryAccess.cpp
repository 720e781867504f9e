#include "platform/RegistryAccess.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

namespace corvane {

namespace {

// "*" stands for the key's default (unnamed) value.
std::string_view ValueName(std::string_view sKey) {
  return sKey == "*" ? std::string_view() : sKey;
}

// Text data as stored: the characters and one terminating NUL.
std::vector<std::uint8_t> TextData(const std::string& text) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  return data;
}

// The first n - 1 bytes of data as text (the stored text without its NUL).
std::string TextOf(const std::uint8_t* data, std::uint32_t size) {
  if (size <= 1) return std::string();
  return std::string(reinterpret_cast<const char*>(data), size - 1);
}

// A stored value's bytes as text, however long the writer made it; nothing
// when it cannot be read. Most values fit the first buffer; a longer one is
// asked again with the size the registry reports (it may change between the
// two questions, hence the few rounds).
std::optional<std::string> QueryText(IRegistry& registry, RegHandle key, std::string_view valueName) {
  std::vector<std::uint8_t> buffer(256);
  for (int round = 0; round < 4; ++round) {
    auto size = static_cast<std::uint32_t>(buffer.size());
    RegStatus code = registry.QueryValue(key, valueName, nullptr, buffer.data(), &size);
    if (code == reg::kSuccess) {
      return TextOf(buffer.data(), std::min(size, static_cast<std::uint32_t>(buffer.size())));
    }
    if (code != reg::kMoreData || size <= buffer.size()) return std::nullopt;
    buffer.resize(size);
  }
  return std::nullopt;
}

}  // namespace

std::string RegValue::Text() const { return isNumber_ ? std::to_string(number_) : text_; }

std::optional<std::int32_t> RegValue::ToInt32() const {
  std::int64_t wide = number_;
  if (!isNumber_) {
    const char* first = text_.data();
    const char* last = first + text_.size();
    auto [end, error] = std::from_chars(first, last, wide);
    if (error != std::errc() || end != last || text_.empty()) return std::nullopt;
  }
  if (wide < std::numeric_limits<std::int32_t>::min() ||
      wide > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(wide);
}

RegStatus SetRegValue(IRegistry& registry, RootKey root, std::string_view keyPath,
                      std::string_view valueName, std::uint32_t valueType, const RegValue& value,
                      bool deleteIt) {
  std::optional<std::int32_t> number;
  if (valueType == reg::kTypeDword) {
    number = value.ToInt32();
    if (!number) return reg::kInvalidParameter;
  } else if (valueType != reg::kTypeSz) {
    return reg::kSuccess;
  }

  RegKey key;
  RegStatus status = CreateRegKey(registry, RootHandle(root), keyPath, reg::kSetRegValueAccess, key);
  if (status != reg::kSuccess) return status;
  if (deleteIt) return registry.DeleteValue(key.get(), valueName);

  if (valueType == reg::kTypeSz) {
    std::vector<std::uint8_t> data = TextData(value.Text());
    return registry.SetValue(key.get(), valueName, reg::kTypeSz, data.data(),
                             static_cast<std::uint32_t>(data.size()));
  }
  // REG_DWORD: 4 bytes, little-endian.
  auto bits = static_cast<std::uint32_t>(*number);
  std::uint8_t data[4] = {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                          static_cast<std::uint8_t>(bits >> 16),
                          static_cast<std::uint8_t>(bits >> 24)};
  return registry.SetValue(key.get(), valueName, reg::kTypeDword, data, 4);
}

RegStatus WriteRegString(IRegistry& registry, RootKey root, std::string_view keyPath,
                         std::string_view valueName, const RegValue& value) {
  RegKey key;
  RegStatus status = CreateRegKey(registry, RootHandle(root), keyPath, reg::kKeyAllAccess, key);
  if (status != reg::kSuccess) return status;
  std::vector<std::uint8_t> data = TextData(value.Text());
  return registry.SetValue(key.get(), valueName, reg::kTypeSz, data.data(),
                           static_cast<std::uint32_t>(data.size()));
}

RegStatus SaveAppSetting(IRegistry& registry, std::string_view keyPath, std::string_view valueName,
                         const RegValue& value) {
  return WriteRegString(registry, RootKey::LocalMachine, keyPath, valueName, value);
}

std::string ReadRegString(IRegistry& registry, RootKey root, std::string_view keyPath,
                          std::string_view valueName, std::string defaultValue) {
  RegKey key;
  if (OpenRegKey(registry, RootHandle(root), keyPath, reg::kKeyRead, key) != reg::kSuccess) {
    return defaultValue;
  }
  std::optional<std::string> text = QueryText(registry, key.get(), valueName);
  return text ? std::move(*text) : defaultValue;
}

std::string GetAppSetting(IRegistry& registry, std::string_view keyPath,
                          std::string_view valueName, std::string defaultValue) {
  return ReadRegString(registry, RootKey::LocalMachine, keyPath, valueName,
                       std::move(defaultValue));
}

std::string CRegister::NormalizeSection(std::string_view sSection) {
  if (!sSection.empty() && sSection.front() == '\\') sSection.remove_prefix(1);
  if (!sSection.empty() && sSection.back() == '\\') sSection.remove_suffix(1);
  return std::string(sSection);
}

RegStatus CRegister::OpenForReading(RootKey regHKEY, std::string_view sSection, RegKey& key) {
  std::string section = NormalizeSection(sSection);
  RegStatus status = OpenRegKey(registry_, RootHandle(regHKEY), section, reg::kKeyAllAccess, key);
  // A key the user may only read is still read.
  if (status == reg::kAccessDenied) {
    status = OpenRegKey(registry_, RootHandle(regHKEY), section, reg::kKeyRead, key);
  }
  return status;
}

std::optional<CRegister::ValueData> CRegister::ReadData(RootKey regHKEY, std::string_view sSection,
                                                       std::string_view sKey) {
  RegKey key;
  if (OpenForReading(regHKEY, sSection, key) != reg::kSuccess) return std::nullopt;
  std::string_view name = ValueName(sKey);
  std::uint32_t size = 0;
  if (registry_.QueryValue(key.get(), name, nullptr, nullptr, &size) != reg::kSuccess ||
      size == 0) {
    return std::nullopt;
  }
  ValueData value;
  value.bytes.resize(size);
  std::uint32_t got = size;
  if (registry_.QueryValue(key.get(), name, &value.type, value.bytes.data(), &got) !=
      reg::kSuccess) {
    return std::nullopt;
  }
  value.bytes.resize(std::min(got, size));
  return value;
}

std::string CRegister::REGGetSetting(RootKey regHKEY, std::string_view sSection,
                                     std::string_view sKey, std::string sDefault) {
  auto data = ReadData(regHKEY, sSection, sKey);
  if (!data) return sDefault;
  return TextOf(data->bytes.data(), static_cast<std::uint32_t>(data->bytes.size()));
}

double CRegister::myREGGetSetting(RootKey regHKEY, std::string_view sSection,
                                  std::string_view sKey) {
  auto data = ReadData(regHKEY, sSection, sKey);
  if (!data) return 0.0;
  double result = 0.0;
  double scale = 1.0;
  for (std::uint8_t byte : data->bytes) {
    // From the 129th byte on the scale is infinite; a 0 byte adds nothing
    // (0 times infinity would make the sum no number at all).
    if (byte != 0) result += byte * scale;
    scale *= 256.0;
  }
  return result;
}

bool CRegister::REGSaveSetting(RootKey regHKEY, std::string_view sSection, std::string_view sKey,
                               std::string_view sValue) {
  RegKey key;
  if (CreateRegKey(registry_, RootHandle(regHKEY), NormalizeSection(sSection), reg::kKeyAllAccess,
                   key) != reg::kSuccess) {
    return false;
  }
  std::vector<std::uint8_t> data = TextData(std::string(sValue));
  return registry_.SetValue(key.get(), ValueName(sKey), reg::kTypeSz, data.data(),
                            static_cast<std::uint32_t>(data.size())) == reg::kSuccess;
}

bool CRegister::REGDeleteSetting(RootKey regHKEY, std::string_view sSection,
                                 std::string_view sKey) {
  RegKey key;
  if (!sKey.empty()) {
    if (OpenRegKey(registry_, RootHandle(regHKEY), NormalizeSection(sSection), reg::kKeyAllAccess,
                   key) != reg::kSuccess) {
      return false;
    }
    return registry_.DeleteValue(key.get(), ValueName(sKey)) == reg::kSuccess;
  }
  // No value name: the section itself goes, named as given.
  if (OpenRegKey(registry_, RootHandle(regHKEY), "", reg::kKeyAllAccess, key) != reg::kSuccess) {
    return false;
  }
  return registry_.DeleteKey(key.get(), sSection) == reg::kSuccess;
}

std::vector<std::string> CRegister::GetAllKeys(RootKey hKey, std::string_view strPath) {
  std::vector<std::string> names;
  RegKey key;
  if (OpenRegKey(registry_, RootHandle(hKey), strPath, reg::kKeyRead, key) != reg::kSuccess) {
    return names;
  }
  for (std::uint32_t index = 0;; ++index) {
    char buffer[reg::kMaxKeyNameLength];
    std::memset(buffer, ' ', sizeof buffer);
    std::uint32_t length = reg::kMaxKeyNameLength;
    // The first failure ends the list: the end of the subkeys, or a name that
    // does not fit the buffer.
    if (registry_.EnumKey(key.get(), index, buffer, &length) != reg::kSuccess) break;
    const void* nul = std::memchr(buffer, '\0', sizeof buffer);
    std::size_t n = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer)
                        : sizeof buffer;
    names.emplace_back(buffer, n);
  }
  return names;
}

}  // namespace corvane
