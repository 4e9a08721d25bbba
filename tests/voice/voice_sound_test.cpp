// The track voice on the software mixer: what a reload leaves in the buffer.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/sound/software_sound.h"
#include "tests/sound/signal_analysis.h"
#include "tidewell/audio/audio_device.h"
#include "tidewell/sequencer/track.h"

namespace {

class VoiceSoundTest : public ::testing::Test {
 protected:
  std::string writeLevel(const char* name, std::size_t frames, float level) {
    const std::string path = ::testing::TempDir() + name;
    EXPECT_TRUE(sound_test::writeWave(path, sound_test::pcmFormat(1, 48000, 16),
                                      sound_test::pcm16(std::vector<float>(frames, level))));
    files.push_back(path);
    return path;
  }
  void TearDown() override {
    for (const auto& f : files) std::remove(f.c_str());
  }
  std::vector<float> render(std::size_t frames) {
    std::vector<float> out(2 * frames);
    mixer->render(static_cast<int>(frames), out.data());
    return out;
  }

  std::vector<std::string> files;
  std::shared_ptr<platform::sound::Mixer> mixer = std::make_shared<platform::sound::Mixer>();
  platform::sound::SoftwareSoundSystem system{mixer};
  tidewell::AudioDevice device{&system};
  tidewell::Track track;
};

TEST_F(VoiceSoundTest, AShorterReloadPlaysTheNewSampleThenTheOldTail) {
  ASSERT_EQ(device.initialise(nullptr), platform::kOk);
  std::snprintf(track.sampleName, sizeof track.sampleName, "%s", writeLevel("long.wav", 4000, 0.5f).c_str());
  ASSERT_EQ(track.loadSample(&device, 3), platform::kOk);
  std::snprintf(track.sampleName, sizeof track.sampleName, "%s", writeLevel("short.wav", 1000, -0.25f).c_str());
  ASSERT_EQ(track.reloadSample(&device), platform::kOk);
  track.frequency = 48000;
  ASSERT_EQ(track.applyFrequency(), 1);
  ASSERT_EQ(track.play(0), platform::kOk);
  const auto out = render(5000);
  EXPECT_NEAR(out[2 * 500], -0.25f, 0.002);
  EXPECT_NEAR(out[2 * 2500], 0.5f, 0.002);
  EXPECT_EQ(out[2 * 4500], 0.0f);  // the first sample's length is the end
}

TEST_F(VoiceSoundTest, AReloadWithAMissingFileKeepsTheOldSample) {
  ASSERT_EQ(device.initialise(nullptr), platform::kOk);
  std::snprintf(track.sampleName, sizeof track.sampleName, "%s", writeLevel("kept.wav", 4000, 0.5f).c_str());
  ASSERT_EQ(track.loadSample(&device, 3), platform::kOk);
  std::snprintf(track.sampleName, sizeof track.sampleName, "%s", "missing/none.wav");
  track.reloadSample(&device);
  ASSERT_EQ(track.play(0), platform::kOk);
  const auto out = render(1000);
  EXPECT_NEAR(out[2 * 500], 0.5f, 0.002);
}

TEST_F(VoiceSoundTest, ThreeOverlappingHitsSoundTogetherAndAFourthIsDropped) {
  ASSERT_EQ(device.initialise(nullptr), platform::kOk);
  std::snprintf(track.sampleName, sizeof track.sampleName, "%s", writeLevel("hit.wav", 4000, 0.2f).c_str());
  ASSERT_EQ(track.loadSample(&device, 3), platform::kOk);
  ASSERT_EQ(track.play(0), platform::kOk);
  render(100);
  ASSERT_EQ(track.play(0), platform::kOk);
  render(100);
  ASSERT_EQ(track.play(0), platform::kOk);
  EXPECT_EQ(track.play(0), -1);
  const auto out = render(100);
  EXPECT_NEAR(out[2 * 50], 0.6f, 0.003);
}

}  // namespace
