// Soft, slow textures. The demo plays each at a random rate, so they lean on
// gentle spectra that stay pleasant from two octaves down to one octave up.
#include <cmath>

#include "tools/demo_samples/sets/sample_set.h"
#include "tools/demo_samples/synth/envelopes.h"
#include "tools/demo_samples/synth/filters.h"
#include "tools/demo_samples/synth/finishing.h"
#include "tools/demo_samples/synth/noise.h"
#include "tools/demo_samples/synth/oscillators.h"

namespace demos {
namespace {

constexpr float kRate = 16000.0f;

// Three slightly detuned saws per note, drifting against each other.
Signal detunedSaws(float hz, std::size_t frames, float spreadCents) {
  Signal sum(frames, 0.0f);
  const float cents[] = {-spreadCents, 0.0f, spreadCents};
  for (int i = 0; i < 3; ++i) {
    const float f = hz * std::pow(2.0f, cents[i] / 1200.0f);
    mixInto(sum, sawWave(vibratoCurve(f, 0.002f, 0.13f + 0.07f * i, frames, kRate), kRate), 1.0f / 3.0f);
  }
  return sum;
}

Signal warmPad(const float* notes, int count, float seconds, float cutoff) {
  const std::size_t frames = framesFor(seconds, kRate);
  Signal pad(frames, 0.0f);
  for (int i = 0; i < count; ++i) mixInto(pad, detunedSaws(notes[i], frames, 9.0f), 1.0f);
  pad = filtered(filtered(pad, Biquad::lowpass(cutoff, 0.6f, kRate)), Biquad::lowpass(cutoff * 1.5f, 0.6f, kRate));
  applyEnvelope(pad, attackHoldRelease(frames, seconds * 0.3f, seconds * 0.45f, kRate));
  return pad;
}

// A bowed string: a saw with slow vibrato, a formant of the body and bow hiss.
Signal bowed(float hz, float seconds, std::uint32_t seed) {
  const std::size_t frames = framesFor(seconds, kRate);
  Signal tone = sawWave(vibratoCurve(hz, 0.004f, 4.8f, frames, kRate), kRate);
  Signal body = filtered(tone, Biquad::bandpass(hz * 3.0f, 0.9f, kRate));
  mixInto(body, filtered(tone, Biquad::lowpass(hz * 4.0f, 0.7f, kRate)), 0.6f);
  Signal hiss = filtered(whiteNoise(frames, seed), Biquad::bandpass(hz * 6.0f, 2.0f, kRate));
  mixInto(body, hiss, 0.08f);
  applyEnvelope(body, attackHoldRelease(frames, 0.9f, seconds * 0.5f, kRate));
  return body;
}

// Glass: inharmonic partials of a free plate, each with its own long decay.
Signal glassChime(float hz, float seconds) {
  const std::size_t frames = framesFor(seconds, kRate);
  const float ratios[] = {1.0f, 2.756f, 5.404f, 8.933f};
  const float levels[] = {1.0f, 0.45f, 0.22f, 0.1f};
  Signal sum(frames, 0.0f);
  for (int i = 0; i < 4; ++i) {
    const float f = hz * ratios[i];
    if (f > 0.45f * kRate) break;
    Signal partial = sineTone(f, frames, kRate, 0.3f * i);
    applyEnvelope(partial, attackDecay(frames, 0.012f, seconds / (1.5f + 1.2f * i), kRate));
    mixInto(sum, partial, levels[i]);
  }
  return sum;
}

// Breath: noise through a slowly opening band, with a faint tone inside.
Signal breathSwell(float fromHz, float toHz, float toneHz, float seconds, std::uint32_t seed) {
  const std::size_t frames = framesFor(seconds, kRate);
  Signal air = whiteNoise(frames, seed);
  Signal corner = glideCurve(fromHz, toHz, seconds * 0.4f, frames, kRate);
  air = sweptFilter(air, Biquad::bandpass(fromHz, 1.6f, kRate), corner, kRate);
  air = filtered(air, Biquad::lowpass(3000.0f, 0.7f, kRate));
  if (toneHz > 0.0f) mixInto(air, sineTone(toneHz, frames, kRate), 0.12f);
  applyEnvelope(air, attackHoldRelease(frames, seconds * 0.45f, seconds * 0.5f, kRate));
  return air;
}

// Pure sines of a chord with a slow tremolo each: soft and still.
Signal sineChord(const float* notes, int count, float seconds) {
  const std::size_t frames = framesFor(seconds, kRate);
  Signal sum(frames, 0.0f);
  for (int i = 0; i < count; ++i) {
    Signal tone = sineTone(notes[i], frames, kRate, 1.1f * i);
    Signal tremolo = sineTone(0.3f + 0.17f * i, frames, kRate, 0.7f * i);
    for (std::size_t k = 0; k < frames; ++k) tone[k] *= 0.8f + 0.2f * tremolo[k];
    mixInto(sum, tone, 1.0f);
  }
  applyEnvelope(sum, attackHoldRelease(frames, seconds * 0.35f, seconds * 0.5f, kRate));
  return sum;
}

NamedSample finished(const char* name, Signal s) {
  FinishingOptions options;
  options.fadeIn = 0.02f;
  options.fadeOut = 0.05f;
  finishSample(s, kRate, options);
  return {name, std::move(s)};
}

}  // namespace

SampleSet ambientTextures() {
  SampleSet set{"demo2", static_cast<std::uint32_t>(kRate), {}};
  const float padA[] = {110.0f, 164.81f, 277.18f};  // A, E, C#: open major
  const float padD[] = {146.83f, 220.0f, 329.63f};  // D, A, E: suspended fifths
  const float chordE[] = {329.63f, 493.88f, 659.26f};
  set.samples.push_back(finished("pad_warm.wav", warmPad(padA, 3, 5.5f, 900.0f)));
  set.samples.push_back(finished("pad_open.wav", warmPad(padD, 3, 5.0f, 1300.0f)));
  set.samples.push_back(finished("bowed_low.wav", bowed(98.0f, 4.5f, 101)));
  set.samples.push_back(finished("bowed_high.wav", bowed(220.0f, 4.0f, 103)));
  set.samples.push_back(finished("glass_chime.wav", glassChime(880.0f, 4.0f)));
  set.samples.push_back(finished("glass_bell_low.wav", glassChime(523.25f, 5.0f)));
  set.samples.push_back(finished("breath_swell.wav", breathSwell(300.0f, 1400.0f, 0.0f, 5.0f, 107)));
  set.samples.push_back(finished("breath_tone.wav", breathSwell(600.0f, 900.0f, 440.0f, 4.5f, 109)));
  set.samples.push_back(finished("sine_cloud.wav", sineChord(chordE, 3, 6.0f)));
  return set;
}

}  // namespace demos
