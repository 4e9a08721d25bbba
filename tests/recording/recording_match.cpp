// recording_match DEVICE.raw RECORDING.wav
// Compares an F10 recording with what the sound device played (SDL's disk
// driver output: raw float stereo at 48 kHz). Finds the lag at which the
// recording lines up with the device's stream and prints key=value lines:
// the recording's length, the lag and the normalised cross-correlation there.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "tidewell/recording/float_wave_file.h"

namespace {

std::vector<float> readRawFloats(const char* path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<float> values(bytes.size() / sizeof(float));
  std::memcpy(values.data(), bytes.data(), values.size() * sizeof(float));
  return values;
}

double correlationAt(const std::vector<float>& device, const std::vector<float>& recording, long lag) {
  double dot = 0, a2 = 0, b2 = 0;
  for (std::size_t i = 0; i < recording.size(); ++i) {
    const long j = lag + static_cast<long>(i);
    const double a = recording[i];
    const double b = j >= 0 && j < static_cast<long>(device.size()) ? device[static_cast<std::size_t>(j)] : 0.0;
    dot += a * b;
    a2 += a * a;
    b2 += b * b;
  }
  return a2 > 0 && b2 > 0 ? dot / std::sqrt(a2 * b2) : 0.0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DEVICE.raw RECORDING.wav\n", argv[0]);
    return 2;
  }
  const std::vector<float> device = readRawFloats(argv[1]);
  std::vector<float> recording;
  if (device.empty() || !tidewell::recording::readFloatWave(argv[2], &recording)) {
    std::fprintf(stderr, "cannot read %s or %s\n", argv[1], argv[2]);
    return 1;
  }
  std::printf("seconds=%.3f\n", static_cast<double>(recording.size()) / 2 / 48000);

  // Candidate lags: where a stretch of the recording's first sound appears
  // in the device's stream (on whole frames).
  std::size_t start = 0;
  while (start < recording.size() && std::fabs(recording[start]) < 1e-3f) ++start;
  start -= start % 2;
  constexpr std::size_t kWindow = 128;
  double best = 0;
  long bestLag = 0;
  if (start + kWindow <= recording.size()) {
    for (std::size_t p = 0; p + kWindow <= device.size(); p += 2) {
      if (device[p] != recording[start] || std::memcmp(&device[p], &recording[start], kWindow * sizeof(float)) != 0)
        continue;
      const long lag = static_cast<long>(p) - static_cast<long>(start);
      const double c = correlationAt(device, recording, lag);
      if (c > best) best = c, bestLag = lag;
    }
  }
  std::printf("lag_frames=%ld\n", bestLag / 2);
  std::printf("correlation=%.6f\n", best);
  return 0;
}
