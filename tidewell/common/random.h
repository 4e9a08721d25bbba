#pragma once
// The one random generator of the main program: a linear congruential
// generator whose state starts at 1 unless the command line seeds it, so every
// run with the same seed draws the same sequence.
#include <cstdint>

namespace tidewell {

class RandomGenerator {
 public:
  int next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }
  void reset() { state_ = 1; }  // for tests: back to the start of the run
  void seed(std::uint32_t state) { state_ = state; }  // --seed: another run than the default

 private:
  std::uint32_t state_ = 1;
};

// The process-wide generator and its draw (0..32767). The draw has a name of
// its own, unlike the C library's generator, so that a missing include can
// never silently switch a caller to the other one.
RandomGenerator& randomGenerator();
inline int drawRandom() { return randomGenerator().next(); }

}  // namespace tidewell
