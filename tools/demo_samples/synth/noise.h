#pragma once
// Deterministic white noise: the same seed gives the same sounds on every build.
#include <cstdint>

#include "tools/demo_samples/synth/signal.h"

namespace demos {

class WhiteNoise {
 public:
  explicit WhiteNoise(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
  // Uniform in -1..1.
  float next();

 private:
  std::uint32_t state_;
};

Signal whiteNoise(std::size_t frames, std::uint32_t seed);

}  // namespace demos
