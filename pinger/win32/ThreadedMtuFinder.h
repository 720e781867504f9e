// MTU searches on a worker thread, their progress and report on the thread
// that made the finder (the window's). A search runs MtuFinder whole with
// services of its own; "trying" steps and the report come back through a
// WorkerMailbox. Cancelling sets a flag the worker reads before each probe
// and drops whatever that search posts later; nothing ever waits for a
// worker, so a window that goes while a probe is out is not held up.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "pinger/MtuFinder.h"
#include "platform/win32/WorkerMailbox.h"

namespace corvane::win32 {

// What a worker posts: a size being tried, or the report that ends it.
struct MtuStep {
  bool done = false;
  std::uint16_t trying = 0;
  MtuReport report;
};

class ThreadedMtuFinder final : public IMtuSearch {
 public:
  explicit ThreadedMtuFinder(HINSTANCE instance = ::GetModuleHandleA(nullptr),
                             std::uint32_t timeoutMs = kMtuProbeTimeoutMs);
  ~ThreadedMtuFinder() override;

  void Start(const std::string& host, Trying trying, Done done) override;
  void Cancel() override;

 private:
  void Landed(std::uint64_t id, MtuStep step);

  std::uint32_t timeoutMs_;
  std::uint64_t current_ = 0;  // the search whose steps are taken
  std::shared_ptr<std::atomic<bool>> cancelled_;
  Trying trying_;
  Done done_;
  // Last, so that it closes first when the finder goes.
  WorkerMailbox<MtuStep> mailbox_;
};

}  // namespace corvane::win32
