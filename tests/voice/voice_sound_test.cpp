// The track voice on the software mixer: what a reload leaves in the buffer.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <unistd.h>

#include "platform/sound/software_sound.h"
#include "tests/sound/signal_analysis.h"
#include "tidewell/audio/audio_device.h"
#include "tidewell/sequencer/track.h"

namespace {

class VoiceSoundTest : public ::testing::Test {
 protected:
  std::string writeLevel(const char* name, std::size_t frames, float level) {
    const std::string path = ::testing::TempDir() + std::to_string(::getpid()) + "_" + name;
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

// Each file plays in its own format: a 24-bit stereo tone at 96 kHz after a
// 16-bit mono sample at 48 kHz comes out as the tone, not as noise.
TEST_F(VoiceSoundTest, AReloadOfAnotherFormatPlaysTheNewFileAsItIs) {
  ASSERT_EQ(device.initialise(nullptr), platform::kOk);
  std::snprintf(track.sampleName, sizeof track.sampleName, "%s", writeLevel("mono16.wav", 4000, 0.5f).c_str());
  ASSERT_EQ(track.loadSample(&device, 3), platform::kOk);
  const auto tone = sound_test::sine(1000.0, 96000.0, 19200, 0.25);
  std::vector<std::uint8_t> data;
  for (float v : tone) {
    const auto s = static_cast<std::int32_t>(std::lround(v * 8388607.0));
    for (int channel = 0; channel < 2; ++channel)
      for (int i = 0; i < 3; ++i) data.push_back(static_cast<std::uint8_t>((s >> (8 * i)) & 0xFF));
  }
  const std::string path = ::testing::TempDir() + std::to_string(::getpid()) + "_stereo24.wav";
  files.push_back(path);
  ASSERT_TRUE(sound_test::writeWave(path, sound_test::pcmFormat(2, 96000, 24), data));
  std::snprintf(track.sampleName, sizeof track.sampleName, "%s", path.c_str());
  ASSERT_EQ(track.reloadSample(&device), platform::kOk);
  track.frequency = 96000;
  ASSERT_EQ(track.applyFrequency(), 1);
  ASSERT_EQ(track.play(0), platform::kOk);
  const auto out = render(9000);
  const sound_test::Peak peak = sound_test::analyse(out.data() + 2 * 500, 8192, 2, 48000.0);
  EXPECT_NEAR(peak.frequency, 1000.0, 48000.0 / 8192);
  EXPECT_LT(peak.strongestOtherDb, -60.0);
  EXPECT_NEAR(sound_test::peakAbs(out.data() + 2 * 500, 8000, 2), 0.25, 0.005);
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
  const auto out = render(300);
  EXPECT_NEAR(out[2 * 200], 0.6f, 0.003);
}

}  // namespace
