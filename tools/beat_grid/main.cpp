// beat_grid FILE --interval MS [--from S] [--to S] [--growth LOG] [--threshold T] [--list]
//
// Reads raw 32-bit float stereo at 48 kHz (what SDL's disk driver writes),
// finds the onsets of sharp clicks and fits a beat grid near the nominal
// interval. Times are the stream's own unless --growth names a log of
// "wall_seconds file_bytes" lines taken as the file grew (growth_watch): the
// disk driver does not run at real time, so the stream's rate against the
// wall clock is fitted over the whole log and every time is given in wall
// milliseconds; the frame_clock_ figures time each onset instead by when its
// frames were written, which follows the driver's own wobble. --from and --to
// select onsets by stream seconds. local_rms_ms fits the grid to each onset's
// neighbours (12 beats either side) in stream time: the beat-to-beat jitter
// without the driver's slow wander. Prints key=value lines.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tools/audio_measure/audio_analysis.h"
#include "tools/beat_grid/beat_grid.h"

namespace {

constexpr int kRate = 48000;
constexpr int kChannels = 2;
constexpr double kBytesPerFrame = kChannels * sizeof(float);

// "wall_seconds file_bytes" lines, as growth_watch prints them.
bool readGrowth(const char* path, beat_grid::GrowthLog& growth) {
  std::FILE* file = std::fopen(path, "r");
  if (!file) return false;
  double seconds = 0.0, bytes = 0.0;
  while (std::fscanf(file, "%lf %lf", &seconds, &bytes) == 2) growth.add(seconds, bytes / kBytesPerFrame);
  std::fclose(file);
  return growth.wall.size() >= 2;
}

void printFit(const char* prefix, const beat_grid::GridFit& fit, double interval) {
  std::printf("%sspacing_ms=%.4f\n", prefix, fit.periodMs);
  std::printf("%sspacing_error_pct=%.4f\n", prefix, (fit.periodMs / interval - 1.0) * 100.0);
  std::printf("%srms_ms=%.4f\n", prefix, fit.rmsMs);
  std::printf("%sworst_ms=%.4f\n", prefix, fit.worstMs);
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = nullptr;
  const char* growthLog = nullptr;
  double interval = 0.0, from = 0.0, to = 1e9;
  float threshold = 0.05f;
  bool list = false;
  for (int i = 1; i < argc; ++i) {
    const bool more = i + 1 < argc;
    if (!std::strcmp(argv[i], "--interval") && more) interval = std::atof(argv[++i]);
    else if (!std::strcmp(argv[i], "--from") && more) from = std::atof(argv[++i]);
    else if (!std::strcmp(argv[i], "--to") && more) to = std::atof(argv[++i]);
    else if (!std::strcmp(argv[i], "--growth") && more) growthLog = argv[++i];
    else if (!std::strcmp(argv[i], "--list")) list = true;
    else if (!std::strcmp(argv[i], "--threshold") && more) threshold = static_cast<float>(std::atof(argv[++i]));
    else if (!path) path = argv[i];
    else path = nullptr, i = argc;
  }
  if (!path || !(interval > 0.0)) {
    std::fprintf(stderr, "usage: %s FILE --interval MS [--from S] [--to S] [--growth LOG] [--threshold T] [--list]\n",
                 argv[0]);
    return 2;
  }
  std::vector<float> samples;
  if (!audio_measure::readRawFloats(path, samples)) {
    std::fprintf(stderr, "cannot read %s\n", path);
    return 1;
  }
  beat_grid::GrowthLog growth;
  if (growthLog != nullptr && !readGrowth(growthLog, growth)) {
    std::fprintf(stderr, "cannot read the growth of the file from %s\n", growthLog);
    return 1;
  }
  // Wall seconds per stream second, fitted over the whole run; 1 without a log.
  double scale = 1.0;
  if (growthLog != nullptr) {
    const double framesPerSecond = beat_grid::slope(growth.wall, growth.frames);
    scale = framesPerSecond > 0.0 ? kRate / framesPerSecond : 0.0;
  }
  if (!(scale > 0.0)) {
    std::fprintf(stderr, "cannot fit the stream's rate from %s\n", growthLog);
    return 1;
  }
  // 20 ms of quiet before each onset: a click's own ringing is never a new one.
  std::vector<double> streamMs, clockMs;
  for (const std::int64_t frame : beat_grid::findOnsets(samples, kChannels, threshold, kRate / 50)) {
    const double streamSeconds = static_cast<double>(frame) / kRate;
    if (streamSeconds < from || streamSeconds > to) continue;
    streamMs.push_back(streamSeconds * 1000.0 * scale);
    if (growthLog != nullptr) clockMs.push_back(growth.wallMsOfFrame(static_cast<double>(frame)));
  }
  const beat_grid::GridFit fit = beat_grid::fitGrid(streamMs, interval);
  std::printf("wall_per_stream=%.6f\n", scale);
  std::printf("onsets=%d\n", fit.onsets);
  std::printf("beats=%lld\n", static_cast<long long>(fit.beats));
  std::printf("span_s=%.3f\n", fit.beats * fit.periodMs / 1000.0);
  std::printf("unexplained_gaps=%d\n", fit.unexplained);
  printFit("", fit, interval);
  std::printf("local_rms_ms=%.4f\n", beat_grid::localRmsMs(streamMs, interval, 12));
  // The same onsets timed by when their frames were handed over.
  if (growthLog != nullptr) {
    printFit("frame_clock_", beat_grid::fitGrid(clockMs, interval), interval);
    // How evenly the driver itself wrote: every late wake-up of its thread
    // moves the stream against the wall clock after a hit was placed.
    std::printf("write_interval_sd_ms=%.4f\n", growth.intervalSpreadMs());
  }
  if (list) {
    const std::vector<double>& times = growthLog != nullptr ? clockMs : streamMs;
    for (std::size_t i = 0; i < times.size(); ++i) {
      std::printf("onset %.3f gap %.3f\n", times[i], i ? times[i] - times[i - 1] : 0.0);
    }
  }
  return fit.onsets >= 3 ? 0 : 1;
}
