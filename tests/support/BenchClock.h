// What the Windows benchmark programs share: a clock in seconds and a
// scratch folder of their own in the temporary folder.
#pragma once

#include <windows.h>

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

}  // namespace corvane::testing
