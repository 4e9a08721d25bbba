#include "tools/demo_samples/synth/oscillators.h"

#include <algorithm>
#include <cmath>

namespace demos {
namespace {

// Harmonic amplitude rule for the additive waves: n = 1, 2, 3...
using HarmonicRule = float (*)(int n);

float sawHarmonic(int n) { return 1.0f / static_cast<float>(n); }
float squareHarmonic(int n) { return (n % 2 == 1) ? 1.0f / static_cast<float>(n) : 0.0f; }

Signal additiveWave(const Signal& hz, float rate, HarmonicRule rule, float scale) {
  Signal out(hz.size());
  double phase = 0.0;  // in cycles
  const float nyquistGuard = 0.45f * rate;
  for (std::size_t i = 0; i < hz.size(); ++i) {
    const float f = hz[i];
    float sum = 0.0f;
    if (f > 0.0f) {
      const int harmonics = static_cast<int>(nyquistGuard / f);
      for (int n = 1; n <= harmonics; ++n) {
        const float amplitude = rule(n);
        if (amplitude != 0.0f) sum += amplitude * std::sin(kTwoPi * static_cast<float>(std::fmod(phase * n, 1.0)));
      }
    }
    out[i] = scale * sum;
    phase += f / rate;
    phase -= std::floor(phase);
  }
  return out;
}

}  // namespace

Signal constantCurve(float value, std::size_t frames) { return Signal(frames, value); }

Signal glideCurve(float from, float to, float timeConstant, std::size_t frames, float rate) {
  Signal out(frames);
  for (std::size_t i = 0; i < frames; ++i) {
    const float t = static_cast<float>(i) / rate;
    out[i] = to + (from - to) * std::exp(-t / timeConstant);
  }
  return out;
}

Signal vibratoCurve(float centre, float depth, float speedHz, std::size_t frames, float rate) {
  Signal out(frames);
  for (std::size_t i = 0; i < frames; ++i)
    out[i] = centre * (1.0f + depth * std::sin(kTwoPi * speedHz * static_cast<float>(i) / rate));
  return out;
}

Signal sineWave(const Signal& hz, float rate, float startPhase) {
  Signal out(hz.size());
  double phase = startPhase / kTwoPi;
  for (std::size_t i = 0; i < hz.size(); ++i) {
    out[i] = std::sin(kTwoPi * static_cast<float>(phase));
    phase += hz[i] / rate;
    phase -= std::floor(phase);
  }
  return out;
}

// 2/pi scales the harmonic series so that the wave peaks near 1.
Signal sawWave(const Signal& hz, float rate) { return additiveWave(hz, rate, sawHarmonic, 2.0f / kPi); }
Signal squareWave(const Signal& hz, float rate) { return additiveWave(hz, rate, squareHarmonic, 4.0f / kPi); }

Signal fmWave(const Signal& hz, float ratio, const Signal& index, float rate) {
  Signal out(hz.size());
  double carrier = 0.0, modulator = 0.0;
  for (std::size_t i = 0; i < hz.size(); ++i) {
    // The sidebands reach about (index + 1) modulator steps above the carrier;
    // capping the index there keeps them below Nyquist instead of folding back.
    const float limit = std::max(0.0f, (0.45f * rate - hz[i]) / std::max(1e-3f, ratio * hz[i]) - 1.0f);
    const float depth = std::min(i < index.size() ? index[i] : 0.0f, limit);
    const float push = depth * std::sin(kTwoPi * static_cast<float>(modulator));
    out[i] = std::sin(kTwoPi * static_cast<float>(carrier) + push);
    carrier += hz[i] / rate;
    carrier -= std::floor(carrier);
    modulator += ratio * hz[i] / rate;
    modulator -= std::floor(modulator);
  }
  return out;
}

Signal sineTone(float hz, std::size_t frames, float rate, float startPhase) {
  return sineWave(constantCurve(hz, frames), rate, startPhase);
}

}  // namespace demos
