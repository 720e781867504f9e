// What frees memory for the RAM configuration and the system status
// window: a claim at once on the asking thread, or (win32/) on a worker.
#pragma once

#include <cstdint>
#include <functional>

#include "memory/FreeRAM.h"

namespace corvane::memory {

// Frees memory: FreeUpMemory (amount) of some FreeRAM, the amount being
// megabytes x 1048576 as FreeRAM takes it. Claims run one at a time, in the
// order asked; `done` runs on the asking thread once that claim has ended.
// Busy while a claim is asked for and not yet done; an alarm check then
// skips its freeing.
class IMemoryReleaser {
 public:
  using Done = std::function<void()>;
  virtual ~IMemoryReleaser() = default;
  virtual void FreeUpMemory(std::int32_t amount, Done done) = 0;
  virtual bool Busy() const { return false; }
};

// The claim made at once, on the caller's thread, `done` right after; its
// result (a halved claim when the block cannot be had) is not looked at.
class FreeRamReleaser final : public IMemoryReleaser {
 public:
  explicit FreeRamReleaser(FreeRAM& memory) : memory_(memory) {}
  void FreeUpMemory(std::int32_t amount, Done done) override {
    (void)memory_.FreeUpMemory(amount);
    if (done) done();
  }

 private:
  FreeRAM& memory_;
};

}  // namespace corvane::memory
