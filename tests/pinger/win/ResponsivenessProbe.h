// Measures how long a window's thread leaves messages unanswered: a probe
// thread sends the window WM_NULL again and again (SendMessageTimeout) and
// keeps the longest wait for an answer. Used by the tests that check that a
// ping never freezes the user-interface thread, and by the benchmark.
#pragma once

#include <windows.h>

#include <atomic>
#include <vector>

namespace corvane::testing {

class ResponsivenessProbe {
 public:
  // With recordFromMs, every wait at least that long is kept with its time.
  explicit ResponsivenessProbe(HWND window, DWORD everyMs = 2, DWORD recordFromMs = 0)
      : window_(window), everyMs_(everyMs), recordFromMs_(recordFromMs) {
    stop_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = ::CreateThread(nullptr, 0, &Run, this, 0, nullptr);
  }
  ResponsivenessProbe(const ResponsivenessProbe&) = delete;
  ResponsivenessProbe& operator=(const ResponsivenessProbe&) = delete;
  ~ResponsivenessProbe() { Stop(); }

  // Ends the probing; the figures stay. The probe's last message may be
  // waiting for this very thread, so it is answered while we wait.
  void Stop() {
    if (thread_ == nullptr) return;
    ::SetEvent(stop_);
    while (::MsgWaitForMultipleObjects(1, &thread_, FALSE, INFINITE, QS_SENDMESSAGE) != WAIT_OBJECT_0) {
      MSG msg;
      ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    }
    ::CloseHandle(thread_);
    ::CloseHandle(stop_);
    thread_ = nullptr;
  }
  // The longest a message waited for its answer, in milliseconds.
  DWORD LongestMs() const { return longest_; }
  // How many messages were answered.
  long Answered() const { return answered_; }
  // Whether one message was not answered within 30 s.
  bool GaveUp() const { return gaveUp_; }
  // The waits kept (see recordFromMs): when the message was sent, in
  // QueryPerformanceCounter seconds, and how long it waited. Read after Stop.
  struct Wait {
    double sentAt;
    DWORD ms;
  };
  const std::vector<Wait>& LongWaits() const { return longWaits_; }

 private:
  static DWORD WINAPI Run(LPVOID self) {
    static_cast<ResponsivenessProbe*>(self)->Loop();
    return 0;
  }
  void Loop() {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    while (::WaitForSingleObject(stop_, everyMs_) == WAIT_TIMEOUT) {
      LARGE_INTEGER before, after;
      ::QueryPerformanceCounter(&before);
      DWORD_PTR result = 0;
      LRESULT sent = ::SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
      ::QueryPerformanceCounter(&after);
      if (sent == 0) {
        gaveUp_ = true;
        continue;
      }
      ++answered_;
      DWORD ms = static_cast<DWORD>((after.QuadPart - before.QuadPart) * 1000 / frequency.QuadPart);
      if (ms > longest_) longest_ = ms;
      if (recordFromMs_ != 0 && ms >= recordFromMs_) {
        longWaits_.push_back({static_cast<double>(before.QuadPart) / static_cast<double>(frequency.QuadPart), ms});
      }
    }
  }

  HWND window_;
  DWORD everyMs_;
  DWORD recordFromMs_;
  std::vector<Wait> longWaits_;
  HANDLE stop_ = nullptr;
  HANDLE thread_ = nullptr;
  std::atomic<DWORD> longest_{0};
  std::atomic<long> answered_{0};
  std::atomic<bool> gaveUp_{false};
};

}  // namespace corvane::testing
