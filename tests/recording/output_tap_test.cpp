// The mixer's output tap sees every block exactly as it leaves for the sound
// card: after the limiter and after muting.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/sound/output_tap.h"
#include "tests/sound/sound_fixture.h"

namespace {

struct CopyingTap : platform::sound::OutputTap {
  std::vector<float> seen;
  void onOutput(const float* stereo, int frames) noexcept override {
    seen.insert(seen.end(), stereo, stereo + 2 * frames);
  }
};

class OutputTapTest : public sound_test::MixerTest {
 protected:
  // Two full-scale voices: their sum would pass full scale without the limiter.
  void playLoudPair() {
    for (int i = 0; i < 2; ++i) {
      buffers_.push_back(makeMono16(std::vector<float>(48000, 1.0f), 48000));
      ASSERT_EQ(buffers_.back()->play(0, 0, 0), platform::kOk);
    }
  }
  std::vector<platform::SoundBufferRef> buffers_;
};

TEST_F(OutputTapTest, SeesEachBlockAsItLeavesAfterTheLimiter) {
  CopyingTap tap;
  mixer->setOutputTap(&tap);
  playLoudPair();
  std::vector<float> heard;
  for (std::size_t frames : {512u, 100u, 1024u}) {
    const std::vector<float> block = render(frames);
    heard.insert(heard.end(), block.begin(), block.end());
  }
  EXPECT_EQ(tap.seen, heard);
  const float peak = std::fabs(*std::max_element(heard.begin(), heard.end(),
                                                 [](float a, float b) { return std::fabs(a) < std::fabs(b); }));
  EXPECT_GT(peak, 0.5f);
  EXPECT_LE(peak, 1.0f);
}

TEST_F(OutputTapTest, SeesSilenceWhileMutedAndNothingOnceRemoved) {
  CopyingTap tap;
  mixer->setOutputTap(&tap);
  playLoudPair();
  render(2048);  // past any fade toward silence
  mixer->setMuted(true);
  render(4096);
  tap.seen.clear();
  const std::vector<float> muted = render(512);
  EXPECT_EQ(tap.seen, muted);
  EXPECT_TRUE(std::all_of(muted.begin(), muted.end(), [](float v) { return v == 0.0f; }));

  mixer->setOutputTap(nullptr);
  tap.seen.clear();
  render(512);
  EXPECT_TRUE(tap.seen.empty());
}

}  // namespace
