#include "tests/tuning/support/RecordingRegistry.h"

namespace corvane::testing {

std::string RecordingRegistry::PathOf(RegHandle key) const {
  if (key == RootHandle(RootKey::LocalMachine)) return "HKLM";
  if (key == RootHandle(RootKey::CurrentUser)) return "HKCU";
  auto it = paths_.find(key);
  return it == paths_.end() ? "?" : it->second;
}

RegStatus RecordingRegistry::CreateKey(RegHandle parent, std::string_view subKey,
                                       std::uint32_t access, RegHandle& result) {
  RegStatus status = MemoryRegistry::CreateKey(parent, subKey, access, result);
  if (status == reg::kSuccess) paths_[result] = PathOf(parent) + "\\" + std::string(subKey);
  return status;
}

RegStatus RecordingRegistry::OpenKey(RegHandle parent, std::string_view subKey,
                                     std::uint32_t access, RegHandle& result) {
  RegStatus status = MemoryRegistry::OpenKey(parent, subKey, access, result);
  if (status == reg::kSuccess) paths_[result] = PathOf(parent) + "\\" + std::string(subKey);
  return status;
}

RegStatus RecordingRegistry::CloseKey(RegHandle key) {
  paths_.erase(key);
  return MemoryRegistry::CloseKey(key);
}

RegStatus RecordingRegistry::SetValue(RegHandle key, std::string_view name, std::uint32_t type,
                                      const std::uint8_t* data, std::uint32_t size) {
  if (beforeChange) beforeChange();
  std::string path = PathOf(key);
  if (refuse) {
    if (RegStatus code = refuse(path, name)) return code;
  }
  std::string shown;
  if (type == reg::kTypeSz) {
    std::string text(reinterpret_cast<const char*>(data), size);
    if (!text.empty() && text.back() == '\0') text.pop_back();
    shown = "\"" + text + "\"";
  } else if (type == reg::kTypeDword && size == 4) {
    std::uint32_t v = data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
    shown = std::to_string(v);
  } else {
    shown = "type " + std::to_string(type);
  }
  log.push_back("set " + path + "\\" + std::string(name) + " = " + shown);
  return MemoryRegistry::SetValue(key, name, type, data, size);
}

RegStatus RecordingRegistry::DeleteValue(RegHandle key, std::string_view name) {
  if (beforeChange) beforeChange();
  std::string path = PathOf(key);
  if (refuse) {
    if (RegStatus code = refuse(path, name)) return code;
  }
  log.push_back("del " + path + "\\" + std::string(name));
  return MemoryRegistry::DeleteValue(key, name);
}

}  // namespace corvane::testing
