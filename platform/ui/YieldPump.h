// "Yield to the window system": a handler lets waiting messages run so that
// windows keep painting. The program's handlers that yield do so before
// they hand their work to a worker thread: "Ping Now" (six times before the
// ping is sent), "Optimize Now" and the alarm's check (before each claim).
// The pings and the claims themselves never run on the window's thread.
// Other handlers may run in between, but never the one that is yielding: an
// event for a handler that is still running further up when it arrives
// during a yield is dropped (a second click on "Ping Now" while the first
// one yields does not ping again). Outside a yield, nested events are
// delivered: a text box's change echo must reach its own Change handler.
#pragma once

#include <functional>
#include <utility>
#include <vector>

// <windows.h>, included before this header in the Windows build, defines
// Yield() as an empty macro of 16-bit times, which would erase YieldPump::Yield.
#ifdef Yield
#undef Yield
#endif

namespace corvane::ui {

class YieldPump {
 public:
  // dispatchWaiting runs the messages waiting for this thread and returns.
  explicit YieldPump(std::function<void()> dispatchWaiting) : dispatchWaiting_(std::move(dispatchWaiting)) {}
  YieldPump(const YieldPump&) = delete;
  YieldPump& operator=(const YieldPump&) = delete;

  // Runs what waits for the window system, then returns.
  void DoEvents();
  // The yield step the handlers take (PingerSettings, SystemStatusModel,
  // RamConfigurationModel).
  std::function<void()> YieldStep() {
    return [this] { DoEvents(); };
  }

  // Runs the handler of (owner, id) unless that handler is running further
  // up and has yielded since. False when dropped.
  bool Run(const void* owner, int id, const std::function<void()>& handler);

  bool yielding() const { return yieldDepth_ > 0; }

 private:
  struct Running {
    const void* owner;
    int id;
    int yieldDepthAtStart;
  };

  std::function<void()> dispatchWaiting_;
  std::vector<Running> running_;
  int yieldDepth_ = 0;
};

}  // namespace corvane::ui
