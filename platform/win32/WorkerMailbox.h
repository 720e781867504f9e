// Where worker threads hand their results back to the thread that made the
// mailbox.
//
// A worker posts (id, result) from any thread through the mailbox's Slot,
// which it holds by a shared pointer. The mailbox's hidden window (a
// top-level one: 95/98/ME have no message-only windows) takes the results
// on the thread that made it and hands each to `deliver` there, in the
// order posted. The destructor closes the slot and drops what has not been
// delivered; a worker that posts later finds it closed, and nothing ever
// waits for a worker. So a worker still out when its owner goes (the
// program ending, Windows restarting) holds nothing up and reaches nothing
// that is gone.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <utility>

#include "platform/win32/CriticalSection.h"
#include "platform/win32/Window.h"

namespace corvane::win32 {

template <typename Result>
class WorkerMailbox final : private Window<WorkerMailbox<Result>> {
  using Base = Window<WorkerMailbox<Result>>;

 public:
  using Deliver = std::function<void(std::uint64_t id, Result result)>;

  class Slot {
   public:
    // From any thread; false (the result dropped) once the mailbox is closed.
    // Otherwise the result is kept until it is delivered: when the window's
    // queue is full, or the window went without the mailbox, the wake-up
    // cannot be posted; the next post tries again, and the owner's Collect
    // delivers it in any case.
    bool Post(std::uint64_t id, Result result) {
      Locked hold(lock_);
      if (window_ == nullptr) return false;
      landed_.emplace_back(id, std::move(result));
      // Posted under the lock: the mailbox closes the slot under the same
      // lock before its window goes, so this never reaches a destroyed window.
      if (!wakePending_) wakePending_ = ::PostMessageA(window_, kLandedMessage, 0, 0) != FALSE;
      return true;
    }

   private:
    friend class WorkerMailbox;
    CriticalSection lock_;
    HWND window_ = nullptr;
    bool wakePending_ = false;
    std::deque<std::pair<std::uint64_t, Result>> landed_;
  };

  // The class name is the window class of this kind of mailbox.
  WorkerMailbox(HINSTANCE instance, const char* className, Deliver deliver)
      : slot_(std::make_shared<Slot>()), deliver_(std::move(deliver)) {
    WNDCLASSEXA wc{};
    if (this->CreateBound(className, wc, WS_EX_TOOLWINDOW, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance)) {
      Locked hold(slot_->lock_);
      slot_->window_ = Base::hwnd();
    }
  }

  ~WorkerMailbox() override {
    *alive_ = false;
    Locked hold(slot_->lock_);
    slot_->window_ = nullptr;
    slot_->landed_.clear();
    // The window goes with the base class, after the slot is closed.
  }

  // False when the window could not be made: every post is dropped.
  bool IsOpen() const { return Base::hwnd() != nullptr; }
  const std::shared_ptr<Slot>& slot() const { return slot_; }
  // Delivers, on the owner's thread, what has landed and not been delivered
  // yet (what the window would deliver at its next wake-up).
  void Collect() {
    std::deque<std::pair<std::uint64_t, Result>> landed;
    {
      Locked hold(slot_->lock_);
      landed.swap(slot_->landed_);
      slot_->wakePending_ = false;
    }
    // A delivery may end the mailbox's owner, and the mailbox with it.
    std::shared_ptr<bool> alive = alive_;
    for (auto& [id, result] : landed) {
      if (!*alive) break;
      if (deliver_) deliver_(id, std::move(result));
    }
  }

 private:
  friend Base;
  static constexpr UINT kLandedMessage = WM_APP + 0x50;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != kLandedMessage) return ::DefWindowProcA(Base::hwnd(), message, wParam, lParam);
    Collect();
    return 0;
  }

  std::shared_ptr<Slot> slot_;
  Deliver deliver_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace corvane::win32
