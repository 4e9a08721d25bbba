#pragma once
// Where beats start in a recording, and how well they keep a grid: sharp
// onsets found to the frame, each gap counted as a whole number of nominal
// beats, and a straight line (period and phase) fitted through them.
#include <cstdint>
#include <vector>

namespace beat_grid {

// Frames where the sound rises above `threshold` after at least `quietFrames`
// frames below it, over interleaved frames of `channels` values.
std::vector<std::int64_t> findOnsets(const std::vector<float>& samples, int channels, float threshold,
                                     int quietFrames);

struct GridFit {
  int onsets = 0;
  std::int64_t beats = 0;     // beats spanned from the first onset to the last
  double periodMs = 0.0;      // fitted beat spacing
  double phaseMs = 0.0;       // fitted time of beat 0
  double rmsMs = 0.0;         // onsets off the fitted grid, root mean square
  double worstMs = 0.0;       // and the farthest one
  int unexplained = 0;        // gaps more than a quarter beat off a whole number
};

// Fits onset times (milliseconds) to a grid near `nominalMs`.
GridFit fitGrid(const std::vector<double>& onsetMs, double nominalMs);

// Onsets off a grid fitted to their neighbours within `windowBeats` beats
// either side, root mean square: the beat-to-beat jitter, leaving out a slow
// wander of the stream's pace against the wall clock.
double localRmsMs(const std::vector<double>& onsetMs, double nominalMs, int windowBeats);

// The output file's growth as the disk driver wrote it: when (wall seconds)
// it held how many frames. The disk driver keeps no clock of its own, so the
// writes are the stream's only tie to the wall clock.
struct GrowthLog {
  std::vector<double> wall;
  std::vector<double> frames;

  // One sighting of the file. One write seen in two pieces (the watcher woke
  // while it was copied) counts as one, and nothing before the first frame.
  void add(double wallSeconds, double framesSoFar);

  // When a frame plays, as the program's output clock sees the device: the
  // frames of each write are taken evenly over the time since the write
  // before, at the pace the writes show there rather than the nominal rate
  // (the disk driver runs a few per cent fast).
  double wallMsOfFrame(double frame) const;

  // The standard deviation of the times between writes, in milliseconds.
  double intervalSpreadMs() const;
};

// The least-squares line of y over x.
struct Line {
  double slope = 0.0;
  double intercept = 0.0;
};
Line fitLine(const std::vector<double>& x, const std::vector<double>& y);

// Its slope: the rate at which y grows with x.
double slope(const std::vector<double>& x, const std::vector<double>& y);

}  // namespace beat_grid
