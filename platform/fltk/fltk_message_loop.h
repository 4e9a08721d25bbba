#pragma once
// The launcher's message queue over FLTK: a wait of at most the given time
// that handles every event that arrives, and Fl::awake for other threads.
#include <atomic>
#include <functional>

#include "platform/api/dialog.h"

namespace platform {

class FltkMessageLoop : public MessageLoop {
 public:
  FltkMessageLoop();
  void waitAndDispatch(unsigned milliseconds) override;
  void postQuit() override { quit_ = true; }
  bool takeQuit() override { return quit_.exchange(false); }
  void wake() override;
  // Checked ten times a second, also while a dialog, a message box or a
  // chooser runs its own loop: once it answers true, every window is hidden
  // (which ends those loops) and a quit is posted.
  void quitWhen(std::function<bool()> check);

 private:
  static void poll(void* self);
  std::atomic<bool> quit_{false};
  std::function<bool()> quitCheck_;
};

}  // namespace platform
