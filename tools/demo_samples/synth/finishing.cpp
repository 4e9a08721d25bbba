#include "tools/demo_samples/synth/finishing.h"

#include <algorithm>
#include <cmath>

namespace demos {

void removeDcOffset(Signal& signal) {
  const float mean = meanOf(signal);
  for (float& x : signal) x -= mean;
}

void applyEdgeFades(Signal& signal, float fadeIn, float fadeOut, float rate) {
  const std::size_t n = signal.size();
  if (n == 0) return;
  const std::size_t in = std::min(std::max<std::size_t>(framesFor(fadeIn, rate), 1), n);
  const std::size_t out = std::min(std::max<std::size_t>(framesFor(fadeOut, rate), 1), n);
  for (std::size_t i = 0; i < in; ++i)
    signal[i] *= 0.5f - 0.5f * std::cos(kPi * static_cast<float>(i) / static_cast<float>(in));
  for (std::size_t i = 0; i < out; ++i)
    signal[n - 1 - i] *= 0.5f - 0.5f * std::cos(kPi * static_cast<float>(i) / static_cast<float>(out));
}

void normalisePeak(Signal& signal, float peakDbfs) {
  const float peak = peakOf(signal);
  if (peak <= 0.0f) return;
  const float gain = std::pow(10.0f, peakDbfs / 20.0f) / peak;
  for (float& x : signal) x *= gain;
}

void saturate(Signal& signal, float drive) {
  if (drive <= 0.0f) return;
  for (float& x : signal) x = std::tanh(drive * x) / std::tanh(drive);
}

void finishSample(Signal& signal, float rate, const FinishingOptions& options) {
  // Each fade moves the mean a little and each offset removal lifts the edges
  // a little; the pair shrinks both by the fades' share of the sound each
  // time, so a few rounds leave nothing measurable of either.
  for (int round = 0; round < 4; ++round) {
    removeDcOffset(signal);
    applyEdgeFades(signal, options.fadeIn, options.fadeOut, rate);
  }
  normalisePeak(signal, options.peakDbfs);
}

std::vector<std::int16_t> toPcm16(const Signal& signal) {
  std::vector<std::int16_t> pcm(signal.size());
  for (std::size_t i = 0; i < signal.size(); ++i) {
    const float scaled = std::clamp(signal[i], -1.0f, 1.0f) * 32767.0f;
    pcm[i] = static_cast<std::int16_t>(std::lround(scaled));
  }
  return pcm;
}

}  // namespace demos
