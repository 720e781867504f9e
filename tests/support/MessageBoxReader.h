// Reads the program's message boxes as the user would, for the Windows tests
// whose code under test shows one on its own thread: a watcher thread finds
// each box titled with the program's title in this process, keeps its text
// and presses OK, until the reader goes.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/AppInfo.h"
#include "platform/win32/CriticalSection.h"

namespace corvane::testing {

class MessageBoxReader {
 public:
  MessageBoxReader() { thread_ = ::CreateThread(nullptr, 0, &Watch, this, 0, nullptr); }
  ~MessageBoxReader() {
    stop_ = true;
    if (thread_ != nullptr) {
      ::WaitForSingleObject(thread_, 5000);
      ::CloseHandle(thread_);
    }
  }
  MessageBoxReader(const MessageBoxReader&) = delete;
  MessageBoxReader& operator=(const MessageBoxReader&) = delete;

  // The texts of the boxes answered so far, in order.
  std::vector<std::string> texts() {
    win32::Locked lock(section_);
    return texts_;
  }

 private:
  struct Search {
    DWORD pid;
    HWND found;
  };
  static BOOL CALLBACK FindBox(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    char name[16] = {};
    char title[64] = {};
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    ::GetClassNameA(hwnd, name, sizeof name);
    ::GetWindowTextA(hwnd, title, sizeof title);
    if (pid == search->pid && std::string(name) == "#32770" && std::string(title) == kAppTitle &&
        ::IsWindowVisible(hwnd)) {
      search->found = hwnd;
      return FALSE;
    }
    return TRUE;
  }
  static DWORD WINAPI Watch(LPVOID param) {
    auto* self = static_cast<MessageBoxReader*>(param);
    HWND last = nullptr;
    while (!self->stop_) {
      Search search{::GetCurrentProcessId(), nullptr};
      ::EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
      if (search.found != nullptr && search.found != last) {
        last = search.found;
        char text[1024] = {};
        ::GetDlgItemTextA(search.found, 0xFFFF, text, sizeof text);  // the box's text control
        {
          win32::Locked lock(self->section_);
          self->texts_.emplace_back(text);
        }
        ::PostMessageA(search.found, WM_COMMAND, IDOK, 0);
      }
      ::Sleep(25);
    }
    return 0;
  }

  std::atomic<bool> stop_{false};
  win32::CriticalSection section_;
  std::vector<std::string> texts_;
  HANDLE thread_ = nullptr;
};

}  // namespace corvane::testing
