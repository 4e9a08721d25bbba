// audio_measure FILE [--rate HZ] [--channels N] [--skip SECONDS]
// Reads raw 32-bit float interleaved audio (what SDL's disk driver writes)
// and prints key=value lines that scripts can parse.
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <vector>

#include "tools/audio_measure/audio_analysis.h"

namespace {

}  // namespace

int main(int argc, char** argv) {
  audio_measure::AnalysisOptions options;
  const char* path = nullptr;
  double skipSeconds = 0.0;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--rate") && i + 1 < argc) options.sampleRate = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--channels") && i + 1 < argc) options.channels = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--skip") && i + 1 < argc) skipSeconds = std::atof(argv[++i]);
    else if (!path) path = argv[i];
    else path = nullptr, i = argc;
  }
  if (!path || options.sampleRate <= 0 || options.channels <= 0) {
    std::fprintf(stderr, "usage: %s FILE [--rate HZ] [--channels N] [--skip SECONDS]\n", argv[0]);
    return 2;
  }
  std::vector<float> samples;
  if (!audio_measure::readRawFloats(path, samples)) {
    std::fprintf(stderr, "cannot read %s\n", path);
    return 1;
  }
  // Leading audio (device start-up) can be left out of the figures.
  const std::size_t skip = std::size_t(skipSeconds * options.sampleRate) * options.channels;
  if (skip > 0) samples.erase(samples.begin(), samples.begin() + std::min(skip, samples.size()));

  const audio_measure::Analysis a = audio_measure::analyse(samples, options);
  std::printf("seconds=%.3f\n", a.seconds);
  std::printf("rms_dbfs=%.2f\n", a.rmsDbfs);
  std::printf("peak_dbfs=%.2f\n", a.peakDbfs);
  std::printf("clipped_fraction=%.6f\n", a.clippedFraction);
  std::printf("longest_silence_s=%.3f\n", a.longestSilenceSeconds);
  std::printf("onset_count=%zu\n", a.onsetSeconds.size());
  std::printf("onsets=");
  for (std::size_t i = 0; i < a.onsetSeconds.size(); ++i) std::printf(i ? ",%.2f" : "%.2f", a.onsetSeconds[i]);
  std::printf("\n");
  std::printf("median_onset_spacing_s=%.3f\n", a.medianOnsetSpacingSeconds);
  return 0;
}
