// What the Windows benchmark programs share: a clock in seconds, a scratch
// folder of their own in the temporary folder, and the raw loops over the
// files in it that a benchmark measures itself against or clears away.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <string>

namespace corvane::testing {

// Seconds from an arbitrary start, from the performance counter.
inline double Now() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// <temporary folder>\<leaf>, made when missing.
inline std::string BenchTempFolder(const char* leaf) {
  char temp[MAX_PATH + 1] = {};
  DWORD length = ::GetTempPathA(MAX_PATH, temp);
  std::string path(temp, length);
  if (!path.empty() && path.back() == '\\') path.pop_back();
  path += "\\";
  path += leaf;
  (void)::CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

// Calls `each` with the full path of every file in the folder whose name
// matches the pattern, straight through FindFirstFileA/FindNextFileA.
template <typename F>
void ForEachFile(const std::string& folder, const char* pattern, F&& each) {
  WIN32_FIND_DATAA found{};
  HANDLE find = ::FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    each(folder + "\\" + found.cFileName);
  } while (::FindNextFileA(find, &found));
  ::FindClose(find);
}

// The raw counterpart of listing the snapshots: finds every *.BCK file of
// the folder and reads its first bytes; the number of lines found, two for
// each file that has its two heading lines.
inline std::size_t ReadSnapshotHeadsRaw(const std::string& folder) {
  std::size_t lines = 0;
  ForEachFile(folder, "*.BCK", [&](const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    char buffer[256];
    DWORD got = 0;
    if (::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
      lines += static_cast<std::size_t>(std::count(buffer, buffer + got, '\n') >= 2 ? 2 : 0);
    }
    ::CloseHandle(file);
  });
  return lines;
}

// Removes the folder's files that match the pattern, then the folder when
// that leaves it empty.
inline void RemoveBenchFiles(const std::string& folder, const char* pattern) {
  ForEachFile(folder, pattern, [](const std::string& path) { (void)::DeleteFileA(path.c_str()); });
  (void)::RemoveDirectoryA(folder.c_str());
}

}  // namespace corvane::testing
