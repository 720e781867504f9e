#include "tests/tuning/win/WinTuningEnvironment.h"

#include <windows.h>
#include <sddl.h>

namespace corvane::testing {

namespace {

int g_scratchCounter = 0;

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found{};
  HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        (void)::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        (void)::DeleteFileA(path.c_str());
      }
    } while (::FindNextFileA(find, &found));
    (void)::FindClose(find);
  }
  (void)::RemoveDirectoryA(folder.c_str());
}

bool SetKeyDescriptor(RootKey root, const std::string& path, const char* sddl) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(reinterpret_cast<HKEY>(RootHandle(root)), path.c_str(), 0,
                      WRITE_DAC | KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  bool ok = ::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1,
                                                                   &descriptor, nullptr) != 0;
  if (ok) {
    ok = ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    ::LocalFree(descriptor);
  }
  ::RegCloseKey(key);
  return ok;
}

}  // namespace

bool RunningOn9x() { return (::GetVersion() & 0x80000000u) != 0; }

ScratchFolder::ScratchFolder() {
  char temp[MAX_PATH + 1] = {};
  DWORD length = ::GetTempPathA(MAX_PATH, temp);
  path_ = std::string(temp, length);
  if (!path_.empty() && path_.back() == '\\') path_.pop_back();
  path_ += "\\corvane-tuning-" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(++g_scratchCounter);
  RemoveTree(path_);
  (void)::CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

bool Win32FileEnvironment::MakeReadOnly(const std::string& path, bool readOnly) {
  return ::SetFileAttributesA(path.c_str(),
                              readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL) != 0;
}

bool LockRegistryKey(RootKey root, const std::string& path) {
  return SetKeyDescriptor(root, path, "D:P(A;;KR;;;WD)");
}

bool UnlockRegistryKey(RootKey root, const std::string& path) {
  return SetKeyDescriptor(root, path, "D:P(A;;KA;;;WD)");
}

}  // namespace corvane::testing
