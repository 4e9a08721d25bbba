#include "platform/sound/output_limiter.h"

#include <algorithm>
#include <cmath>

namespace platform::sound {
namespace {

// Within this of full gain the release is over: the gain is 1 again and the
// sound passes untouched.
constexpr double kReleaseDone = 1.0e-5;

}  // namespace

OutputLimiter::OutputLimiter(int rate)
    : releaseCoefficient_(1.0 - std::exp(-1.0 / (kReleaseSeconds * rate))) {
  held_.fill(1.0f);
}

// The smallest required gain among the last kLookAheadFrames frames, kept as
// a queue of candidates rising from the front.
float OutputLimiter::slidingMinimum(float gain) {
  constexpr int n = kLookAheadFrames;
  if (minCount_ > 0 && minFrames_[static_cast<std::size_t>(minHead_)] <= frame_ - n) {
    minHead_ = (minHead_ + 1) % n;
    --minCount_;
  }
  while (minCount_ > 0 && minValues_[static_cast<std::size_t>((minHead_ + minCount_ - 1) % n)] >= gain) --minCount_;
  const auto back = static_cast<std::size_t>((minHead_ + minCount_) % n);
  minValues_[back] = gain;
  minFrames_[back] = frame_;
  ++minCount_;
  return minValues_[static_cast<std::size_t>(minHead_)];
}

// The mean of the last kLookAheadFrames held gains: exactly 1 while all are 1.
float OutputLimiter::boxAverage(float held) {
  const auto slot = static_cast<std::size_t>(frame_ % kLookAheadFrames);
  const float leaving = held_[slot];
  held_[slot] = held;
  heldBelowOne_ += (held < 1.0f) - (leaving < 1.0f);
  if (heldBelowOne_ == 0) {
    heldSum_ = kLookAheadFrames;  // no drift carried into the next peak
    return 1.0f;
  }
  heldSum_ += static_cast<double>(held) - leaving;
  return static_cast<float>(heldSum_ / kLookAheadFrames);
}

void OutputLimiter::process(float* stereo, int frames) {
  for (int i = 0; i < frames; ++i, ++frame_) {
    float* out = stereo + 2 * static_cast<std::ptrdiff_t>(i);
    float left = out[0], right = out[1];
    if (!std::isfinite(left)) left = 0.0f;
    if (!std::isfinite(right)) right = 0.0f;
    const float peak = std::max(std::fabs(left), std::fabs(right));
    const float needed = peak > kCeiling ? kCeiling / peak : 1.0f;
    engagedFrames_ += needed < 1.0f;
    const float target = boxAverage(slidingMinimum(needed));
    if (target < gain_) {
      gain_ = target;
    } else if (gain_ < 1.0) {
      gain_ += (target - gain_) * releaseCoefficient_;
      if (target == 1.0f && gain_ > 1.0 - kReleaseDone) gain_ = 1.0;
    }

    const auto slot = static_cast<std::size_t>(2 * (frame_ % kLookAheadFrames));
    // The ring holds the last kLookAheadFrames inputs; the one leaving now
    // came kDelayFrames frames ago.
    const auto leavingSlot = static_cast<std::size_t>(2 * ((frame_ + 1) % kLookAheadFrames));
    delay_[slot] = left;
    delay_[slot + 1] = right;
    float outLeft = delay_[leavingSlot], outRight = delay_[leavingSlot + 1];
    if (gain_ < 1.0) {
      const float gain = static_cast<float>(gain_);
      outLeft = std::clamp(outLeft * gain, -kCeiling, kCeiling);
      outRight = std::clamp(outRight * gain, -kCeiling, kCeiling);
    }
    out[0] = outLeft;
    out[1] = outRight;
  }
}

}  // namespace platform::sound
