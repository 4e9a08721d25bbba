#pragma once
// The last steps every sample goes through before it is written: no DC
// offset, short fades at both edges, and a common peak level.
#include <cstdint>
#include <vector>

#include "tools/demo_samples/synth/signal.h"

namespace demos {

void removeDcOffset(Signal& signal);
// Raised-cosine fades; the first and the last sample end up at 0.
void applyEdgeFades(Signal& signal, float fadeIn, float fadeOut, float rate);
// Scales so that the largest magnitude is `peakDbfs` (e.g. -3 dB); silence stays silence.
void normalisePeak(Signal& signal, float peakDbfs);
// Soft saturation for punch: tanh with the input scaled by `drive`.
void saturate(Signal& signal, float drive);

struct FinishingOptions {
  float fadeIn = 0.002f;
  float fadeOut = 0.010f;
  // Headroom for several tracks sounding at once at full volume.
  float peakDbfs = -6.0f;
};
void finishSample(Signal& signal, float rate, const FinishingOptions& options = {});

// Rounds to 16-bit PCM, clamping anything beyond full scale.
std::vector<std::int16_t> toPcm16(const Signal& signal);

}  // namespace demos
