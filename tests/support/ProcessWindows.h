// Finding a window that another process (the program a test or benchmark
// started) shows: the one EnumWindows search the Windows tests and the
// benchmarks share.
#pragma once

#include <windows.h>

#include <cstring>

namespace corvane::testing {

namespace detail {

struct WindowSearch {
  DWORD pid;
  const char* className;
  const char* title;
  HWND found;
};

inline BOOL CALLBACK MatchVisibleWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  if (owner != search->pid || !::IsWindowVisible(hwnd)) return TRUE;
  if (search->className != nullptr) {
    char name[64] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    if (std::strcmp(name, search->className) != 0) return TRUE;
  }
  if (search->title != nullptr) {
    // Only now the title: for a window of this process that asks its thread.
    char title[64] = {};
    ::GetWindowTextA(hwnd, title, sizeof title);
    if (std::strcmp(title, search->title) != 0) return TRUE;
  }
  search->found = hwnd;
  return FALSE;
}

}  // namespace detail

// The first visible top-level window of the process whose class (and
// title, when one is named) is the one named, or of any class for nullptr;
// nullptr when there is none.
inline HWND VisibleWindowOf(DWORD pid, const char* className, const char* title = nullptr) {
  detail::WindowSearch search{pid, className, title, nullptr};
  ::EnumWindows(&detail::MatchVisibleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace corvane::testing
