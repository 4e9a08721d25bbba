// A tight electronic drum kit. Pitches sit a little low, because the demo
// spends much of its time a fifth or an octave above 50000 Hz.
#include <cmath>

#include "tools/demo_samples/sets/sample_set.h"
#include "tools/demo_samples/synth/envelopes.h"
#include "tools/demo_samples/synth/filters.h"
#include "tools/demo_samples/synth/finishing.h"
#include "tools/demo_samples/synth/noise.h"
#include "tools/demo_samples/synth/oscillators.h"

namespace demos {
namespace {

constexpr float kRate = 48000.0f;

// Noise through a band: the rattle of snares, hats and claps.
Signal bandNoise(std::size_t frames, float lowHz, float highHz, std::uint32_t seed) {
  Signal n = whiteNoise(frames, seed);
  n = filtered(n, Biquad::highpass(lowHz, 0.7f, kRate));
  return filtered(n, Biquad::lowpass(highHz, 0.7f, kRate));
}

Signal kick(float startHz, float endHz, float sweep, float seconds, float decay, float click) {
  const std::size_t frames = framesFor(seconds, kRate);
  Signal body = sineWave(glideCurve(startHz, endHz, sweep, frames, kRate), kRate);
  applyEnvelope(body, attackDecay(frames, 0.0005f, decay, kRate));
  Signal beater = bandNoise(framesFor(0.012f, kRate), 1500.0f, 8000.0f, 11);
  applyEnvelope(beater, attackDecay(beater.size(), 0.0003f, 0.002f, kRate));
  mixInto(body, beater, click);
  saturate(body, 1.8f);
  return body;
}

Signal snare(float toneHz, float seconds, float noiseDecay, std::uint32_t seed) {
  const std::size_t frames = framesFor(seconds, kRate);
  Signal shell = sineWave(glideCurve(toneHz * 1.4f, toneHz, 0.01f, frames, kRate), kRate);
  mixInto(shell, sineTone(toneHz * 1.83f, frames, kRate), 0.5f);
  applyEnvelope(shell, attackDecay(frames, 0.0005f, 0.045f, kRate));
  Signal wires = bandNoise(frames, 1200.0f, 11000.0f, seed);
  applyEnvelope(wires, attackDecay(frames, 0.0005f, noiseDecay, kRate));
  mixInto(shell, wires, 0.9f);
  saturate(shell, 1.5f);
  return shell;
}

// Six detuned square waves at inharmonic ratios, high-passed: a metal cymbal.
Signal metal(std::size_t frames) {
  static const float ratios[] = {1.0f, 1.4826f, 1.8003f, 2.5459f, 2.6303f, 3.8966f};
  Signal sum(frames, 0.0f);
  for (float r : ratios) mixInto(sum, squareWave(constantCurve(300.0f * r, frames), kRate), 0.3f);
  sum = filtered(sum, Biquad::highpass(6500.0f, 0.8f, kRate));
  return filtered(sum, Biquad::highpass(6500.0f, 0.8f, kRate));
}

Signal hat(float seconds, float decay, std::uint32_t seed) {
  const std::size_t frames = framesFor(seconds, kRate);
  Signal h = metal(frames);
  mixInto(h, bandNoise(frames, 7000.0f, 16000.0f, seed), 0.5f);
  applyEnvelope(h, attackDecay(frames, 0.0005f, decay, kRate));
  return h;
}

Signal clap() {
  const std::size_t frames = framesFor(0.35f, kRate);
  Signal noise = bandNoise(frames, 900.0f, 2600.0f, 23);
  // Several hands a few milliseconds apart, then the room.
  Signal env(frames, 0.0f);
  const float starts[] = {0.0f, 0.011f, 0.021f, 0.033f};
  for (float s : starts) {
    Signal burst = attackDecay(framesFor(0.03f, kRate), 0.0005f, 0.005f, kRate);
    mixInto(env, burst, 1.0f, framesFor(s, kRate));
  }
  Signal room = attackDecay(frames - framesFor(0.033f, kRate), 0.001f, 0.07f, kRate);
  mixInto(env, room, 0.7f, framesFor(0.033f, kRate));
  env.resize(frames);
  applyEnvelope(noise, env);
  return noise;
}

Signal tom(float hz, float seconds) {
  const std::size_t frames = framesFor(seconds, kRate);
  Signal head = sineWave(glideCurve(hz * 1.5f, hz, 0.04f, frames, kRate), kRate);
  mixInto(head, sineTone(hz * 1.59f, frames, kRate), 0.25f);
  applyEnvelope(head, attackDecay(frames, 0.0008f, seconds * 0.3f, kRate));
  Signal stick = bandNoise(framesFor(0.02f, kRate), 500.0f, 5000.0f, 31);
  applyEnvelope(stick, attackDecay(stick.size(), 0.0003f, 0.004f, kRate));
  mixInto(head, stick, 0.3f);
  saturate(head, 1.3f);
  return head;
}

Signal rim() {
  const std::size_t frames = framesFor(0.12f, kRate);
  Signal wood = sineTone(820.0f, frames, kRate);
  mixInto(wood, sineTone(1690.0f, frames, kRate), 0.6f);
  applyEnvelope(wood, attackDecay(frames, 0.0003f, 0.018f, kRate));
  Signal crack = filtered(whiteNoise(frames, 41), Biquad::bandpass(2400.0f, 3.0f, kRate));
  applyEnvelope(crack, attackDecay(frames, 0.0002f, 0.008f, kRate));
  mixInto(wood, crack, 1.2f);
  return wood;
}

Signal shaker() {
  const std::size_t frames = framesFor(0.22f, kRate);
  Signal grains = bandNoise(frames, 4500.0f, 14000.0f, 53);
  // A soft push forward, then the beads settle.
  applyEnvelope(grains, attackDecay(frames, 0.03f, 0.05f, kRate));
  return grains;
}

NamedSample finished(const char* name, Signal s) {
  FinishingOptions options;
  options.fadeIn = 0.001f;  // drums need their edge; 1 ms still does not click
  options.fadeOut = 0.01f;
  finishSample(s, kRate, options);
  return {name, std::move(s)};
}

}  // namespace

SampleSet percussiveKit() {
  SampleSet set{"demo1", static_cast<std::uint32_t>(kRate), {}};
  set.samples.push_back(finished("kick_deep.wav", kick(160.0f, 46.0f, 0.035f, 0.55f, 0.16f, 0.35f)));
  set.samples.push_back(finished("kick_tight.wav", kick(220.0f, 58.0f, 0.02f, 0.3f, 0.08f, 0.5f)));
  set.samples.push_back(finished("snare_crack.wav", snare(185.0f, 0.3f, 0.06f, 61)));
  set.samples.push_back(finished("snare_fat.wav", snare(150.0f, 0.4f, 0.09f, 67)));
  set.samples.push_back(finished("hat_closed.wav", hat(0.09f, 0.018f, 71)));
  set.samples.push_back(finished("hat_open.wav", hat(0.5f, 0.14f, 73)));
  set.samples.push_back(finished("clap.wav", clap()));
  set.samples.push_back(finished("tom_low.wav", tom(92.0f, 0.45f)));
  set.samples.push_back(finished("tom_high.wav", tom(145.0f, 0.35f)));
  set.samples.push_back(finished("rim.wav", rim()));
  set.samples.push_back(finished("shaker.wav", shaker()));
  return set;
}

}  // namespace demos
