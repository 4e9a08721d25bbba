#include "tidewell/midi/midi_mapping.h"

#include <algorithm>
#include <cmath>

namespace tidewell::midi {

double semitonesFromOwnRate(std::uint32_t frequency, std::uint32_t sampleRate) {
  if (frequency == 0 || sampleRate == 0) return 0.0;
  return 12.0 * std::log2(static_cast<double>(frequency) / sampleRate);
}

int nearestNote(double semitones, double bendSemitones) {
  const double note = std::round(kMiddleC + semitones - bendSemitones);
  return static_cast<int>(std::clamp(note, 0.0, 127.0));
}

int bendValue(double bendSemitones) {
  const double value = kBendCentre + std::round(bendSemitones / kBendRangeSemitones * kBendCentre);
  return static_cast<int>(std::clamp(value, 0.0, 16383.0));
}

int velocityFor(std::int32_t volume) {
  const double level = std::pow(10.0, std::min(volume, 0) / 4000.0);
  return static_cast<int>(std::clamp(std::round(127.0 * level), 1.0, 127.0));
}

int panControllerFor(std::int32_t pan) {
  const int p = std::clamp(pan, -10000, 10000);
  // 64 steps to the left of centre, 63 to the right.
  const int steps = p < 0 ? 64 : 63;
  return 64 + static_cast<int>(std::lround(static_cast<double>(p) * steps / 10000.0));
}

double clockIntervalMs(float tempo) {
  if (!(tempo > 0.0f)) return 0.0;
  const double sessionBeatMs = 60000.0 / (static_cast<double>(tempo) / 2.0);
  return sessionBeatMs / kClocksPerBeat;
}

}  // namespace tidewell::midi
