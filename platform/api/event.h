#pragma once
// An auto-reset event: set() may come from any thread; take() tells whether it
// was signalled since the last take() and resets it.

namespace platform {

class Event {
 public:
  virtual ~Event() = default;
  virtual void set() = 0;
  virtual bool take() = 0;
};

}  // namespace platform
