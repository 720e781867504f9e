#include "tests/support/MemoryRegistry.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace corvane::testing {

namespace {

// Names compare as Wine's registry compares them: folded to lower case, so
// "_x" sorts before "A".
char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The ANSI functions convert a key path into a buffer of MAX_PATH + 1
// characters; a longer path fails with ERROR_MORE_DATA.
constexpr std::size_t kMaxAnsiKeyPath = 260;
// Value names are limited to 16383 characters.
constexpr std::size_t kMaxValueName = 16383;

// Splits a key path at its backslashes. Empty components (doubled or trailing
// backslashes) are skipped, as Windows does; a leading backslash is refused.
bool SplitPath(std::string_view path, std::vector<std::string>& parts, RegStatus& status) {
  if (path.size() > kMaxAnsiKeyPath) {
    status = reg::kMoreData;
    return false;
  }
  if (!path.empty() && path.front() == '\\') {
    status = reg::kBadPathname;
    return false;
  }
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return true;
}

constexpr RegStatus kKeyDeleted = 1018;  // ERROR_KEY_DELETED
constexpr std::uint32_t kReadOnlyRights = reg::kKeyRead;

}  // namespace

bool CaseInsensitiveLess::operator()(const std::string& a, const std::string& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) {
                                        return static_cast<unsigned char>(Fold(x)) <
                                               static_cast<unsigned char>(Fold(y));
                                      });
}

struct MemoryRegistry::Key {
  std::map<std::string, std::shared_ptr<Key>, CaseInsensitiveLess> subkeys;
  std::map<std::string, StoredValue, CaseInsensitiveLess> values;
  bool readOnly = false;
  bool deleted = false;
  bool isRoot = false;
};

MemoryRegistry::MemoryRegistry(RegistryFlavor flavor) : flavor_(flavor) {
  for (RootKey root : {RootKey::ClassesRoot, RootKey::CurrentUser, RootKey::LocalMachine,
                       RootKey::Users, RootKey::DynData}) {
    auto key = std::make_shared<Key>();
    key->isRoot = true;
    roots_[RootHandle(root)] = key;
  }
}

MemoryRegistry::~MemoryRegistry() = default;

std::shared_ptr<MemoryRegistry::Key> MemoryRegistry::RootOf(RegHandle handle) const {
  auto it = roots_.find(handle);
  return it == roots_.end() ? nullptr : it->second;
}

MemoryRegistry::Key* MemoryRegistry::Resolve(RegHandle handle, std::uint32_t neededAccess,
                                             RegStatus& status) {
  if (auto root = RootOf(handle)) {
    status = reg::kSuccess;
    return root.get();
  }
  auto it = handles_.find(handle);
  if (it == handles_.end()) {
    status = reg::kInvalidHandle;
    return nullptr;
  }
  if (it->second.key->deleted) {
    status = kKeyDeleted;
    return nullptr;
  }
  if ((it->second.access & neededAccess) != neededAccess) {
    status = reg::kAccessDenied;
    return nullptr;
  }
  status = reg::kSuccess;
  return it->second.key.get();
}

RegHandle MemoryRegistry::NewHandle(std::shared_ptr<Key> key, std::uint32_t access) {
  RegHandle handle = nextHandle_;
  nextHandle_ += 4;
  handles_[handle] = OpenKeyEntry{std::move(key), access};
  return handle;
}

RegStatus MemoryRegistry::OpenKey(RegHandle parent, std::string_view subKey,
                                  std::uint32_t access, RegHandle& result) {
  result = 0;
  RegStatus status = reg::kSuccess;
  if (Resolve(parent, 0, status) == nullptr) return status;
  std::vector<std::string> parts;
  if (!SplitPath(subKey, parts, status)) return status;

  std::shared_ptr<Key> current;
  if (auto root = RootOf(parent)) {
    current = root;
  } else {
    current = handles_.at(parent).key;
  }
  for (const auto& part : parts) {
    auto it = current->subkeys.find(part);
    if (it == current->subkeys.end()) return reg::kFileNotFound;
    current = it->second;
  }
  if (current->readOnly && (access & ~kReadOnlyRights) != 0) return reg::kAccessDenied;
  result = NewHandle(current, access);
  return reg::kSuccess;
}

