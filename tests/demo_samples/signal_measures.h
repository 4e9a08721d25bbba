#pragma once
// Small measuring helpers shared by the synthesis tests.
#include <cmath>

#include "tools/demo_samples/synth/signal.h"

namespace demos::testing {

// Amplitude of the component at `hz` (Goertzel over the whole signal).
inline float amplitudeAt(const Signal& s, float hz, float rate) {
  const double w = 2.0 * M_PI * hz / rate;
  double re = 0.0, im = 0.0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    re += s[i] * std::cos(w * double(i));
    im -= s[i] * std::sin(w * double(i));
  }
  return static_cast<float>(2.0 * std::sqrt(re * re + im * im) / double(s.size()));
}

inline float dbOf(float ratio) { return 20.0f * std::log10(ratio); }

inline Signal slice(const Signal& s, std::size_t begin, std::size_t end) {
  return Signal(s.begin() + static_cast<long>(begin), s.begin() + static_cast<long>(end));
}

}  // namespace demos::testing
