// An in-memory registry that answers as the real one does: key and value
// names compared without regard to case, subkeys enumerated in sorted order,
// types kept, the default value under the empty name, the same result codes
// (ANSI key paths over 260 characters included), and keys that can be made
// read-only. Used by the native tests of every
// subsystem; tests/contract holds it to the behaviour of the real registry.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace corvane::testing {

struct CaseInsensitiveLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

struct StoredValue {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  bool operator==(const StoredValue&) const = default;
};

enum class RegistryFlavor { Nt, Win9x };

class MemoryRegistry : public IRegistry {
 public:
  explicit MemoryRegistry(RegistryFlavor flavor = RegistryFlavor::Nt);
  RegistryFlavor flavor() const { return flavor_; }
  ~MemoryRegistry() override;

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

  // Test helpers, addressed by root and path.
  // Lets the key be opened for reading only (as a read-only security
  // descriptor would). Returns false when the key does not exist, and on the
  // 95/98/ME flavour, whose registry has no security.
  bool SetReadOnly(RootKey root, std::string_view path);
  bool KeyExists(RootKey root, std::string_view path) const;
  std::optional<StoredValue> GetValue(RootKey root, std::string_view path,
                                      std::string_view name) const;
  // Number of handles opened and not yet closed (root handles excluded).
  std::size_t OpenHandleCount() const { return handles_.size(); }

 private:
  struct Key;
  struct OpenKeyEntry {
    std::shared_ptr<Key> key;
    std::uint32_t access = 0;
  };

  Key* Resolve(RegHandle handle, std::uint32_t neededAccess, RegStatus& status);
  std::shared_ptr<Key> RootOf(RegHandle handle) const;
  std::shared_ptr<Key> FindPath(RootKey root, std::string_view path) const;
  RegHandle NewHandle(std::shared_ptr<Key> key, std::uint32_t access);

  RegistryFlavor flavor_;
  std::map<RegHandle, OpenKeyEntry> handles_;
  std::map<RegHandle, std::shared_ptr<Key>> roots_;
  RegHandle nextHandle_ = 0x1000;
};

}  // namespace corvane::testing
