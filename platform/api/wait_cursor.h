#pragma once
// The wait cursor over the program's windows during a long step.

namespace platform {

class WaitCursor {
 public:
  virtual ~WaitCursor() = default;
  virtual void show() = 0;
  virtual void restore() = 0;
};

}  // namespace platform
