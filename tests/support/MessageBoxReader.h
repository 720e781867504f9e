// Reads the program's message boxes as the user would, for the Windows tests
// whose code under test shows one on its own thread: a watcher thread finds
// each box titled with the program's title in this process, keeps its text
// and presses OK, until the reader goes. The reader waits for its watcher
// to end, answering this thread's messages meanwhile.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/AppInfo.h"
#include "platform/win32/CriticalSection.h"
#include "tests/support/ProcessWindows.h"

namespace corvane::testing {

class MessageBoxReader {
 public:
  MessageBoxReader() : state_(std::make_shared<State>()) {
    // The watcher holds the state too: a watcher that outlives the reader
    // (it cannot be stopped in time) never writes into freed memory.
    auto* held = new std::shared_ptr<State>(state_);
    thread_ = ::CreateThread(nullptr, 0, &Watch, held, 0, nullptr);
    if (thread_ == nullptr) delete held;
  }
  ~MessageBoxReader() {
    state_->stop = true;
    if (thread_ == nullptr) return;
    // The watcher asks this thread's windows for their texts, which this
    // thread answers only while it handles messages: wait that way.
    DWORD start = ::GetTickCount();
    while (::MsgWaitForMultipleObjects(1, &thread_, FALSE, 100, QS_ALLINPUT) != WAIT_OBJECT_0 &&
           ::GetTickCount() - start < 30000) {
      MSG msg;
      while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
      }
    }
    ::CloseHandle(thread_);
  }
  MessageBoxReader(const MessageBoxReader&) = delete;
  MessageBoxReader& operator=(const MessageBoxReader&) = delete;

  // The texts of the boxes answered so far, in order.
  std::vector<std::string> texts() {
    win32::Locked lock(state_->section);
    return state_->texts;
  }

 private:
  struct State {
    std::atomic<bool> stop{false};
    win32::CriticalSection section;
    std::vector<std::string> texts;
  };
  static DWORD WINAPI Watch(LPVOID param) {
    std::unique_ptr<std::shared_ptr<State>> held(static_cast<std::shared_ptr<State>*>(param));
    State& state = **held;
    HWND last = nullptr;
    while (!state.stop) {
      HWND found = VisibleWindowOf(::GetCurrentProcessId(), "#32770", kAppTitle);
      if (found != nullptr && found != last) {
        last = found;
        char text[1024] = {};
        ::GetDlgItemTextA(found, 0xFFFF, text, sizeof text);  // the box's text control
        {
          win32::Locked lock(state.section);
          state.texts.emplace_back(text);
        }
        ::PostMessageA(found, WM_COMMAND, IDOK, 0);
      }
      ::Sleep(25);
    }
    return 0;
  }

  std::shared_ptr<State> state_;
  HANDLE thread_ = nullptr;
};

}  // namespace corvane::testing
