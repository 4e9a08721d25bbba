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

namespace {

using platform::sound::OutputClock;

constexpr int kRate = 48000;
constexpr int kBlock = 512;

struct DeviceCase {
  const char* name;
  double msPerBlock;  // the device's real pace
  double lateMs;      // each callback comes up to this much after its time
};

class OutputClockFollows : public ::testing::TestWithParam<DeviceCase> {};

TEST_P(OutputClockFollows, TheFramePlayingNowWithinAMillisecond) {
  const DeviceCase c = GetParam();
  OutputClock clock(kRate);
  std::mt19937 random(7);
  std::uniform_real_distribution<double> late(0.0, c.lateMs);
  std::uniform_real_distribution<double> within(0.0, 1.0);
  const double start = 123456.0;
  const double framesPerMs = kBlock / c.msPerBlock;
  double worstError = 0.0;
  std::uint64_t previous = 0;
  for (int block = 0; block < 1500; ++block) {
    const std::uint64_t first = static_cast<std::uint64_t>(block) * kBlock;
    const double due = start + block * c.msPerBlock;
    const double called = due + late(random);
    clock.blockStarted(first, kBlock, called);
    // Asked at a random moment before the next callback.
    const double nextCall = start + (block + 1) * c.msPerBlock;
    const double asked = called + within(random) * (nextCall - called);
    const std::uint64_t frame = clock.frameAt(asked, 0);
    EXPECT_GE(frame, previous) << "at block " << block;
    previous = frame;
    // Rendered so far: this block. Never behind what is rendered, never more
    // than the next block ahead of it.
    EXPECT_GE(frame, first + kBlock);
    EXPECT_LE(frame, first + 2 * kBlock);
    if (block < 300) continue;  // a few seconds to learn the rate
    // The device takes block k from its due time on, at its own pace, with
    // the block before it rendered; the estimate rides on average half the
    // callbacks' lateness behind that.
    const double truth = (asked - start - c.lateMs / 2) * framesPerMs + kBlock;
    worstError = std::max(worstError, std::fabs(static_cast<double>(frame) - truth));
  }
  EXPECT_LT(worstError, 0.6 * kRate / 1000.0 + c.lateMs / 2 * framesPerMs)
      << "frames off the device's own line";

  EXPECT_NEAR(clock.framesPerMs(), framesPerMs, framesPerMs * 0.01);  // the disk driver is 5 % fast
}

INSTANTIATE_TEST_SUITE_P(
    Devices, OutputClockFollows,
    ::testing::Values(DeviceCase{"OnTime", kBlock * 1000.0 / kRate, 0.0},
                      DeviceCase{"LateByUpToTwoMs", kBlock * 1000.0 / kRate, 2.0},
                      DeviceCase{"SleepingDiskDriver", 10.1, 0.5},     // 5 % fast
                      DeviceCase{"SlowCard", kBlock * 1000.0 / 47950.0, 1.0}),
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
  // Two seconds without a callback: no further than one block beyond what is rendered.
  EXPECT_EQ(clock.frameAt(199 * period + 2000.0, 0), rendered + kBlock);
  // The device comes back: the line starts again from the new callback.
  const double back = 199 * period + 2000.0;
  clock.blockStarted(rendered, kBlock, back);
  EXPECT_NEAR(static_cast<double>(clock.frameAt(back + period / 2, 0)), rendered + 1.5 * kBlock, 2.0);
  clock.blockStarted(rendered + kBlock, kBlock, back + period);
  EXPECT_NEAR(static_cast<double>(clock.frameAt(back + period * 1.5, 0)), rendered + 2.5 * kBlock, 2.0);
}

// The audio thread publishes while the main thread reads: every reading is
// of one whole callback's line, so it never runs past the block after the
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
    ASSERT_LE(frame, static_cast<std::uint64_t>(seen + 2) * kBlock);
    ASSERT_GE(frame, previous);
    previous = frame;
  }
  audio.join();
  EXPECT_GT(readings, 0);
}

}  // namespace
