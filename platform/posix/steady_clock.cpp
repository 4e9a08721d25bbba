#include "platform/posix/steady_clock.h"

#include <time.h>

namespace platform::posix {

std::uint32_t SteadyClock::timeGetTime() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  // Unsigned 64-bit arithmetic, then the low 32 bits: the wrap is intended.
  const std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                           static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<std::uint32_t>(ms);
}

}  // namespace platform::posix
