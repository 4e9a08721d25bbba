#include "platform/sdl/audio_thread_priority.h"

#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace platform::sdl {
namespace {

// Audio servers run at 80 and more; this stays below them.
constexpr int kWantedPriority = 20;

}  // namespace

bool raiseToRealTime() {
  int priority = kWantedPriority;
  // An ordinary user may hold a smaller allowance than we want.
  rlimit allowance{};
  if (::getrlimit(RLIMIT_RTPRIO, &allowance) == 0 && allowance.rlim_cur != RLIM_INFINITY &&
      allowance.rlim_cur < static_cast<rlim_t>(priority) && allowance.rlim_cur > 0 && ::geteuid() != 0) {
    priority = static_cast<int>(allowance.rlim_cur);
  }
  sched_param param{};
  param.sched_priority = priority;
  // Threads started from it (none today) go back to ordinary scheduling.
  return ::sched_setscheduler(0, SCHED_FIFO | SCHED_RESET_ON_FORK, &param) == 0;
}

}  // namespace platform::sdl
