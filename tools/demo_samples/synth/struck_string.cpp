#include "tools/demo_samples/synth/struck_string.h"

#include <cmath>

#include "tools/demo_samples/synth/envelopes.h"
#include "tools/demo_samples/synth/filters.h"
#include "tools/demo_samples/synth/noise.h"

namespace demos {

float partialFrequency(float fundamentalHz, int n, float inharmonicity) {
  const float k = static_cast<float>(n);
  return k * fundamentalHz * std::sqrt(1.0f + inharmonicity * k * k);
}

namespace {

// A short burst of low-passed noise with a quick rise: the hammer hitting felt.
Signal hammerTransient(const StruckString& s, std::size_t frames, float rate) {
  Signal thump = whiteNoise(std::min(frames, framesFor(0.03f, rate)), s.seed * 7919u + 1u);
  thump = filtered(thump, Biquad::lowpass(s.hardnessHz * 0.8f, 0.7f, rate));
  applyEnvelope(thump, attackDecay(thump.size(), 0.0008f, 0.006f, rate));
  return thump;
}

}  // namespace

Signal strikeString(const StruckString& s, float rate) {
  const std::size_t frames = framesFor(s.seconds, rate);
  Signal out(frames, 0.0f);
  for (int n = 1;; ++n) {
    const float f = partialFrequency(s.fundamentalHz, n, s.inharmonicity);
    if (f > s.highestPartialHz || f > 0.45f * rate) break;
    // Where the hammer strikes decides which partials it excites; the felt
    // rounds off the top.
    const float excitation = std::fabs(std::sin(kPi * static_cast<float>(n) * s.strikePoint));
    const float rollOff = 1.0f / (1.0f + (f / s.hardnessHz) * (f / s.hardnessHz));
    const float amplitude = excitation * rollOff / static_cast<float>(n);
    if (amplitude < 1e-4f) continue;
    // Higher partials lose energy to the bridge faster.
    const float tau = s.sustain / (1.0f + f / 900.0f);
    // Two strings a little apart beat slowly; phases spread by partial number.
    for (int string = 0; string < 2; ++string) {
      const float fs = f + (string == 0 ? -0.5f : 0.5f) * s.detuneHz * static_cast<float>(n);
      const float phase = 0.37f * static_cast<float>(n * (string + 1));
      const float w = kTwoPi * fs / rate;
      const float decayPerFrame = std::exp(-1.0f / (tau * rate));
      float level = 0.5f * amplitude;
      for (std::size_t i = 0; i < frames; ++i) {
        out[i] += level * std::sin(w * static_cast<float>(i) + phase);
        level *= decayPerFrame;
      }
    }
  }
  // The strings start sounding over the hammer's contact time, not in one step.
  applyEnvelope(out, attackDecay(frames, 0.002f, 1e6f, rate));
  mixInto(out, hammerTransient(s, frames, rate), s.hammerLevel * peakOf(out));
  return out;
}

}  // namespace demos
