#include "platform/posix/steady_clock.h"

#include <time.h>

namespace platform::posix {
namespace {

timespec monotonicNow() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now;
}

// Unsigned 64-bit arithmetic, then the low 32 bits: the wrap is intended.
std::uint32_t wholeMilliseconds(const timespec& t) {
  const std::uint64_t ms = static_cast<std::uint64_t>(t.tv_sec) * 1000u +
                           static_cast<std::uint64_t>(t.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(ms);
}

}  // namespace

std::uint32_t SteadyClock::timeGetTime() { return wholeMilliseconds(monotonicNow()); }

double SteadyClock::preciseTime() {
  const timespec now = monotonicNow();
  const double fraction = static_cast<double>(now.tv_nsec % 1000000) / 1e6;
  return static_cast<double>(wholeMilliseconds(now)) + fraction;
}

}  // namespace platform::posix
