#include "tests/tuning/support/MemoryFileSystem.h"

#include <algorithm>

namespace corvane::testing {

namespace {

std::string Trimmed(std::string_view path) {
  std::string p(path);
  while (p.size() > 1 && p.back() == '\\') p.pop_back();
  return p;
}

bool EndsInBck(std::string_view name) {
  if (name.size() < 4) return false;
  std::string ext(name.substr(name.size() - 4));
  for (char& c : ext) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return ext == ".BCK";
}

}  // namespace

std::string MemoryFileSystem::Key(std::string_view path) {
  std::string key = Trimmed(path);
  for (char& c : key) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return key;
}

std::string MemoryFileSystem::Parent(std::string_view path) {
  std::string p = Trimmed(path);
  std::size_t slash = p.rfind('\\');
  return slash == std::string::npos ? std::string() : p.substr(0, slash);
}

bool MemoryFileSystem::IsDriveRoot(std::string_view path) {
  std::string p = Trimmed(path);
  return p.size() == 2 && p[1] == ':';
}

const MemoryFileSystem::Entry* MemoryFileSystem::Find(std::string_view path) const {
  auto it = entries_.find(Key(path));
  return it == entries_.end() ? nullptr : &it->second;
}

bool MemoryFileSystem::ParentIsFolder(std::string_view path) const {
  std::string parent = Parent(path);
  if (IsDriveRoot(parent)) return true;
  const Entry* entry = Find(parent);
  return entry != nullptr && entry->folder;
}

bool MemoryFileSystem::FolderExists(std::string_view path) {
  if (IsDriveRoot(path)) return true;
  const Entry* entry = Find(path);
  return entry != nullptr && entry->folder;
}

FsStatus MemoryFileSystem::CreateFolder(std::string_view path) {
  if (FsStatus code = Fault(FsOp::CreateFolder, path)) return code;
  if (IsDriveRoot(path) || Find(path) != nullptr) return fs::kAlreadyExists;
  if (!ParentIsFolder(path)) return fs::kPathNotFound;
  entries_[Key(path)] = Entry{Trimmed(path), true, false, {}, nextOrder_++};
  log.push_back("mkdir " + Trimmed(path));
  return fs::kSuccess;
}

FsStatus MemoryFileSystem::ListSnapshotNames(std::string_view folder,
                                             std::vector<std::string>& names) {
  names.clear();
  if (FsStatus code = Fault(FsOp::List, folder)) return code;
  if (!FolderExists(folder)) return fs::kPathNotFound;
  names = Names(folder);
  // Files only: a folder is no snapshot, whatever its name.
  const std::string prefix = Trimmed(folder) + "\\";
  names.erase(std::remove_if(names.begin(), names.end(),
                             [&](const std::string& n) {
                               const Entry* entry = Find(prefix + n);
                               return !EndsInBck(n) || (entry != nullptr && entry->folder);
                             }),
              names.end());
  return fs::kSuccess;
}

FsStatus MemoryFileSystem::WriteFileWhole(std::string_view path, std::string_view data) {
  if (!ParentIsFolder(path)) return fs::kPathNotFound;
  const Entry* existing = Find(path);
  if (existing != nullptr && (existing->folder || existing->readOnly)) return fs::kAccessDenied;
  FsStatus code = Fault(FsOp::Write, path);
  std::uint64_t order = existing != nullptr ? existing->order : nextOrder_++;
  entries_[Key(path)] =
      Entry{Trimmed(path), false, false,
            std::string(code == 0 ? data : data.substr(0, data.size() / 2)), order};
  if (code != 0) return code;
  log.push_back("write " + Trimmed(path));
  return fs::kSuccess;
}

FsStatus MemoryFileSystem::CreateUniqueFile(std::string_view folder, std::string& path) {
  path.clear();
  if (FsStatus code = Fault(FsOp::CreateUnique, folder)) return code;
  if (!FolderExists(folder)) return fs::kPathNotFound;
  static constexpr char kHex[] = "0123456789abcdef";
  for (unsigned tries = 0; tries < 0x10000u; ++tries, ++nextUnique_) {
    unsigned number = nextUnique_ & 0xFFFFu;
    if (number == 0) continue;
    std::string hex;
    for (unsigned n = number; n != 0; n >>= 4) hex.insert(hex.begin(), kHex[n & 15u]);
    std::string candidate = JoinPath(folder, "bck" + hex + ".tmp");
    if (Find(candidate) != nullptr) continue;
    ++nextUnique_;
    entries_[Key(candidate)] = Entry{candidate, false, false, {}, nextOrder_++};
    log.push_back("create " + candidate);
    path = candidate;
    return fs::kSuccess;
  }
  return fs::kFileExists;  // every name is taken
}

FsStatus MemoryFileSystem::RenameFile(std::string_view from, std::string_view to) {
  if (FsStatus code = Fault(FsOp::Rename, from)) return code;
  if (!ParentIsFolder(from)) return fs::kPathNotFound;
  const Entry* source = Find(from);
  if (source == nullptr) return fs::kFileNotFound;
  if (!ParentIsFolder(to)) return fs::kPathNotFound;
  if (Find(to) != nullptr && Key(to) != Key(from)) return fs::kAlreadyExists;
  Entry moved = *source;
  moved.path = Trimmed(to);
  entries_.erase(Key(from));
  entries_[Key(to)] = moved;
  log.push_back("rename " + Trimmed(from) + " > " + Trimmed(to));
  return fs::kSuccess;
}

FsStatus MemoryFileSystem::ReadFileText(std::string_view path, std::size_t maxBytes,
                                        std::string& data) {
  data.clear();
  if (FsStatus code = Fault(FsOp::Read, path)) return code;
  if (!ParentIsFolder(path)) return fs::kPathNotFound;
  const Entry* entry = Find(path);
  if (entry == nullptr) return fs::kFileNotFound;
  if (entry->folder) return fs::kAccessDenied;
  data = entry->data.substr(0, std::min(maxBytes, entry->data.size()));
  return fs::kSuccess;
}

FsStatus MemoryFileSystem::RemoveFile(std::string_view path) {
  if (FsStatus code = Fault(FsOp::Remove, path)) return code;
  if (!ParentIsFolder(path)) return fs::kPathNotFound;
  const Entry* entry = Find(path);
  if (entry == nullptr) return fs::kFileNotFound;
  if (entry->folder || entry->readOnly) return fs::kAccessDenied;
  entries_.erase(Key(path));
  log.push_back("remove " + Trimmed(path));
  return fs::kSuccess;
}

std::string MemoryFileSystem::DescribeError(FsStatus code) {
  switch (code) {
    case fs::kFileNotFound: return "The system cannot find the file specified.";
    case fs::kPathNotFound: return "The system cannot find the path specified.";
    case fs::kAccessDenied: return "Access is denied.";
    case fs::kDiskFull: return "There is not enough space on the disk.";
    case fs::kAlreadyExists: return "Cannot create a file when that file already exists.";
    default: return "Error " + std::to_string(code) + ".";
  }
}

void MemoryFileSystem::AddFolder(std::string_view path) {
  if (IsDriveRoot(path) || path.empty()) return;
  AddFolder(Parent(path));
  if (Find(path) == nullptr) entries_[Key(path)] = Entry{Trimmed(path), true, false, {}, nextOrder_++};
}

void MemoryFileSystem::AddFile(std::string_view path, std::string_view data) {
  AddFolder(Parent(path));
  entries_[Key(path)] = Entry{Trimmed(path), false, false, std::string(data), nextOrder_++};
}

bool MemoryFileSystem::FileExists(std::string_view path) const {
  const Entry* entry = Find(path);
  return entry != nullptr && !entry->folder;
}

std::optional<std::string> MemoryFileSystem::FileData(std::string_view path) const {
  const Entry* entry = Find(path);
  if (entry == nullptr || entry->folder) return std::nullopt;
  return entry->data;
}

bool MemoryFileSystem::SetReadOnly(std::string_view path, bool readOnly) {
  auto it = entries_.find(Key(path));
  if (it == entries_.end()) return false;
  it->second.readOnly = readOnly;
  return true;
}

std::vector<std::string> MemoryFileSystem::Names(std::string_view folder) const {
  std::vector<const Entry*> children;
  std::string key = Key(folder);
  for (const auto& [k, entry] : entries_) {
    if (Key(Parent(entry.path)) == key) children.push_back(&entry);
  }
  std::sort(children.begin(), children.end(),
            [](const Entry* a, const Entry* b) { return a->order < b->order; });
  std::vector<std::string> names;
  for (const Entry* e : children) names.push_back(e->path.substr(e->path.rfind('\\') + 1));
  return names;
}

}  // namespace corvane::testing
