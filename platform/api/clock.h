#pragma once
#include <cstdint>

namespace platform {

// A millisecond clock that wraps at 2^32; callers take differences in
// unsigned arithmetic.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t timeGetTime() = 0;
  // The same reading with the fraction of the current millisecond (0 <= value
  // < 2^32; its whole part is what timeGetTime gives at that moment). Beats
  // are timed from it so that hits land closer than a whole millisecond; a
  // clock without finer steps gives whole milliseconds.
  virtual double preciseTime() { return timeGetTime(); }
};

}  // namespace platform
