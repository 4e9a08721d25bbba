#pragma once
// Which output frame the sound device is playing at a given moment, as a
// smooth line through the times of the audio callbacks rather than the count
// of rendered frames, which moves a whole block at a time.
//
//   OutputClock clock(48000);
//   // audio thread, as each callback starts:
//   clock.blockStarted(mixer.framesRendered(), frames, outputClockNowMs());
//   // main thread:
//   std::uint64_t playing = clock.frameAt(outputClockNowMs(), mixer.framesRendered());
//
// A delay-locked loop follows the callbacks: it learns the device's real
// rate (a device whose clock runs fast or slow, a driver that sleeps whole
// milliseconds) and averages out the jitter of each callback's start. A
// sound server wakes its clients on its own timer, so callbacks come a few
// milliseconds early or late by turns; the estimate follows the loop's
// smooth line, standing two blocks ahead of it (the block being rendered and
// one of slack), so hits asked for at even times land on evenly spaced
// frames whatever the callbacks do.
//
// blockStarted runs on the audio thread and never waits; frameAt may run on
// any one other thread, retrying while a callback publishes.
#include <atomic>
#include <cstdint>

namespace platform::sound {

// Milliseconds of the steady clock, with their fraction.
double outputClockNowMs();

class OutputClock {
 public:
  explicit OutputClock(int nominalRate);

  // The callback that renders `frames` frames from `firstFrame` began at `nowMs`.
  void blockStarted(std::uint64_t firstFrame, int frames, double nowMs);

  // The first frame a sound asked for at `nowMs` can start on; `fallback`
  // until the first callback. It never goes back between calls, never names
  // a rendered frame, and stops a few blocks past them if the callbacks stop.
  std::uint64_t frameAt(double nowMs, std::uint64_t fallback) const;

  // The device's frames per millisecond as learnt so far (0 before the first callback).
  double framesPerMs() const;

 private:
  struct Line {
    double blockTime = 0.0;      // when the current block started to play
    double nextBlockTime = 0.0;  // when the next one will
    std::uint64_t firstFrame = 0;
    std::uint64_t frames = 0;
    double blockPeriod = 0.0;    // learnt milliseconds per block
  };
  void restart(std::uint64_t firstFrame, int frames, double nowMs);
  void publish();
  Line read() const;

  const int nominalRate_;
  // The loop's state: audio thread only.
  Line line_;
  bool locked_ = false;
  double bandwidthHz_ = 0.0;
  // What the main thread reads, under a sequence count that is odd while a
  // callback writes.
  std::atomic<std::uint32_t> sequence_{0};
  std::atomic<double> blockTime_{0.0};
  std::atomic<double> nextBlockTime_{0.0};
  std::atomic<std::uint64_t> firstFrame_{0};
  std::atomic<std::uint64_t> frames_{0};
  std::atomic<double> blockPeriod_{0.0};
  mutable std::uint64_t lastGiven_ = 0;
};

}  // namespace platform::sound
