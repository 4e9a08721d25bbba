#include "tools/demo_samples/synth/envelopes.h"

#include <algorithm>
#include <cmath>

namespace demos {
namespace {

float smoothRise(std::size_t i, std::size_t length) {
  if (length == 0) return 1.0f;
  const float x = static_cast<float>(i) / static_cast<float>(length);
  return 0.5f - 0.5f * std::cos(kPi * std::min(x, 1.0f));
}

// exp(-t/tau) shifted and rescaled so that it runs from 1 at 0 to 0 at `length`.
float fallToZero(std::size_t i, std::size_t length, float tauFrames) {
  if (length == 0) return 0.0f;
  const float floor = std::exp(-static_cast<float>(length) / tauFrames);
  const float value = std::exp(-static_cast<float>(i) / tauFrames);
  return std::max(0.0f, (value - floor) / (1.0f - floor));
}

}  // namespace

Signal attackDecay(std::size_t frames, float attack, float decay, float rate) {
  Signal env(frames, 0.0f);
  if (frames < 2) return env;
  const std::size_t rise = std::min(framesFor(attack, rate), frames - 1);
  const std::size_t fall = frames - 1 - rise;  // the last frame is the zero
  const float tau = std::max(1.0f, decay * rate);
  for (std::size_t i = 0; i < rise; ++i) env[i] = smoothRise(i, rise);
  for (std::size_t i = 0; i <= fall; ++i) env[rise + i] = fallToZero(i, fall, tau);
  return env;
}

Signal attackHoldRelease(std::size_t frames, float attack, float release, float rate) {
  Signal env(frames, 0.0f);
  if (frames < 2) return env;
  const std::size_t rise = std::min(framesFor(attack, rate), frames - 1);
  const std::size_t fall = std::min(framesFor(release, rate), frames - 1 - rise);
  const std::size_t holdEnd = frames - 1 - fall;
  const float tau = std::max(1.0f, static_cast<float>(fall) / 3.0f);
  for (std::size_t i = 0; i < frames; ++i) {
    if (i < rise) env[i] = smoothRise(i, rise);
    else if (i < holdEnd) env[i] = 1.0f;
    else env[i] = fallToZero(i - holdEnd, fall, tau);
  }
  return env;
}

void applyEnvelope(Signal& signal, const Signal& envelope) {
  for (std::size_t i = 0; i < signal.size(); ++i) signal[i] *= i < envelope.size() ? envelope[i] : 0.0f;
}

}  // namespace demos
