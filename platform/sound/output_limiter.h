#pragma once
// The last stage of the mix. Below the knee the sum passes untouched, so the
// levels of single voices keep their units; above it the peaks bend smoothly
// toward full scale instead of being cut flat, which would crackle when
// several loud hits meet.
#include <cmath>
#include <cstddef>

namespace platform::sound {

constexpr float kLimiterKnee = 0.8f;

inline float limitSample(float x) {
  const float magnitude = std::fabs(x);
  if (!(magnitude > kLimiterKnee)) return magnitude == magnitude ? x : 0.0f;  // NaN becomes silence
  constexpr float room = 1.0f - kLimiterKnee;
  const float bent = kLimiterKnee + room * std::tanh((magnitude - kLimiterKnee) / room);
  return std::copysign(std::fmin(bent, 1.0f), x);
}

inline void limitBlock(float* samples, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) samples[i] = limitSample(samples[i]);
}

}  // namespace platform::sound
