#pragma once
// The millisecond clock over the system's monotonic clock.
#include "platform/api/clock.h"

namespace platform::posix {

class SteadyClock : public Clock {
 public:
  // Milliseconds of CLOCK_MONOTONIC, cut to 32 bits so that it wraps like
  // the clock it stands in for.
  std::uint32_t timeGetTime() override;
  // The same milliseconds with their fraction, wrapping with them.
  double preciseTime() override;
};

}  // namespace platform::posix
