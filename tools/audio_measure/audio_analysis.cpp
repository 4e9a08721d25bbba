#include "tools/audio_measure/audio_analysis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace audio_measure {
namespace {

// Mean square of frames [begin, end) over all channels.
double meanSquare(const std::vector<float>& samples, std::size_t begin, std::size_t end, int channels) {
  if (end <= begin) return 0.0;
  double sum = 0.0;
  for (std::size_t i = begin * channels; i < end * channels; ++i) sum += double(samples[i]) * samples[i];
  return sum / double((end - begin) * channels);
}

double powerDb(double meanSquareValue) { return 10.0 * std::log10(meanSquareValue + 1e-20); }

double longestSilence(const std::vector<float>& samples, std::size_t frames, const AnalysisOptions& o) {
  const std::size_t window = std::max<std::size_t>(1, std::size_t(o.silenceWindowSeconds * o.sampleRate));
  std::size_t run = 0, longest = 0;
  for (std::size_t start = 0; start < frames; start += window) {
    const std::size_t end = std::min(frames, start + window);
    if (powerDb(meanSquare(samples, start, end, o.channels)) < o.silenceDbfs) {
      run += end - start;
      longest = std::max(longest, run);
    } else {
      run = 0;
    }
  }
  return double(longest) / o.sampleRate;
}

// Energy flux: a frame whose level rises by onsetRiseDb over the louder of the
// two frames before it starts a new sound.
std::vector<double> findOnsets(const std::vector<float>& samples, std::size_t frames, const AnalysisOptions& o) {
  const std::size_t hop = std::max<std::size_t>(1, std::size_t(o.onsetHopSeconds * o.sampleRate));
  std::vector<double> level;
  for (std::size_t start = 0; start + hop <= frames; start += hop)
    level.push_back(powerDb(meanSquare(samples, start, start + hop, o.channels)));
  std::vector<double> onsets;
  double last = -1e9;
  for (std::size_t n = 0; n < level.size(); ++n) {
    const double before = std::max(n >= 1 ? level[n - 1] : -200.0, n >= 2 ? level[n - 2] : -200.0);
    const double t = double(n * hop) / o.sampleRate;
    if (level[n] > o.onsetFloorDbfs && level[n] - before >= o.onsetRiseDb && t - last >= o.onsetMinSpacingSeconds) {
      onsets.push_back(t);
      last = t;
    }
  }
  return onsets;
}

double median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : 0.5 * (values[mid - 1] + values[mid]);
}

}  // namespace

double toDbfs(double amplitude) { return 20.0 * std::log10(std::max(amplitude, 1e-10)); }

Analysis analyse(const std::vector<float>& samples, const AnalysisOptions& o) {
  Analysis a;
  if (o.channels <= 0 || o.sampleRate <= 0) return a;
  const std::size_t frames = samples.size() / o.channels;
  const std::size_t count = frames * o.channels;
  a.seconds = double(frames) / o.sampleRate;
  if (count == 0) return a;

  double sum = 0.0, peak = 0.0;
  std::size_t clipped = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double x = std::fabs(double(samples[i]));
    sum += x * x;
    peak = std::max(peak, x);
    if (x >= o.clipLevel) ++clipped;
  }
  a.rmsDbfs = toDbfs(std::sqrt(sum / count));
  a.peakDbfs = toDbfs(peak);
  a.clippedFraction = double(clipped) / count;
  a.longestSilenceSeconds = longestSilence(samples, frames, o);
  a.onsetSeconds = findOnsets(samples, frames, o);
  std::vector<double> spacing;
  for (std::size_t i = 1; i < a.onsetSeconds.size(); ++i) spacing.push_back(a.onsetSeconds[i] - a.onsetSeconds[i - 1]);
  a.medianOnsetSpacingSeconds = median(spacing);
  return a;
}

bool readRawFloats(const char* path, std::vector<float>& samples) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  float block[4096];
  std::size_t got;
  while ((got = std::fread(block, sizeof(float), 4096, file)) > 0) samples.insert(samples.end(), block, block + got);
  const bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

}  // namespace audio_measure
