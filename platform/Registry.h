// The registry as the program sees it: a small interface shaped after the
// ANSI registry functions of Windows (RegCreateKeyExA, RegQueryValueExA, ...),
// with the same result codes. Two implementations exist: Win32Registry
// (platform/win32) calls advapi32; MemoryRegistry keeps a tree in memory for
// native tests. One contract test suite (tests/contract) holds them together.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace corvane {

using RegStatus = std::int32_t;  // a Windows LONG result code
using RegHandle = std::uintptr_t;  // an open key; 0 is no key

// The predefined root keys, with the values Windows gives their handles.
enum class RootKey : std::uint32_t {
  ClassesRoot = 0x80000000u,
  CurrentUser = 0x80000001u,
  LocalMachine = 0x80000002u,
  Users = 0x80000003u,
  DynData = 0x80000006u,
};

constexpr RegHandle RootHandle(RootKey root) { return static_cast<RegHandle>(root); }

namespace reg {
// Result codes the program meets.
inline constexpr RegStatus kSuccess = 0;
inline constexpr RegStatus kFileNotFound = 2;    // missing key or value
inline constexpr RegStatus kAccessDenied = 5;    // rights refused; key with subkeys
inline constexpr RegStatus kInvalidHandle = 6;
inline constexpr RegStatus kInvalidParameter = 87;
inline constexpr RegStatus kBadPathname = 161;   // a key path starting with "\"
inline constexpr RegStatus kMoreData = 234;      // buffer too small
inline constexpr RegStatus kNoMoreItems = 259;   // end of an enumeration

// Value types.
inline constexpr std::uint32_t kTypeNone = 0;
inline constexpr std::uint32_t kTypeSz = 1;      // REG_SZ
inline constexpr std::uint32_t kTypeBinary = 3;  // REG_BINARY
inline constexpr std::uint32_t kTypeDword = 4;   // REG_DWORD

// Access rights.
inline constexpr std::uint32_t kQueryValue = 0x0001;
inline constexpr std::uint32_t kSetValue = 0x0002;
inline constexpr std::uint32_t kCreateSubKey = 0x0004;
inline constexpr std::uint32_t kEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kNotify = 0x0010;
inline constexpr std::uint32_t kCreateLink = 0x0020;
inline constexpr std::uint32_t kKeyRead = 0x20019;       // KEY_READ
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;  // KEY_ALL_ACCESS
// What SetRegValue asks for: query, set, create subkey, enumerate, notify, link.
inline constexpr std::uint32_t kSetRegValueAccess = 0x3F;

// Longest key name Windows allows; enumeration buffers hold this many chars.
inline constexpr std::uint32_t kMaxKeyNameLength = 255;
}  // namespace reg

class IRegistry {
 public:
  virtual ~IRegistry() = default;

  // RegCreateKeyExA: non-volatile, default security. Opens the key when it
  // exists; creates every missing key along the path otherwise.
  virtual RegStatus CreateKey(RegHandle parent, std::string_view subKey, std::uint32_t access,
                              RegHandle& result) = 0;
  // RegOpenKeyExA.
  virtual RegStatus OpenKey(RegHandle parent, std::string_view subKey, std::uint32_t access,
                            RegHandle& result) = 0;
  virtual RegStatus CloseKey(RegHandle key) = 0;
  // RegQueryValueExA. data may be null to learn the size; on kMoreData the
  // needed size is stored in *size. An empty name is the default value.
  virtual RegStatus QueryValue(RegHandle key, std::string_view name, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) = 0;
  // RegSetValueExA.
  virtual RegStatus SetValue(RegHandle key, std::string_view name, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t size) = 0;
  // RegDeleteValueA.
  virtual RegStatus DeleteValue(RegHandle key, std::string_view name) = 0;
  // RegDeleteKeyA: refuses (kAccessDenied) a key that has subkeys.
  virtual RegStatus DeleteKey(RegHandle key, std::string_view subKey) = 0;
  // RegEnumKeyExA: *nameLength is the buffer size in characters on the way
  // in, the name's length without its NUL on success.
  virtual RegStatus EnumKey(RegHandle key, std::uint32_t index, char* name,
                            std::uint32_t* nameLength) = 0;
};

// Owns one open key of an IRegistry and closes it once. Move-only.
class RegKey {
 public:
  RegKey() = default;
  RegKey(IRegistry& registry, RegHandle handle) : registry_(&registry), handle_(handle) {}
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  RegKey(RegKey&& other) noexcept
      : registry_(other.registry_), handle_(std::exchange(other.handle_, 0)) {}
  RegKey& operator=(RegKey&& other) noexcept {
    if (this != &other) {
      reset();
      registry_ = other.registry_;
      handle_ = std::exchange(other.handle_, 0);
    }
    return *this;
  }
  ~RegKey() { reset(); }

  RegHandle get() const { return handle_; }
  explicit operator bool() const { return handle_ != 0; }
  void reset() {
    if (handle_ != 0 && registry_ != nullptr) registry_->CloseKey(handle_);
    handle_ = 0;
  }

 private:
  IRegistry* registry_ = nullptr;
  RegHandle handle_ = 0;
};

// Convenience forms that hand back an owning RegKey.
inline RegStatus OpenRegKey(IRegistry& registry, RegHandle parent, std::string_view subKey,
                            std::uint32_t access, RegKey& key) {
  RegHandle handle = 0;
  RegStatus status = registry.OpenKey(parent, subKey, access, handle);
  key = status == reg::kSuccess ? RegKey(registry, handle) : RegKey();
  return status;
}

inline RegStatus CreateRegKey(IRegistry& registry, RegHandle parent, std::string_view subKey,
                              std::uint32_t access, RegKey& key) {
  RegHandle handle = 0;
  RegStatus status = registry.CreateKey(parent, subKey, access, handle);
  key = status == reg::kSuccess ? RegKey(registry, handle) : RegKey();
  return status;
}

}  // namespace corvane
