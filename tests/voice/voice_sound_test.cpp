// The track voice on the software mixer: what a reload leaves in the buffer.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/sound/software_sound.h"
#include "tests/sound/signal_analysis.h"
#include "tests/support/scratch_folder.h"
#include "tidewell/audio/audio_device.h"
#include "tidewell/sequencer/track.h"

namespace {

class VoiceSoundTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(device.initialise(nullptr), platform::kOk); }
  // Writes the file and names it as the track's sample.
  void name(const char* file, const std::vector<std::uint8_t>& format, const std::vector<std::uint8_t>& data) {
    ASSERT_TRUE(sound_test::writeWave(folder.file(file), format, data));
    std::snprintf(track.sampleName, sizeof track.sampleName, "%s", folder.file(file).c_str());
  }
  // A steady level, 16-bit mono at 48 kHz.
  void nameLevel(const char* file, std::size_t frames, float level) {
    name(file, sound_test::pcmFormat(1, 48000, 16), sound_test::encode(std::vector<float>(frames, level), 16, false));
  }
  std::vector<float> play(std::int32_t frequency, std::size_t frames) {
    track.frequency = frequency;
    EXPECT_EQ(track.applyFrequency(), 1);
    EXPECT_EQ(track.play(0), platform::kOk);
    std::vector<float> out(2 * frames);
    mixer->render(static_cast<int>(frames), out.data());
    return out;
  }

  testing_support::ScratchFolder folder;
  std::shared_ptr<platform::sound::Mixer> mixer = std::make_shared<platform::sound::Mixer>();
  platform::sound::SoftwareSoundSystem system{mixer};
  tidewell::AudioDevice device{&system};
  tidewell::Track track;
};

TEST_F(VoiceSoundTest, AShorterReloadPlaysTheNewSampleThenTheOldTail) {
  nameLevel("long.wav", 4000, 0.5f);
  ASSERT_EQ(track.loadSample(&device, 3), platform::kOk);
  nameLevel("short.wav", 1000, -0.25f);
  ASSERT_EQ(track.reloadSample(&device), platform::kOk);
  const auto out = play(48000, 5000);
  EXPECT_NEAR(out[2 * 500], -0.25f, 0.002);
  EXPECT_NEAR(out[2 * 2500], 0.5f, 0.002);
  EXPECT_EQ(out[2 * 4500], 0.0f);  // the first sample's length is the end
}

// Each file plays in its own format: a 24-bit stereo tone at 96 kHz after a
// 16-bit mono sample at 48 kHz comes out as the tone, not as noise.
TEST_F(VoiceSoundTest, AReloadOfAnotherFormatPlaysTheNewFileAsItIs) {
  nameLevel("mono16.wav", 4000, 0.5f);
  ASSERT_EQ(track.loadSample(&device, 3), platform::kOk);
  std::vector<float> frames;
  for (float v : sound_test::sine(1000.0, 96000.0, 19200, 0.25)) frames.insert(frames.end(), {v, v});
  name("stereo24.wav", sound_test::pcmFormat(2, 96000, 24), sound_test::encode(frames, 24, false));
  ASSERT_EQ(track.reloadSample(&device), platform::kOk);
  const auto out = play(96000, 9000);
  const sound_test::Peak peak = sound_test::analyse(out.data() + 2 * 500, 8192, 2, 48000.0);
  EXPECT_NEAR(peak.frequency, 1000.0, 48000.0 / 8192);
  EXPECT_LT(peak.strongestOtherDb, -60.0);
  EXPECT_NEAR(sound_test::peakAbs(out.data() + 2 * 500, 8000, 2), 0.25, 0.005);
}

TEST_F(VoiceSoundTest, AReloadWithAMissingFileKeepsTheOldSample) {
  nameLevel("kept.wav", 4000, 0.5f);
  ASSERT_EQ(track.loadSample(&device, 3), platform::kOk);
  std::snprintf(track.sampleName, sizeof track.sampleName, "%s", "missing/none.wav");
  track.reloadSample(&device);
  EXPECT_NEAR(play(48000, 1000)[2 * 500], 0.5f, 0.002);
}

}  // namespace
