#pragma once
// Measures a stretch of interleaved float audio: loudness, clipping, the
// longest silence and where sounds start. Used on the raw output of SDL's
// disk audio driver by the end-to-end tests.
#include <cstddef>
#include <vector>

namespace audio_measure {

struct AnalysisOptions {
  int sampleRate = 48000;
  int channels = 2;
  float clipLevel = 0.999f;          // |x| at or above this counts as clipped
  double silenceWindowSeconds = 0.05;
  double silenceDbfs = -60.0;        // a window quieter than this is silent
  double onsetHopSeconds = 0.01;
  double onsetRiseDb = 6.0;          // jump in frame energy that marks a new sound
  double onsetFloorDbfs = -50.0;     // quieter frames never start a sound
  double onsetMinSpacingSeconds = 0.04;
};

struct Analysis {
  double seconds = 0.0;
  double rmsDbfs = -200.0;  // over all samples of all channels
  double peakDbfs = -200.0;
  double clippedFraction = 0.0;
  double longestSilenceSeconds = 0.0;
  std::vector<double> onsetSeconds;
  double medianOnsetSpacingSeconds = 0.0;  // 0 with fewer than two onsets
};

// `samples` holds whole frames of `options.channels` interleaved values; a
// trailing partial frame is ignored.
Analysis analyse(const std::vector<float>& samples, const AnalysisOptions& options);

double toDbfs(double amplitude);

// Appends the raw 32-bit floats of a file (what SDL's disk driver writes).
bool readRawFloats(const char* path, std::vector<float>& samples);

}  // namespace audio_measure
