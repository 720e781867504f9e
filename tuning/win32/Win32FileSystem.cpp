#include "tuning/win32/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/Handle.h"

namespace corvane::win32 {

namespace {

struct FindHandleTraits {
  using type = HANDLE;
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE value) { (void)::FindClose(value); }
};
using UniqueFind = UniqueHandle<FindHandleTraits>;

FsStatus LastError() {
  DWORD code = ::GetLastError();
  return code == 0 ? fs::kWriteFault : static_cast<FsStatus>(code);  // never report a failure as 0
}

// Windows matches "*.BCK" against short names as well, so "x.bckup" (short
// name X~1.BCK) would match; only names that really end in .BCK count.
bool EndsInBck(const char* name) {
  std::string_view n(name);
  if (n.size() < 4) return false;
  std::string_view ext = n.substr(n.size() - 4);
  return ext[0] == '.' && (ext[1] == 'B' || ext[1] == 'b') && (ext[2] == 'C' || ext[2] == 'c') &&
         (ext[3] == 'K' || ext[3] == 'k');
}

}  // namespace

bool Win32FileSystem::FolderExists(std::string_view path) {
  DWORD attributes = ::GetFileAttributesA(std::string(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

FsStatus Win32FileSystem::CreateFolder(std::string_view path) {
  return ::CreateDirectoryA(std::string(path).c_str(), nullptr) ? fs::kSuccess : LastError();
}

FsStatus Win32FileSystem::ListSnapshotNames(std::string_view folder,
                                            std::vector<std::string>& names) {
  names.clear();
  WIN32_FIND_DATAA found{};
  UniqueFind find(::FindFirstFileA(JoinPath(folder, "*.BCK").c_str(), &found));
  if (!find) {
    FsStatus code = LastError();
    // No match at all: 2 on NT, 18 on 95/98/ME. A missing folder is 3.
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_FILES) {
      return FolderExists(folder) ? fs::kSuccess : fs::kPathNotFound;
    }
    return code;
  }
  do {
    // Files only: a folder is no snapshot, whatever its name.
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && EndsInBck(found.cFileName)) {
      names.emplace_back(found.cFileName);
    }
  } while (::FindNextFileA(find.get(), &found));
  FsStatus code = LastError();
  return code == ERROR_NO_MORE_FILES ? fs::kSuccess : code;
}

FsStatus Win32FileSystem::WriteFileWhole(std::string_view path, std::string_view data) {
  UniqueFile file(::CreateFileA(std::string(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastError();
  std::size_t done = 0;
  while (done < data.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 20));
    DWORD written = 0;
    if (!::WriteFile(file.get(), data.data() + done, chunk, &written, nullptr)) return LastError();
    if (written == 0) return fs::kWriteFault;
    done += written;
  }
  // On the disk before the caller gives it its final name.
  if (!::FlushFileBuffers(file.get())) return LastError();
  HANDLE raw = file.release();
  if (!::CloseHandle(raw)) return LastError();
  return fs::kSuccess;
}

FsStatus Win32FileSystem::CreateUniqueFile(std::string_view folder, std::string& path) {
  path.clear();
  char name[MAX_PATH + 1] = {};
  // Number 0: the system tries numbers until it creates a file that did not
  // exist, so the name is this caller's alone.
  if (::GetTempFileNameA(std::string(folder).c_str(), "bck", 0, name) == 0) return LastError();
  path = name;
  return fs::kSuccess;
}

FsStatus Win32FileSystem::RenameFile(std::string_view from, std::string_view to) {
  return ::MoveFileA(std::string(from).c_str(), std::string(to).c_str()) ? fs::kSuccess
                                                                          : LastError();
}

FsStatus Win32FileSystem::ReadFileText(std::string_view path, std::size_t maxBytes,
                                       std::string& data) {
  data.clear();
  UniqueFile file(::CreateFileA(std::string(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastError();
  char buffer[4096];
  while (data.size() < maxBytes) {
    DWORD want = static_cast<DWORD>(std::min<std::size_t>(sizeof buffer, maxBytes - data.size()));
    DWORD got = 0;
    if (!::ReadFile(file.get(), buffer, want, &got, nullptr)) return LastError();
    if (got == 0) break;  // the end of the file
    data.append(buffer, got);
  }
  return fs::kSuccess;
}

FsStatus Win32FileSystem::RemoveFile(std::string_view path) {
  return ::DeleteFileA(std::string(path).c_str()) ? fs::kSuccess : LastError();
}

std::string Win32FileSystem::DescribeError(FsStatus code) {
  char buffer[512] = {};
  DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, buffer, sizeof buffer, nullptr);
  std::string text(buffer, length);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  if (text.empty()) text = "Error " + std::to_string(code) + ".";
  return text;
}

}  // namespace corvane::win32
