// A hit scheduled for an output frame starts at exactly that frame, whatever
// the size of the blocks the output is rendered in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "tests/sound/sound_fixture.h"

namespace sound_test {
namespace {

// The first frame of the left channel that is not silent; -1 if none.
long firstSoundingFrame(const std::vector<float>& out) {
  for (std::size_t i = 0; i < out.size(); i += 2) {
    if (out[i] != 0.0f) return static_cast<long>(i / 2);
  }
  return -1;
}

class ScheduledStart : public MixerTest, public ::testing::WithParamInterface<int> {
 protected:
  // Renders `total` frames in blocks of the test's size (the last one cut short).
  std::vector<float> renderInBlocks(std::size_t total) {
    std::vector<float> out;
    while (out.size() < 2 * total) {
      const std::size_t block = std::min<std::size_t>(static_cast<std::size_t>(GetParam()),
                                                      total - out.size() / 2);
      const auto part = render(block);
      out.insert(out.end(), part.begin(), part.end());
    }
    return out;
  }
};

TEST_P(ScheduledStart, AHitStartsAtItsOwnFrame) {
  auto buffer = makeMono16(std::vector<float>(480, 0.5f), 48000);
  for (const std::uint64_t start : {0u, 1u, 511u, 512u, 1000u, 4097u}) {
    SCOPED_TRACE(start);
    const std::uint64_t origin = mixer->framesRendered();
    mixer->play(0, origin + start);
    const auto out = renderInBlocks(start + 1000);
    // Nothing leaves before the limiter's look-ahead: an earlier start is as soon as that.
    EXPECT_EQ(firstSoundingFrame(out), static_cast<long>(std::max<std::uint64_t>(start, kLatency)));
    render(4096);  // let it end
  }
}

// A delay counts from the frame the output layer says is playing (here the
// frames rendered): 12.5 ms after frame 300 is frame 900. A start already
// rendered, by frame or by a delay gone by, plays as soon as it can.
TEST_P(ScheduledStart, PlayAfterCountsFromTheFramePlayingNow) {
  auto buffer = makeMono16(std::vector<float>(480, 0.5f), 48000);
  mixer->setFrameClock([this] { return mixer->framesRendered(); });
  render(300);
  ASSERT_EQ(buffer->playAfter(12.5), kOk);
  EXPECT_EQ(firstSoundingFrame(renderInBlocks(2000)), 600);
  mixer->play(0, 10);
  EXPECT_EQ(firstSoundingFrame(renderInBlocks(600)), static_cast<long>(kLatency));
  render(4096);
  ASSERT_EQ(buffer->playAfter(-30.0), kOk);
  EXPECT_EQ(firstSoundingFrame(renderInBlocks(600)), static_cast<long>(kLatency));
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, ScheduledStart, ::testing::Values(1, 7, 64, 256, 441, 512, 1024, 4096));

}  // namespace
}  // namespace sound_test
