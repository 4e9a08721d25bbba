#pragma once
// A millisecond clock that moves only when a test moves it.
//
//   platform::fake::FakeClock clock;
//   clock.set(5000);
//   clock.advance(16);      // every later read gives 5016
#include "platform/api/clock.h"

namespace platform::fake {

class FakeClock : public Clock {
 public:
  std::uint32_t timeGetTime() override;

  void set(std::uint32_t ms) { now_ = ms; }
  void advance(std::uint32_t ms) { now_ += ms; }  // wraps like the real clock
  std::uint32_t now() const { return now_; }
  int reads() const { return reads_; }

 private:
  std::uint32_t now_ = 0;
  int reads_ = 0;
};

}  // namespace platform::fake
