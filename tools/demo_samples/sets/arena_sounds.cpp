// Arena-shooter sounds: zaps, plasma, pickups, an explosion, blips. They are
// heard at wildly different speeds in the demo, which suits them: a zap a
// fifth lower is still a zap.
#include <cmath>

#include "tools/demo_samples/sets/sample_set.h"
#include "tools/demo_samples/synth/envelopes.h"
#include "tools/demo_samples/synth/filters.h"
#include "tools/demo_samples/synth/finishing.h"
#include "tools/demo_samples/synth/noise.h"
#include "tools/demo_samples/synth/oscillators.h"

namespace demos {
namespace {

constexpr float kRate = 22050.0f;

// The rail: a bright descending FM zap over a ringing metallic tail.
Signal railZap(float startHz, float endHz, float seconds) {
  const std::size_t frames = framesFor(seconds, kRate);
  Signal zap = fmWave(glideCurve(startHz, endHz, seconds * 0.25f, frames, kRate), 1.41f,
                      glideCurve(6.0f, 0.5f, seconds * 0.3f, frames, kRate), kRate);
  applyEnvelope(zap, attackDecay(frames, 0.002f, seconds * 0.22f, kRate));
  Signal ring = sineWave(vibratoCurve(endHz * 4.0f, 0.01f, 23.0f, frames, kRate), kRate);
  applyEnvelope(ring, attackDecay(frames, 0.01f, seconds * 0.35f, kRate));
  mixInto(zap, ring, 0.35f);
  Signal whoosh = sweptFilter(whiteNoise(frames, 301), Biquad::bandpass(4000.0f, 2.0f, kRate),
                              glideCurve(6000.0f, 800.0f, seconds * 0.3f, frames, kRate), kRate);
  applyEnvelope(whoosh, attackDecay(frames, 0.001f, seconds * 0.15f, kRate));
  mixInto(zap, whoosh, 0.5f);
  return zap;
}

// Plasma: a few wobbling square pulses through a resonant low-pass.
Signal plasmaBurst(float hz, int pulses, float spacing) {
  const float seconds = spacing * static_cast<float>(pulses) + 0.25f;
  Signal out(framesFor(seconds, kRate), 0.0f);
  for (int p = 0; p < pulses; ++p) {
    const std::size_t frames = framesFor(0.22f, kRate);
    Signal tone = squareWave(vibratoCurve(hz * (1.0f + 0.06f * p), 0.25f, 38.0f, frames, kRate), kRate);
    tone = sweptFilter(tone, Biquad::lowpass(3000.0f, 4.0f, kRate), glideCurve(4000.0f, 500.0f, 0.05f, frames, kRate),
                       kRate);
    applyEnvelope(tone, attackDecay(frames, 0.002f, 0.05f, kRate));
    mixInto(out, tone, 1.0f, framesFor(spacing * static_cast<float>(p), kRate));
  }
  out.resize(framesFor(seconds, kRate));
  return out;
}

// Pickups: quick rising arpeggios of soft squares.
Signal pickup(const float* notes, int count, float step, float tail) {
  const float seconds = step * static_cast<float>(count) + tail;
  Signal out(framesFor(seconds, kRate), 0.0f);
  for (int i = 0; i < count; ++i) {
    const std::size_t frames = framesFor(step + tail, kRate);
    Signal tone = squareWave(constantCurve(notes[i], frames), kRate);
    tone = filtered(tone, Biquad::lowpass(notes[i] * 5.0f, 0.7f, kRate));
    mixInto(tone, sineTone(notes[i] * 2.0f, frames, kRate), 0.3f);
    applyEnvelope(tone, attackDecay(frames, 0.002f, tail * 0.4f, kRate));
    mixInto(out, tone, 1.0f, framesFor(step * static_cast<float>(i), kRate));
  }
  out.resize(framesFor(seconds, kRate));
  return out;
}

// Explosion: a closing low-pass over noise, with a sub-bass thump under it.
Signal explosion(float seconds) {
  const std::size_t frames = framesFor(seconds, kRate);
  Signal blast = sweptFilter(whiteNoise(frames, 307), Biquad::lowpass(5000.0f, 0.8f, kRate),
                             glideCurve(6000.0f, 180.0f, seconds * 0.18f, frames, kRate), kRate);
  applyEnvelope(blast, attackDecay(frames, 0.003f, seconds * 0.28f, kRate));
  Signal thump = sineWave(glideCurve(110.0f, 38.0f, 0.08f, frames, kRate), kRate);
  applyEnvelope(thump, attackDecay(frames, 0.002f, 0.25f, kRate));
  mixInto(blast, thump, 0.9f);
  saturate(blast, 2.0f);
  return blast;
}

Signal blip(float hz, float seconds) {
  const std::size_t frames = framesFor(seconds, kRate);
  Signal tone = squareWave(glideCurve(hz * 1.1f, hz, 0.01f, frames, kRate), kRate);
  tone = filtered(tone, Biquad::lowpass(hz * 6.0f, 0.7f, kRate));
  applyEnvelope(tone, attackDecay(frames, 0.002f, seconds * 0.35f, kRate));
  return tone;
}

// A jump pad: a quick upward "boing" with a springy wobble.
Signal jumpPad(float seconds) {
  const std::size_t frames = framesFor(seconds, kRate);
  Signal rise = glideCurve(140.0f, 620.0f, seconds * 0.3f, frames, kRate);
  Signal wobble = vibratoCurve(1.0f, 0.05f, 14.0f, frames, kRate);
  Signal tone = sawWave(multiply(rise, wobble), kRate);
  tone = filtered(tone, Biquad::lowpass(2500.0f, 1.2f, kRate));
  applyEnvelope(tone, attackDecay(frames, 0.004f, seconds * 0.3f, kRate));
  return tone;
}

// Teleport: a shimmering FM sweep upward through a widening band of noise.
Signal teleport(float seconds) {
  const std::size_t frames = framesFor(seconds, kRate);
  Signal tone = fmWave(glideCurve(200.0f, 1800.0f, seconds * 0.5f, frames, kRate), 2.01f,
                       constantCurve(2.5f, frames), kRate);
  Signal shimmer = sweptFilter(whiteNoise(frames, 311), Biquad::bandpass(500.0f, 3.0f, kRate),
                               glideCurve(500.0f, 7000.0f, seconds * 0.5f, frames, kRate), kRate);
  mixInto(tone, shimmer, 0.6f);
  applyEnvelope(tone, attackHoldRelease(frames, seconds * 0.2f, seconds * 0.6f, kRate));
  return tone;
}

NamedSample finished(const char* name, Signal s) {
  FinishingOptions options;
  options.fadeIn = 0.0015f;
  options.fadeOut = 0.015f;
  finishSample(s, kRate, options);
  return {name, std::move(s)};
}

}  // namespace

SampleSet arenaSounds() {
  SampleSet set{"demo4", static_cast<std::uint32_t>(kRate), {}};
  const float health[] = {523.25f, 659.26f, 783.99f, 1046.5f};
  const float armor[] = {392.0f, 587.33f, 880.0f};
  set.samples.push_back(finished("rail_zap.wav", railZap(3200.0f, 420.0f, 0.9f)));
  set.samples.push_back(finished("rail_snap.wav", railZap(4200.0f, 900.0f, 0.5f)));
  set.samples.push_back(finished("plasma_burst.wav", plasmaBurst(260.0f, 3, 0.09f)));
  set.samples.push_back(finished("plasma_single.wav", plasmaBurst(340.0f, 1, 0.1f)));
  set.samples.push_back(finished("pickup_health.wav", pickup(health, 4, 0.06f, 0.25f)));
  set.samples.push_back(finished("pickup_armor.wav", pickup(armor, 3, 0.08f, 0.3f)));
  set.samples.push_back(finished("explosion.wav", explosion(1.6f)));
  set.samples.push_back(finished("blip_high.wav", blip(1320.0f, 0.09f)));
  set.samples.push_back(finished("blip_low.wav", blip(660.0f, 0.12f)));
  set.samples.push_back(finished("jump_pad.wav", jumpPad(0.45f)));
  set.samples.push_back(finished("teleport.wav", teleport(0.9f)));
  return set;
}

}  // namespace demos
