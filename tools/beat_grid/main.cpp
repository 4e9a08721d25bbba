// beat_grid FILE --interval MS [--from S] [--to S] [--growth LOG] [--threshold T] [--list]
//
// Reads raw 32-bit float stereo at 48 kHz (what SDL's disk driver writes),
// finds the onsets of sharp clicks and fits a beat grid near the nominal
// interval. Times are the stream's own unless --growth names a log of
// "wall_seconds file_bytes" lines taken while the file was written: then the
// stream's rate against the wall clock is fitted from it and every time is
// given in wall milliseconds (the disk driver does not run at real time).
// --from and --to select onsets by stream seconds. Prints key=value lines.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tools/beat_grid/beat_grid.h"

namespace {

constexpr int kRate = 48000;
constexpr int kChannels = 2;
constexpr double kBytesPerFrame = kChannels * sizeof(float);

bool readAll(const char* path, std::vector<float>& samples) {
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return false;
  float block[4096];
  std::size_t got;
  while ((got = std::fread(block, sizeof(float), 4096, file)) > 0) samples.insert(samples.end(), block, block + got);
  const bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

// Wall seconds per stream second from the file's growth; 1 without a log.
double wallPerStream(const char* growthLog) {
  if (growthLog == nullptr) return 1.0;
  std::FILE* file = std::fopen(growthLog, "r");
  if (!file) return 0.0;
  std::vector<double> wall, stream;
  double seconds = 0.0, bytes = 0.0;
  while (std::fscanf(file, "%lf %lf", &seconds, &bytes) == 2) {
    if (bytes <= 0.0) continue;  // before the device started
    wall.push_back(seconds);
    stream.push_back(bytes / kBytesPerFrame / kRate);
  }
  std::fclose(file);
  const double rate = beat_grid::slope(wall, stream);
  return rate > 0.0 ? 1.0 / rate : 0.0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = nullptr;
  const char* growth = nullptr;
  double interval = 0.0, from = 0.0, to = 1e9;
  float threshold = 0.05f;
  bool list = false;
  for (int i = 1; i < argc; ++i) {
    const bool more = i + 1 < argc;
    if (!std::strcmp(argv[i], "--interval") && more) interval = std::atof(argv[++i]);
    else if (!std::strcmp(argv[i], "--from") && more) from = std::atof(argv[++i]);
    else if (!std::strcmp(argv[i], "--to") && more) to = std::atof(argv[++i]);
    else if (!std::strcmp(argv[i], "--growth") && more) growth = argv[++i];
    else if (!std::strcmp(argv[i], "--list")) list = true;
    else if (!std::strcmp(argv[i], "--threshold") && more) threshold = static_cast<float>(std::atof(argv[++i]));
    else if (!path) path = argv[i];
    else path = nullptr, i = argc;
  }
  if (!path || !(interval > 0.0)) {
    std::fprintf(stderr, "usage: %s FILE --interval MS [--from S] [--to S] [--growth LOG] [--threshold T]\n", argv[0]);
    return 2;
  }
  std::vector<float> samples;
  if (!readAll(path, samples)) {
    std::fprintf(stderr, "cannot read %s\n", path);
    return 1;
  }
  const double scale = wallPerStream(growth);
  if (!(scale > 0.0)) {
    std::fprintf(stderr, "cannot fit the stream's rate from %s\n", growth);
    return 1;
  }
  // 20 ms of quiet before each onset: a click's own ringing is never a new one.
  std::vector<double> onsetMs;
  for (const std::int64_t frame : beat_grid::findOnsets(samples, kChannels, threshold, kRate / 50)) {
    const double streamSeconds = static_cast<double>(frame) / kRate;
    if (streamSeconds >= from && streamSeconds <= to) onsetMs.push_back(streamSeconds * 1000.0 * scale);
  }
  const beat_grid::GridFit fit = beat_grid::fitGrid(onsetMs, interval);
  std::printf("wall_per_stream=%.6f\n", scale);
  std::printf("onsets=%d\n", fit.onsets);
  std::printf("beats=%lld\n", static_cast<long long>(fit.beats));
  std::printf("span_s=%.3f\n", fit.beats * fit.periodMs / 1000.0);
  std::printf("spacing_ms=%.4f\n", fit.periodMs);
  std::printf("spacing_error_pct=%.4f\n", (fit.periodMs / interval - 1.0) * 100.0);
  std::printf("rms_ms=%.4f\n", fit.rmsMs);
  std::printf("worst_ms=%.4f\n", fit.worstMs);
  std::printf("unexplained_gaps=%d\n", fit.unexplained);
  if (list) {
    for (std::size_t i = 0; i < onsetMs.size(); ++i) {
      std::printf("onset %.3f gap %.3f\n", onsetMs[i], i ? onsetMs[i] - onsetMs[i - 1] : 0.0);
    }
  }
  return fit.onsets >= 3 ? 0 : 1;
}
