// The output clock's estimate of the frame playing now, fed with callback
// times as a device would give them: on time, late by a random amount, from
// a device running faster than its nominal rate, and one that stalls.
#include "platform/sound/output_clock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <random>
#include <thread>
#include <vector>

namespace {

using platform::sound::OutputClock;

constexpr int kRate = 48000;
constexpr int kBlock = 512;

struct DeviceCase {
  const char* name;
  double msPerBlock;  // the device's real pace
  double lateMs;      // each callback comes up to this much after its time
  double timerMs;     // a server that wakes its clients on a timer of this period (0: none)
};

class OutputClockFollows : public ::testing::TestWithParam<DeviceCase> {};

// Beats asked for every 85.714 ms (a tempo of 700) by a frame loop that
// comes up to one 60 Hz frame after each beat's time, with a start that
// much later: the hits land on frames as evenly spaced as the beats, each
// well within a millisecond, on a device that keeps its own pace whatever
// its callbacks do. What the clock names is never a rendered frame, and
// never goes back.
TEST_P(OutputClockFollows, BeatsAskedForEvenlyLandEvenly) {
  const DeviceCase c = GetParam();
  OutputClock clock(kRate);
  std::mt19937 random(7);
  std::uniform_real_distribution<double> late(0.0, c.lateMs);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const double start = 123456.0;
  const double beatMs = 60000.0 / 700.0;
  const double frameLoopMs = 1000.0 / 60.0;
  std::vector<double> hitFrames;
  double beat = start + 3000.0;  // a few seconds to learn the pace
  double tick = beat + unit(random) * frameLoopMs;
  std::uint64_t previous = 0;
  for (int block = 0; block < 3000 && hitFrames.size() < 200; ++block) {
    const std::uint64_t first = static_cast<std::uint64_t>(block) * kBlock;
    double called = start + block * c.msPerBlock + late(random);
    if (c.timerMs > 0.0) called = std::ceil(called / c.timerMs) * c.timerMs;
    // The frame loop's requests up to this callback, in time order.
    for (; tick < called && hitFrames.size() < 200; tick = beat + unit(random) * frameLoopMs) {
      const double startsIn = beat + frameLoopMs - tick;
      hitFrames.push_back(static_cast<double>(clock.frameAt(tick, 0)) + startsIn * kRate / 1000.0);
      beat += beatMs;
    }
    clock.blockStarted(first, kBlock, called);
    const double asked = called + unit(random) * c.msPerBlock / 2;
    if (asked < tick) {
      const std::uint64_t frame = clock.frameAt(asked, 0);
      ASSERT_GE(frame, previous) << "at block " << block;
      ASSERT_GE(frame, first + kBlock) << "a rendered frame at block " << block;
      previous = frame;
    }
  }
  ASSERT_EQ(hitFrames.size(), 200u);
  // The straight line through the hits, and each hit's distance from it.
  const double n = static_cast<double>(hitFrames.size());
  double sumK = 0, sumF = 0, sumKK = 0, sumKF = 0;
  for (std::size_t k = 0; k < hitFrames.size(); ++k) {
    sumK += k, sumF += hitFrames[k], sumKK += double(k) * k, sumKF += k * hitFrames[k];
  }
  const double slope = (n * sumKF - sumK * sumF) / (n * sumKK - sumK * sumK);
  const double offset = (sumF - slope * sumK) / n;
  double worstMs = 0.0;
  for (std::size_t k = 0; k < hitFrames.size(); ++k) {
    worstMs = std::max(worstMs, std::fabs(hitFrames[k] - offset - slope * k) * c.msPerBlock / kBlock);
  }
  EXPECT_LT(worstMs, 0.6) << "hits off their even spacing";
  // The spacing is the beat at the device's own pace.
  EXPECT_NEAR(slope, beatMs * kBlock / c.msPerBlock, 0.001 * slope);
  EXPECT_NEAR(clock.framesPerMs(), kBlock / c.msPerBlock, kBlock / c.msPerBlock * 0.01);
}

constexpr double kBlockMs = kBlock * 1000.0 / kRate;

INSTANTIATE_TEST_SUITE_P(
    Devices, OutputClockFollows,
    ::testing::Values(DeviceCase{"OnTime", kBlockMs, 0.0, 0.0},
                      DeviceCase{"LateByUpToTwoMs", kBlockMs, 2.0, 0.0},
                      DeviceCase{"SleepingDiskDriver", 10.1, 0.5, 0.0},  // 5 % fast
                      DeviceCase{"SlowCard", kBlock * 1000.0 / 47950.0, 1.0, 0.0},
                      // A sound server that wakes its clients every 5 ms (callbacks 10,
                      // 10, 15, 5 ms apart) or every 10 ms (10, 10, 20, 0).
                      DeviceCase{"ServerTimer", kBlockMs, 0.5, 5.0},
                      DeviceCase{"SlowServerTimer", kBlockMs, 0.5, 10.0}),
    [](const ::testing::TestParamInfo<DeviceCase>& info) { return std::string(info.param.name); });

TEST(OutputClock, BeforeTheFirstCallbackGivesTheFallback) {
  OutputClock clock(kRate);
  EXPECT_EQ(clock.frameAt(1000.0, 77), 77u);
  EXPECT_EQ(clock.framesPerMs(), 0.0);
}

TEST(OutputClock, AStalledDeviceStopsTheEstimateAndItStartsAfreshAfter) {
  OutputClock clock(kRate);
  const double period = kBlock * 1000.0 / kRate;
  for (int block = 0; block < 200; ++block) clock.blockStarted(block * kBlock, kBlock, block * period);
  const std::uint64_t rendered = 200u * kBlock;
  // Two seconds without a callback: a few blocks past what is rendered at most.
  const std::uint64_t stalled = clock.frameAt(199 * period + 2000.0, 0);
  EXPECT_LE(stalled, rendered + 4 * kBlock);
  EXPECT_EQ(clock.frameAt(199 * period + 4000.0, 0), stalled);
  // The device comes back: the line starts again from the new callback and
  // moves a block a period from there.
  const double back = 199 * period + 2000.0;
  clock.blockStarted(rendered, kBlock, back);
  clock.blockStarted(rendered + kBlock, kBlock, back + period);
  const double once = static_cast<double>(clock.frameAt(back + period * 1.5, 0));
  clock.blockStarted(rendered + 2 * kBlock, kBlock, back + 2 * period);
  EXPECT_NEAR(static_cast<double>(clock.frameAt(back + period * 2.5, 0)) - once, kBlock, 2.0);
}

// The audio thread publishes while the main thread reads: every reading is
// of one whole callback's line, so it never runs more than three blocks past the
// frames rendered by then, and never goes back.
TEST(OutputClock, ReadingWhileACallbackPublishesSeesOneWholeLine) {
  OutputClock clock(kRate);
  const double period = kBlock * 1000.0 / kRate;
  constexpr int kBlocks = 20000;
  std::atomic<int> published{0};
  std::thread audio([&] {
    for (int block = 0; block < kBlocks; ++block) {
      clock.blockStarted(static_cast<std::uint64_t>(block) * kBlock, kBlock, block * period);
      published.store(block + 1, std::memory_order_release);
    }
  });
  std::uint64_t previous = 0;
  int readings = 0;
  for (int seen = 0; seen < kBlocks; ++readings) {
    const std::uint64_t frame = clock.frameAt((seen + 0.5) * period, 0);
    // A line read is of a block whose count was already published.
    seen = published.load(std::memory_order_acquire);
    ASSERT_LE(frame, static_cast<std::uint64_t>(seen + 3) * kBlock);
    ASSERT_GE(frame, previous);
    previous = frame;
  }
  audio.join();
  EXPECT_GT(readings, 0);
}

}  // namespace
