#include "platform/sound/output_clock.h"

#include <chrono>
#include <cmath>

namespace platform::sound {
namespace {

// Loop bandwidth: wide from a (re)start, to learn the device's pace within a
// second or two, then narrowing, so that callbacks a sound server sends on its
// own timer (a few milliseconds early or late by turns) hardly bend the line.
constexpr double kStartBandwidthHz = 1.0;
constexpr double kSteadyBandwidthHz = 0.25;
constexpr double kNarrowingMs = 2000.0;  // time constant of the narrowing
// A callback this many blocks away from where the line expects it (a device
// that stalled or restarted) starts the line afresh.
constexpr double kLostBlocks = 4.0;
// How far past the rendered frames the estimate may run: a block of slack, a
// block of the device's progress, and a callback late by up to one more.
constexpr double kSlackBlocks = 3.0;

}  // namespace

double outputClockNowMs() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double, std::milli>(now).count();
}

OutputClock::OutputClock(int nominalRate) : nominalRate_(nominalRate) {}

void OutputClock::restart(std::uint64_t firstFrame, int frames, double nowMs) {
  line_.blockPeriod = frames * 1000.0 / nominalRate_;
  line_.blockTime = nowMs;
  line_.nextBlockTime = nowMs + line_.blockPeriod;
  line_.firstFrame = firstFrame;
  line_.frames = static_cast<std::uint64_t>(frames);
  locked_ = true;
  bandwidthHz_ = kStartBandwidthHz;
}

void OutputClock::blockStarted(std::uint64_t firstFrame, int frames, double nowMs) {
  if (frames <= 0) return;
  const bool follows = locked_ && firstFrame == line_.firstFrame + line_.frames &&
                       static_cast<std::uint64_t>(frames) == line_.frames;
  const double error = nowMs - line_.nextBlockTime;
  if (!follows || std::fabs(error) > kLostBlocks * line_.blockPeriod) {
    restart(firstFrame, frames, nowMs);
  } else {
    // A second-order loop: the block's time moves by part of the error, the
    // period by a smaller part, so the line follows the device's own rate.
    const double omega = 2.0 * M_PI * bandwidthHz_ * line_.blockPeriod / 1000.0;
    bandwidthHz_ = kSteadyBandwidthHz + (bandwidthHz_ - kSteadyBandwidthHz) * std::exp(-line_.blockPeriod / kNarrowingMs);
    line_.blockTime = line_.nextBlockTime;
    line_.nextBlockTime += std::sqrt(2.0) * omega * error + line_.blockPeriod;
    line_.blockPeriod += omega * omega * error;
    line_.firstFrame = firstFrame;
  }
  publish();
}

// The fields are stored with release and loaded with acquire rather than
// fenced (which the thread sanitizer cannot follow): a reader that sees any
// field of a write in progress then sees the odd count before it, so its
// second reading of the count differs from its first.
void OutputClock::publish() {
  const std::uint32_t s = sequence_.load(std::memory_order_relaxed);
  sequence_.store(s + 1, std::memory_order_relaxed);
  blockTime_.store(line_.blockTime, std::memory_order_release);
  nextBlockTime_.store(line_.nextBlockTime, std::memory_order_release);
  firstFrame_.store(line_.firstFrame, std::memory_order_release);
  frames_.store(line_.frames, std::memory_order_release);
  blockPeriod_.store(line_.blockPeriod, std::memory_order_release);
  sequence_.store(s + 2, std::memory_order_release);
}

OutputClock::Line OutputClock::read() const {
  for (;;) {
    const std::uint32_t before = sequence_.load(std::memory_order_acquire);
    Line line;
    line.blockTime = blockTime_.load(std::memory_order_acquire);
    line.nextBlockTime = nextBlockTime_.load(std::memory_order_acquire);
    line.firstFrame = firstFrame_.load(std::memory_order_acquire);
    line.frames = frames_.load(std::memory_order_acquire);
    line.blockPeriod = blockPeriod_.load(std::memory_order_acquire);
    if ((before & 1u) == 0 && sequence_.load(std::memory_order_relaxed) == before) return line;
  }
}

std::uint64_t OutputClock::frameAt(double nowMs, std::uint64_t fallback) const {
  const Line line = read();
  if (line.frames == 0) return fallback;
  const double span = line.nextBlockTime - line.blockTime;
  const double frames = static_cast<double>(line.frames);
  // Where the line puts the device now: the frame it takes at the start of
  // a callback is the first one that callback renders.
  const double onLine = span > 0.0 ? (nowMs - line.blockTime) / span * frames : 0.0;
  // Two blocks on from there: the block being rendered, and one of slack for
  // a callback that comes early or a request that comes late, so that
  // requests land on the line itself and not on the edge of what is rendered.
  double offset = onLine + 2.0 * frames;
  // Never on a frame rendered already; a device that stops taking frames
  // stops the estimate a little past the rendered ones.
  const double rendered = frames;
  if (!(offset > rendered)) offset = rendered;
  if (offset > rendered + kSlackBlocks * frames) offset = rendered + kSlackBlocks * frames;
  std::uint64_t frame = line.firstFrame + static_cast<std::uint64_t>(offset);
  if (frame < lastGiven_) frame = lastGiven_;
  lastGiven_ = frame;
  return frame;
}

double OutputClock::framesPerMs() const {
  const Line line = read();
  if (line.frames == 0 || !(line.blockPeriod > 0.0)) return 0.0;
  return static_cast<double>(line.frames) / line.blockPeriod;
}

}  // namespace platform::sound
