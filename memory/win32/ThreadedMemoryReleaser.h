// Claims on a worker thread, one at a time, each ending on the
// user-interface thread.
//
// FreeUpMemory writes up to gigabytes, which takes seconds; made on the
// user-interface thread it would freeze every window of the program. Here
// the claims asked for wait in a queue that one worker thread works
// through in order, each with a FreeRAM of its own over the system's memory
// status and VirtualAlloc. When a claim ends, the worker says so through a
// WorkerMailbox, which runs the claim's `done` on the thread that asked.
//
// Nothing waits for the worker: destroying the releaser (the program
// ending, Windows restarting) drops the claims not yet started and returns
// at once; a claim in flight ends on its own and its report is dropped.
//
// With CORVANE_CLAIM_LOG naming a file, the worker appends a line
// "FreeUpMemory <amount>" per claim to it instead of claiming, so that
// tests see the claims without the machine paying for them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "memory/MemoryReleaser.h"
#include "platform/win32/WorkerQueue.h"

namespace corvane::win32 {

inline constexpr char kClaimLogVariable[] = "CORVANE_CLAIM_LOG";

class ThreadedMemoryReleaser final : public memory::IMemoryReleaser {
 public:
  // claimLog: "" claims for real, else the file the claims are logged to.
  explicit ThreadedMemoryReleaser(HINSTANCE instance = ::GetModuleHandleA(nullptr), std::string claimLog = {});
  ~ThreadedMemoryReleaser() override;

  void FreeUpMemory(std::int32_t amount, Done done) override;
  // Claims asked for whose `done` has not run yet. Claims that ended but
  // could not say so (their wake-up was not posted) end here first, so that
  // a lost wake-up never leaves the releaser busy for good.
  bool Busy() const override { return claims_.Busy(); }

  // Worker threads of any releaser of this process still running (for tests).
  static long RunningWorkers();

  struct Ended {};

 private:
  WorkerQueue<std::int32_t, Ended> claims_;
};

// The releaser of the program: logging claims when CORVANE_CLAIM_LOG names
// a file, real ones otherwise.
std::unique_ptr<ThreadedMemoryReleaser> MakeMemoryReleaser(HINSTANCE instance);

}  // namespace corvane::win32
