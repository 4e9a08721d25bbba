#pragma once
// The launcher's message queue over FLTK: a wait of at most the given time
// that handles every event that arrives, and Fl::awake for other threads.
#include <atomic>

#include "platform/api/dialog.h"

namespace platform {

class FltkMessageLoop : public MessageLoop {
 public:
  FltkMessageLoop();
  void waitAndDispatch(unsigned milliseconds) override;
  void postQuit() override { quit_ = true; }
  bool takeQuit() override { return quit_.exchange(false); }
  void wake() override;

 private:
  std::atomic<bool> quit_{false};
};

}  // namespace platform
