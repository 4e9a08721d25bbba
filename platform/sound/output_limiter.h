#pragma once
// The last stage of the mix: a look-ahead peak limiter on linked stereo.
// Every frame leaves kDelayFrames late. Where a peak of either channel would
// pass the ceiling, the gain of both channels is already down by the time it
// leaves, having fallen along a straight line over the look-ahead; it comes
// back up with a release of about 100 ms. Sums that stay under the ceiling
// leave unchanged, bit for bit.
#include <array>
#include <cstdint>

namespace platform::sound {

class OutputLimiter {
 public:
  static constexpr int kLookAheadFrames = 48;  // 1 ms at 48 kHz
  static constexpr int kDelayFrames = kLookAheadFrames - 1;
  static constexpr float kCeiling = 0.96605088f;  // -0.3 dBFS
  static constexpr double kReleaseSeconds = 0.1;

  explicit OutputLimiter(int rate = 48000);

  // Limits `frames` interleaved stereo frames in place. NaN and infinity
  // become silence.
  void process(float* stereo, int frames);

  // Frames whose peak passed the ceiling, so that the limiter had to act on
  // them, since the start. (The gain stays down for a while around each: it
  // falls over the look-ahead and takes about a second to come all the way back.)
  std::uint64_t engagedFrames() const { return engagedFrames_; }

 private:
  float slidingMinimum(float gain);
  float boxAverage(float held);

  // Required gains of the last frames, the smallest kept first.
  std::array<float, kLookAheadFrames> minValues_{};
  std::array<std::int64_t, kLookAheadFrames> minFrames_{};
  int minHead_ = 0;
  int minCount_ = 0;
  // The held gains being averaged: their sum, and how many are below 1.
  std::array<float, kLookAheadFrames> held_{};
  double heldSum_ = kLookAheadFrames;
  int heldBelowOne_ = 0;
  // The frames waiting to leave.
  std::array<float, 2 * kLookAheadFrames> delay_{};
  std::int64_t frame_ = 0;
  double gain_ = 1.0;
  double releaseCoefficient_;
  std::uint64_t engagedFrames_ = 0;
};

}  // namespace platform::sound
