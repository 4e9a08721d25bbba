#include "platform/capture/auto_reset_event.h"

namespace platform {

void AutoResetEvent::set() {
  signalled_.store(true);
  if (waker_) waker_();
}

bool AutoResetEvent::take() { return signalled_.exchange(false); }

}  // namespace platform
