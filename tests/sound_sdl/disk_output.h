#pragma once
// Starting SDL on its disk driver and reading back what it wrote: raw float
// stereo frames at 48 kHz.
#include <SDL.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

namespace sound_sdl_test {

// SDL reads the driver and its file name from the environment at start-up.
inline bool startDiskAudio(const std::string& file, int millisecondsPerBuffer) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", std::to_string(millisecondsPerBuffer).c_str(), 1);
  return SDL_Init(SDL_INIT_AUDIO) == 0;
}

inline std::vector<float> readRawFloats(const std::string& file) {
  const auto bytes = testing_support::readAll(file);
  std::vector<float> values(bytes.size() / sizeof(float));
  std::memcpy(values.data(), bytes.data(), values.size() * sizeof(float));
  return values;
}

// The first and one past the last stereo frame with any non-zero channel,
// from frame `from` on; both are 0 for silence.
struct Extent {
  std::size_t first = 0;
  std::size_t end = 0;
};

inline Extent soundingExtent(const std::vector<float>& stereo, std::size_t from = 0) {
  Extent extent;
  bool found = false;
  for (std::size_t frame = from; 2 * frame + 1 < stereo.size(); ++frame) {
    if (stereo[2 * frame] == 0.0f && stereo[2 * frame + 1] == 0.0f) continue;
    if (!found) extent.first = frame;
    found = true;
    extent.end = frame + 1;
  }
  return extent;
}

// Pitch from upward zero crossings, each placed between its two frames by
// linear interpolation: whole cycles over the time they span.
inline double zeroCrossingFrequency(const float* stereo, std::size_t frames, int channel, double rate) {
  double firstCrossing = -1.0, lastCrossing = -1.0;
  int cycles = -1;
  for (std::size_t i = 1; i < frames; ++i) {
    const double a = stereo[2 * (i - 1) + static_cast<std::size_t>(channel)];
    const double b = stereo[2 * i + static_cast<std::size_t>(channel)];
    if (!(a < 0.0 && b >= 0.0)) continue;
    const double at = static_cast<double>(i - 1) + a / (a - b);
    if (firstCrossing < 0.0) firstCrossing = at;
    lastCrossing = at;
    ++cycles;
  }
  if (cycles < 1) return 0.0;
  return cycles * rate / (lastCrossing - firstCrossing);
}

}  // namespace sound_sdl_test
