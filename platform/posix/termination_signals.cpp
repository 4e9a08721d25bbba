#include "platform/posix/termination_signals.h"

#include <signal.h>

#include <initializer_list>

namespace platform::posix {

namespace {

volatile sig_atomic_t requested = 0;

void onTerminationSignal(int) { requested = 1; }

}  // namespace

void catchTerminationSignals() {
  struct sigaction action {};
  action.sa_handler = onTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool terminationRequested() { return requested != 0; }

}  // namespace platform::posix
