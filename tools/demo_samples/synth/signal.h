#pragma once
// A mono signal is a vector of float samples in -1..1 at the set's sample rate.
#include <cstddef>
#include <vector>

namespace demos {

using Signal = std::vector<float>;

constexpr float kPi = 3.14159265358979f;
constexpr float kTwoPi = 2.0f * kPi;

inline std::size_t framesFor(float seconds, float rate) {
  return seconds <= 0.0f ? 0 : static_cast<std::size_t>(seconds * rate + 0.5f);
}

// Adds `source` scaled by `gain` into `target`, starting at frame `offset`;
// the target grows when the source runs past its end.
void mixInto(Signal& target, const Signal& source, float gain, std::size_t offset = 0);

// Multiplies two signals sample by sample; the result has the shorter length.
Signal multiply(const Signal& a, const Signal& b);

float peakOf(const Signal& signal);
float rmsOf(const Signal& signal);
float meanOf(const Signal& signal);

}  // namespace demos
