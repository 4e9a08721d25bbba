#pragma once
// An auto-reset event over an atomic flag. The waker, when given, is called
// after every set() so that a waiting message loop returns at once.
#include <atomic>
#include <functional>

#include "platform/api/event.h"

namespace platform {

class AutoResetEvent : public Event {
 public:
  explicit AutoResetEvent(std::function<void()> waker = {}) : waker_(std::move(waker)) {}
  void set() override;
  bool take() override;

 private:
  std::atomic<bool> signalled_{false};
  std::function<void()> waker_;
};

}  // namespace platform
