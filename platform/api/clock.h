#pragma once
#include <cstdint>

namespace platform {

// A millisecond clock that wraps at 2^32; callers take differences in
// unsigned arithmetic.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint32_t timeGetTime() = 0;
};

}  // namespace platform