RegStatus MemoryRegistry::CreateKey(RegHandle parent, std::string_view subKey,
                                    std::uint32_t access, RegHandle& result) {
  result = 0;
  if (flavor_ == RegistryFlavor::Win9x && !subKey.empty() && subKey.front() == '\\') {
    subKey.remove_prefix(1);
  }
  RegStatus status = reg::kSuccess;
  if (Resolve(parent, 0, status) == nullptr) return status;
  std::vector<std::string> parts;
  if (!SplitPath(subKey, parts, status)) return status;

  std::shared_ptr<Key> current = RootOf(parent);
  std::uint32_t parentAccess = reg::kKeyAllAccess;
  if (!current) {
    current = handles_.at(parent).key;
    parentAccess = handles_.at(parent).access;
  }
  // Walk first, so that a refused creation leaves nothing behind.
  std::size_t existing = 0;
  std::shared_ptr<Key> walk = current;
  for (; existing < parts.size(); ++existing) {
    auto it = walk->subkeys.find(parts[existing]);
    if (it == walk->subkeys.end()) break;
    walk = it->second;
  }
  if (existing < parts.size()) {
    // Creating a subkey needs the right to do so on the key it goes under.
    bool fromParentHandle = existing == 0;
    if (walk->readOnly || (fromParentHandle && (parentAccess & reg::kCreateSubKey) == 0)) {
      return reg::kAccessDenied;
    }
    for (std::size_t i = existing; i < parts.size(); ++i) {
      auto key = std::make_shared<Key>();
      walk->subkeys[parts[i]] = key;
      walk = key;
    }
  } else if (walk->readOnly && (access & ~kReadOnlyRights) != 0) {
    return reg::kAccessDenied;
  }
  result = NewHandle(walk, access);
  return reg::kSuccess;
}

RegStatus MemoryRegistry::CloseKey(RegHandle key) {
  if (RootOf(key)) return reg::kSuccess;
  return handles_.erase(key) == 1 ? reg::kSuccess : reg::kInvalidHandle;
}

RegStatus MemoryRegistry::QueryValue(RegHandle handle, std::string_view name,
                                     std::uint32_t* type, std::uint8_t* data,
                                     std::uint32_t* size) {
  RegStatus status = reg::kSuccess;
  Key* key = Resolve(handle, reg::kQueryValue, status);
  if (key == nullptr) return status;
  if (data != nullptr && size == nullptr) return reg::kInvalidParameter;
  auto it = key->values.find(std::string(name));
  if (it == key->values.end()) return reg::kFileNotFound;
  const StoredValue& value = it->second;
  if (type != nullptr) *type = value.type;
  auto needed = static_cast<std::uint32_t>(value.data.size());
  if (data == nullptr) {
    if (size != nullptr) *size = needed;
    return reg::kSuccess;
  }
  if (*size < needed) {
    *size = needed;
    return reg::kMoreData;
  }
  if (needed > 0) std::memcpy(data, value.data.data(), needed);
  *size = needed;
  return reg::kSuccess;
}

RegStatus MemoryRegistry::SetValue(RegHandle handle, std::string_view name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) {
  RegStatus status = reg::kSuccess;
  Key* key = Resolve(handle, reg::kSetValue, status);
  if (key == nullptr) return status;
  if (data == nullptr && size != 0) return reg::kInvalidParameter;
  if (name.size() > kMaxValueName) return reg::kInvalidParameter;
  if (flavor_ == RegistryFlavor::Win9x && type == reg::kTypeSz) {
    // 95/98/ME ignore the given size of a text and count it themselves.
    if (data == nullptr) return reg::kInvalidParameter;
    size = static_cast<std::uint32_t>(std::strlen(reinterpret_cast<const char*>(data)) + 1);
  }
  StoredValue value;
  value.type = type;
  if (size > 0) value.data.assign(data, data + size);
  key->values[std::string(name)] = std::move(value);
  return reg::kSuccess;
}

