#include "tools/demo_samples/synth/noise.h"

namespace demos {

float WhiteNoise::next() {
  // xorshift32: fast, full period, and no library differences between builds.
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return static_cast<float>(state_ >> 8) * (2.0f / 16777216.0f) - 1.0f;
}

Signal whiteNoise(std::size_t frames, std::uint32_t seed) {
  WhiteNoise noise(seed);
  Signal out(frames);
  for (float& x : out) x = noise.next();
  return out;
}

}  // namespace demos
