// A critical section and its scoped hold, for the few places where a worker
// thread hands results back to the user-interface thread.
#pragma once

#include <windows.h>

namespace corvane::win32 {

class CriticalSection {
 public:
  CriticalSection() { ::InitializeCriticalSection(&section_); }
  ~CriticalSection() { ::DeleteCriticalSection(&section_); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;
  void Enter() { ::EnterCriticalSection(&section_); }
  void Leave() { ::LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION section_;
};

class Locked {
 public:
  explicit Locked(CriticalSection& section) : section_(section) { section_.Enter(); }
  ~Locked() { section_.Leave(); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  CriticalSection& section_;
};

}  // namespace corvane::win32