RegStatus MemoryRegistry::DeleteValue(RegHandle handle, std::string_view name) {
  RegStatus status = reg::kSuccess;
  Key* key = Resolve(handle, reg::kSetValue, status);
  if (key == nullptr) return status;
  return key->values.erase(std::string(name)) == 1 ? reg::kSuccess : reg::kFileNotFound;
}

RegStatus MemoryRegistry::DeleteKey(RegHandle handle, std::string_view subKey) {
  RegStatus status = reg::kSuccess;
  Key* start = Resolve(handle, 0, status);
  if (start == nullptr) return status;
  std::vector<std::string> parts;
  if (!SplitPath(subKey, parts, status)) return status;
  if (parts.empty()) return reg::kAccessDenied;  // the key itself: not through this call

  Key* parent = start;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    auto it = parent->subkeys.find(parts[i]);
    if (it == parent->subkeys.end()) return reg::kFileNotFound;
    parent = it->second.get();
  }
  auto it = parent->subkeys.find(parts.back());
  if (it == parent->subkeys.end()) return reg::kFileNotFound;
  Key& victim = *it->second;
  // Deleting opens the key with DELETE rights first, which a read-only key
  // refuses. NT keeps a key that still has subkeys; 95/98/ME take them along.
  if (victim.readOnly) return reg::kAccessDenied;
  if (!victim.subkeys.empty() && flavor_ == RegistryFlavor::Nt) return reg::kAccessDenied;
  std::function<void(Key&)> markDeleted = [&](Key& key) {
    key.deleted = true;
    for (auto& [name, child] : key.subkeys) markDeleted(*child);
  };
  markDeleted(victim);
  parent->subkeys.erase(it);
  return reg::kSuccess;
}

RegStatus MemoryRegistry::EnumKey(RegHandle handle, std::uint32_t index, char* name,
                                  std::uint32_t* nameLength) {
  RegStatus status = reg::kSuccess;
  Key* key = Resolve(handle, reg::kEnumerateSubKeys, status);
  if (key == nullptr) return status;
  if (name == nullptr || nameLength == nullptr) return reg::kInvalidParameter;
  if (index >= key->subkeys.size()) return reg::kNoMoreItems;
  auto it = key->subkeys.begin();
  std::advance(it, index);
  const std::string& found = it->first;
  // The buffer must hold the name and its NUL; otherwise nothing is written.
  if (found.size() + 1 > *nameLength) return reg::kMoreData;
  std::memcpy(name, found.data(), found.size());
  name[found.size()] = '\0';
  *nameLength = static_cast<std::uint32_t>(found.size());
  return reg::kSuccess;
}

std::shared_ptr<MemoryRegistry::Key> MemoryRegistry::FindPath(RootKey root,
                                                              std::string_view path) const {
  std::vector<std::string> parts;
  RegStatus status = reg::kSuccess;
  if (!SplitPath(path, parts, status)) return nullptr;
  std::shared_ptr<Key> current = RootOf(RootHandle(root));
  for (const auto& part : parts) {
    if (!current) return nullptr;
    auto it = current->subkeys.find(part);
    if (it == current->subkeys.end()) return nullptr;
    current = it->second;
  }
  return current;
}

bool MemoryRegistry::SetReadOnly(RootKey root, std::string_view path) {
  if (flavor_ == RegistryFlavor::Win9x) return false;
  auto key = FindPath(root, path);
  if (!key || key->isRoot) return false;
  key->readOnly = true;
  return true;
}

bool MemoryRegistry::KeyExists(RootKey root, std::string_view path) const {
  return FindPath(root, path) != nullptr;
}

std::optional<StoredValue> MemoryRegistry::GetValue(RootKey root, std::string_view path,
                                                    std::string_view name) const {
  auto key = FindPath(root, path);
  if (!key) return std::nullopt;
  auto it = key->values.find(std::string(name));
  if (it == key->values.end()) return std::nullopt;
  return it->second;
}

}  // namespace corvane::testing
