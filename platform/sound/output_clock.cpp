#include "platform/sound/output_clock.h"

#include <chrono>
#include <cmath>

namespace platform::sound {
namespace {

// Loop bandwidth: about a second to follow a change of the device's pace
// (the disk driver's pace wanders with the machine's load), while one late
// callback moves the line by a tenth of its lateness. A sound server that
// asks for two blocks at a time sends callbacks in pairs; a wider loop
// followed each pair and put hits a millisecond or more off their beat.
constexpr double kBandwidthHz = 1.0;
// A callback this many blocks away from where the line expects it (a device
// that stalled or restarted) starts the line afresh.
constexpr double kLostBlocks = 4.0;

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
    const double omega = 2.0 * M_PI * kBandwidthHz * line_.blockPeriod / 1000.0;
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
  double offset = span > 0.0 ? (nowMs - line.blockTime) / span * frames : 0.0;
  // From the first frame the callback has not rendered yet, at most one block
  // on: a device that stops taking frames stops the estimate there.
  if (!(offset > 0.0)) offset = 0.0;
  if (offset > frames) offset = frames;
  std::uint64_t frame = line.firstFrame + line.frames + static_cast<std::uint64_t>(offset);
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
