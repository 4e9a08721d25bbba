// render_onsets FILE.wav [--period-ms P] [--skip-s S]
// Where the hits of a render of one short click start, and how well they sit
// on a beat grid of nominal period P (default 60000 / 700 ms). An onset is
// the first frame louder than -80 dBFS after at least 20 ms of quiet. The
// grid's step is measured (the typical gap between onsets one beat apart),
// each onset gets the whole beat number nearest to it on that step, and the
// grid is the least-squares line through (beat number, onset frame).
// Prints key=value lines: onsets, the fitted period, its error against P,
// and the RMS and largest distance of an onset from the grid.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tidewell/recording/float_wave_file.h"

int main(int argc, char** argv) {
  const char* path = nullptr;
  double periodMs = 60000.0 / 700.0;
  double skipSeconds = 0.5;  // the first beat comes at once, off the grid that follows
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--period-ms") && i + 1 < argc) periodMs = std::atof(argv[++i]);
    else if (!std::strcmp(argv[i], "--skip-s") && i + 1 < argc) skipSeconds = std::atof(argv[++i]);
    else path = argv[i];
  }
  std::vector<float> samples;
  if (path == nullptr || !tidewell::recording::readFloatWave(path, &samples)) {
    std::fprintf(stderr, "usage: render_onsets FILE.wav [--period-ms P] [--skip-s S]\n");
    return 2;
  }
  constexpr double kRate = 48000.0;
  constexpr float kThreshold = 1e-4f;
  const std::size_t quietFrames = static_cast<std::size_t>(0.020 * kRate);
  std::vector<double> onsets;
  std::size_t quiet = quietFrames;
  for (std::size_t frame = 0; 2 * frame + 1 < samples.size(); ++frame) {
    const bool loud = std::fabs(samples[2 * frame]) > kThreshold || std::fabs(samples[2 * frame + 1]) > kThreshold;
    if (loud && quiet >= quietFrames && frame >= skipSeconds * kRate) onsets.push_back(static_cast<double>(frame));
    quiet = loud ? 0 : quiet + 1;
  }
  std::printf("onsets=%zu\n", onsets.size());
  if (onsets.size() < 3) return 1;

  // The grid's step comes from the sound, not from P: the median of the
  // gaps no longer than 1.5 times the shortest (one beat apart).
  const double period = periodMs * kRate / 1000.0;
  std::vector<double> gaps;
  for (std::size_t i = 1; i < onsets.size(); ++i) gaps.push_back(onsets[i] - onsets[i - 1]);
  const double shortest = *std::min_element(gaps.begin(), gaps.end());
  std::vector<double> single;
  for (double gap : gaps) {
    if (gap <= 1.5 * shortest) single.push_back(gap);
  }
  std::nth_element(single.begin(), single.begin() + static_cast<long>(single.size() / 2), single.end());
  const double step = single[single.size() / 2];
  std::printf("one_beat_gap_ms=%.4f\n", step * 1000.0 / kRate);
  std::vector<double> beat(onsets.size());
  for (std::size_t i = 0; i < onsets.size(); ++i) beat[i] = std::round((onsets[i] - onsets[0]) / step);
  double mk = 0, mf = 0;
  for (std::size_t i = 0; i < onsets.size(); ++i) mk += beat[i], mf += onsets[i];
  mk /= static_cast<double>(onsets.size());
  mf /= static_cast<double>(onsets.size());
  double skk = 0, skf = 0;
  for (std::size_t i = 0; i < onsets.size(); ++i) skk += (beat[i] - mk) * (beat[i] - mk), skf += (beat[i] - mk) * (onsets[i] - mf);
  const double fitted = skf / skk;
  double squares = 0, largest = 0;
  for (std::size_t i = 0; i < onsets.size(); ++i) {
    const double off = onsets[i] - (mf + fitted * (beat[i] - mk));
    squares += off * off;
    largest = std::fmax(largest, std::fabs(off));
  }
  std::printf("beats_spanned=%.0f\n", beat.back());
  std::printf("mean_spacing_ms=%.4f\n", fitted * 1000.0 / kRate);
  std::printf("nominal_ms=%.4f\n", periodMs);
  std::printf("spacing_error_percent=%.4f\n", 100.0 * (fitted / period - 1.0));
  std::printf("jitter_rms_ms=%.4f\n", std::sqrt(squares / static_cast<double>(onsets.size())) * 1000.0 / kRate);
  std::printf("jitter_max_ms=%.4f\n", largest * 1000.0 / kRate);
  return 0;
}
