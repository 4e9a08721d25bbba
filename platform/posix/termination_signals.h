#pragma once
// SIGTERM, SIGINT and SIGHUP (kill, Ctrl+C, logout) only raise a flag, so
// that the program can finish what it is writing and end in order.

namespace platform::posix {

void catchTerminationSignals();
bool terminationRequested();

}  // namespace platform::posix
