#include "tools/beat_grid/beat_grid.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace beat_grid {

std::vector<std::int64_t> findOnsets(const std::vector<float>& samples, int channels, float threshold,
                                     int quietFrames) {
  std::vector<std::int64_t> onsets;
  const std::size_t frames = channels > 0 ? samples.size() / static_cast<std::size_t>(channels) : 0;
  int quiet = quietFrames;  // the file's start counts as quiet
  for (std::size_t f = 0; f < frames; ++f) {
    float level = 0.0f;
    for (int c = 0; c < channels; ++c) {
      level = std::max(level, std::fabs(samples[f * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)]));
    }
    if (level > threshold) {
      if (quiet >= quietFrames) onsets.push_back(static_cast<std::int64_t>(f));
      quiet = 0;
    } else {
      ++quiet;
    }
  }
  return onsets;
}

namespace {

// Beat numbers from the gaps, each a whole number of nominal beats; counts
// the gaps more than a quarter beat off a whole number.
std::vector<double> beatNumbers(const std::vector<double>& onsetMs, double nominalMs, int* unexplained) {
  std::vector<double> beat(onsetMs.size(), 0.0);
  for (std::size_t i = 1; i < onsetMs.size(); ++i) {
    const double gap = (onsetMs[i] - onsetMs[i - 1]) / nominalMs;
    const double whole = std::max(1.0, std::round(gap));
    if (std::fabs(gap - whole) > 0.25) ++*unexplained;
    beat[i] = beat[i - 1] + whole;
  }
  return beat;
}

}  // namespace

double localRmsMs(const std::vector<double>& onsetMs, double nominalMs, int windowBeats) {
  int unexplained = 0;
  const std::vector<double> beat = beatNumbers(onsetMs, nominalMs, &unexplained);
  double sum = 0.0;
  int count = 0;
  for (std::size_t i = 0; i < beat.size(); ++i) {
    std::vector<double> x, y;
    for (std::size_t j = 0; j < beat.size(); ++j) {
      if (std::fabs(beat[j] - beat[i]) <= windowBeats) {
        x.push_back(beat[j]);
        y.push_back(onsetMs[j]);
      }
    }
    if (x.size() < 5) continue;
    const Line line = fitLine(x, y);
    const double off = onsetMs[i] - (line.intercept + line.slope * beat[i]);
    sum += off * off;
    ++count;
  }
  return count > 0 ? std::sqrt(sum / count) : 0.0;
}

GridFit fitGrid(const std::vector<double>& onsetMs, double nominalMs) {
  GridFit fit;
  fit.onsets = static_cast<int>(onsetMs.size());
  if (onsetMs.size() < 3 || !(nominalMs > 0.0)) return fit;
  const std::vector<double> beat = beatNumbers(onsetMs, nominalMs, &fit.unexplained);
  fit.beats = static_cast<std::int64_t>(beat.back());
  const Line line = fitLine(beat, onsetMs);
  fit.periodMs = line.slope;
  fit.phaseMs = line.intercept;
  double sum = 0.0;
  for (std::size_t i = 0; i < beat.size(); ++i) {
    const double off = onsetMs[i] - (fit.phaseMs + fit.periodMs * beat[i]);
    sum += off * off;
    fit.worstMs = std::max(fit.worstMs, std::fabs(off));
  }
  fit.rmsMs = std::sqrt(sum / static_cast<double>(beat.size()));
  return fit;
}

Line fitLine(const std::vector<double>& x, const std::vector<double>& y) {
  const std::size_t n = std::min(x.size(), y.size());
  if (n < 2) return {};
  double mx = 0.0, my = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    mx += x[i];
    my += y[i];
  }
  mx /= static_cast<double>(n);
  my /= static_cast<double>(n);
  double sxy = 0.0, sxx = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    sxy += (x[i] - mx) * (y[i] - my);
    sxx += (x[i] - mx) * (x[i] - mx);
  }
  Line line;
  line.slope = sxx > 0.0 ? sxy / sxx : 0.0;
  line.intercept = my - line.slope * mx;
  return line;
}

double slope(const std::vector<double>& x, const std::vector<double>& y) { return fitLine(x, y).slope; }

namespace {

// Two sightings this close are one write.
constexpr double kSameWriteSeconds = 0.002;

}  // namespace

void GrowthLog::add(double wallSeconds, double framesSoFar) {
  if (framesSoFar <= 0.0) return;  // before the device started
  if (!wall.empty() && wallSeconds - wall.back() < kSameWriteSeconds) {
    wall.back() = wallSeconds;
    frames.back() = framesSoFar;
    return;
  }
  wall.push_back(wallSeconds);
  frames.push_back(framesSoFar);
}

double GrowthLog::wallMsOfFrame(double frame) const {
  if (wall.size() < 2) return 0.0;
  std::size_t k = 1;
  while (k + 1 < frames.size() && frames[k] <= frame) ++k;
  const double span = frames[k] - frames[k - 1];
  const double share = span > 0.0 ? (frame - frames[k - 1]) / span : 0.0;
  return (wall[k - 1] + share * (wall[k] - wall[k - 1])) * 1000.0;
}

double GrowthLog::intervalSpreadMs() const {
  if (wall.size() < 3) return 0.0;
  double sum = 0.0, squares = 0.0;
  for (std::size_t i = 1; i < wall.size(); ++i) {
    const double gap = (wall[i] - wall[i - 1]) * 1000.0;
    sum += gap;
    squares += gap * gap;
  }
  const double n = static_cast<double>(wall.size() - 1);
  const double mean = sum / n;
  return std::sqrt(std::max(0.0, squares / n - mean * mean));
}

}  // namespace beat_grid
