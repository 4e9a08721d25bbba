// The track voice against the recording fake: which calls it makes, in which
// order, and what it leaves when one of them fails.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/fake/recording_sound.h"
#include "tests/sound/signal_analysis.h"
#include "tidewell/audio/audio_device.h"
#include "tidewell/sequencer/track.h"

namespace {

using platform::fake::RecordingSoundSystem;
using platform::fake::SoundCallKind;

class TrackVoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = ::testing::TempDir() + "voice_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".wav";
    ASSERT_TRUE(sound_test::writeWave(path, sound_test::pcmFormat(1, 22050, 16),
                                      sound_test::pcm16(std::vector<float>(2205, 0.5f))));
    ASSERT_EQ(device.initialise(nullptr), platform::kOk);
    std::snprintf(track.sampleName, sizeof track.sampleName, "%s", path.c_str());
  }
  void TearDown() override { std::remove(path.c_str()); }
  int idOf(int entry) const { return RecordingSoundSystem::idOf(track.buffers[static_cast<std::size_t>(entry)]); }

  std::string path;
  RecordingSoundSystem sound;
  tidewell::AudioDevice device{&sound};
  tidewell::Track track;
};

TEST_F(TrackVoiceTest, LoadCreatesOneBufferAndDuplicatesIt) {
  sound.clearLog();
  EXPECT_EQ(track.loadSample(&device, 3), platform::kOk);
  ASSERT_EQ(track.buffers.size(), 3u);
  const auto& log = sound.log();
  ASSERT_GE(log.size(), 5u) << sound.describeLog();
  EXPECT_EQ(log[0].kind, SoundCallKind::kCreateSoundBuffer);
  EXPECT_EQ(log[0].value, 4410);
  EXPECT_EQ(log[1].kind, SoundCallKind::kLock);
  EXPECT_EQ(log[2].kind, SoundCallKind::kUnlock);
  EXPECT_EQ(log[3].kind, SoundCallKind::kDuplicateSoundBuffer);
  EXPECT_EQ(log[4].kind, SoundCallKind::kDuplicateSoundBuffer);
  EXPECT_EQ(sound.buffer(idOf(0))->flags, 0xE2u);
  EXPECT_EQ(sound.buffer(idOf(2))->data, sound.buffer(idOf(0))->data);  // one copy of the data
}

TEST_F(TrackVoiceTest, PlotPositionFollowsPanAndFrequency) {
  ASSERT_EQ(track.loadSample(&device, 3), platform::kOk);
  const std::pair<int, int> pans[] = {{-10000, 0}, {9999, 399}, {10000, 400}};
  for (auto [pan, column] : pans) {
    track.pan = pan;
    EXPECT_EQ(track.applyPan(), 1);
    EXPECT_EQ(track.plotX, column) << pan;
  }
  const std::pair<int, int> frequencies[] = {{100, 0}, {1000, 2}, {100000, 300}};
  for (auto [frequency, row] : frequencies) {
    track.frequency = frequency;
    EXPECT_EQ(track.applyFrequency(), 1);
    EXPECT_EQ(track.plotY, row) << frequency;
  }
}

TEST_F(TrackVoiceTest, AFailingSetFrequencyStopsAtThatBuffer) {
  ASSERT_EQ(track.loadSample(&device, 3), platform::kOk);
  track.frequency = 1000;
  ASSERT_EQ(track.applyFrequency(), 1);
  sound.failCall(SoundCallKind::kSetFrequency, idOf(1), platform::E_FAIL);
  track.frequency = 30000;
  EXPECT_EQ(track.applyFrequency(), platform::E_FAIL);
  EXPECT_EQ(sound.buffer(idOf(0))->frequency, 30000u);
  EXPECT_EQ(sound.buffer(idOf(1))->frequency, 1000u);
  EXPECT_EQ(sound.buffer(idOf(2))->frequency, 1000u);
  EXPECT_EQ(sound.countCalls(SoundCallKind::kSetFrequency, idOf(2)), 1);
  EXPECT_EQ(track.plotY, 2);
}

TEST_F(TrackVoiceTest, VolumeAboveFullIsRefusedAtTheFirstBuffer) {
  ASSERT_EQ(track.loadSample(&device, 3), platform::kOk);
  track.volume = -300;
  ASSERT_EQ(track.applyVolume(), 1);
  track.volume = 25;
  EXPECT_EQ(track.applyVolume(), platform::DSERR_INVALIDPARAM);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(sound.buffer(idOf(i))->volume, -300) << i;
  EXPECT_EQ(sound.countCalls(SoundCallKind::kSetVolume, idOf(1)), 1);
}

TEST_F(TrackVoiceTest, ThreeHitsOverlapAndAFourthIsDropped) {
  ASSERT_EQ(track.loadSample(&device, 3), platform::kOk);
  EXPECT_EQ(track.play(0), platform::kOk);
  EXPECT_EQ(track.play(0), platform::kOk);
  EXPECT_EQ(track.play(0), platform::kOk);
  EXPECT_EQ(track.play(0), -1);
  EXPECT_EQ(sound.countCalls(SoundCallKind::kPlay), 3);
  sound.finish(idOf(1));
  EXPECT_EQ(track.play(0), platform::kOk);
  EXPECT_EQ(sound.calls(SoundCallKind::kPlay).back().buffer, idOf(1));
}

TEST_F(TrackVoiceTest, ALostBufferIsRestoredBeforeItPlaysAndAFailedRestoreDropsTheHit) {
  ASSERT_EQ(track.loadSample(&device, 1), platform::kOk);
  sound.setLost(idOf(0));
  sound.failCall(SoundCallKind::kRestore, idOf(0), platform::DSERR_BUFFERLOST);
  EXPECT_EQ(track.play(0), -1);
  EXPECT_EQ(track.play(0), platform::kOk);
  EXPECT_EQ(sound.countCalls(SoundCallKind::kRestore), 2);
}

TEST_F(TrackVoiceTest, AFailedFirstLoadLeavesASilentTrackThatTouchesNoBuffer) {
  std::snprintf(track.sampleName, sizeof track.sampleName, "%s", "no/such/file.wav");
  sound.clearLog();
  EXPECT_EQ(track.loadSample(&device, 3), platform::DSERR_INVALIDPARAM);
  EXPECT_EQ(sound.bufferCount(), 1);  // only the primary
  EXPECT_EQ(track.play(0), -1);
  track.pan = 10000;
  track.frequency = 100000;
  EXPECT_EQ(track.applyVolume(), 1);
  EXPECT_EQ(track.applyPan(), 1);
  EXPECT_EQ(track.applyFrequency(), 1);
  EXPECT_EQ(track.plotX, 400);
  std::snprintf(track.sampleName, sizeof track.sampleName, "%s", path.c_str());
  EXPECT_EQ(track.reloadSample(&device), -1);
  EXPECT_EQ(sound.bufferCount(), 1);
  EXPECT_EQ(sound.log().size(), 1u) << sound.describeLog();
}

TEST_F(TrackVoiceTest, NoDeviceMeansASilentTrack) {
  RecordingSoundSystem none;
  none.createDeviceResult = platform::DSERR_NODRIVER;
  tidewell::AudioDevice absent(&none);
  EXPECT_EQ(absent.initialise(nullptr), platform::DSERR_NODRIVER);
  EXPECT_FALSE(absent.soundDevice);
  EXPECT_NE(track.loadSample(&absent, 3), platform::kOk);
  EXPECT_EQ(track.play(0), -1);
  EXPECT_EQ(track.applyVolume(), 1);
}

TEST_F(TrackVoiceTest, ReloadRefillsEntryZeroAndRenewsTheDuplicates) {
  ASSERT_EQ(track.loadSample(&device, 3), platform::kOk);
  const int oldCopy = idOf(1);
  ASSERT_EQ(track.play(0), platform::kOk);
  ASSERT_EQ(track.play(0), platform::kOk);
  sound.clearLog();
  EXPECT_EQ(track.reloadSample(&device), platform::kOk);
  EXPECT_EQ(sound.countCalls(SoundCallKind::kCreateSoundBuffer), 0);
  EXPECT_EQ(sound.countCalls(SoundCallKind::kLock, idOf(0)), 1);
  EXPECT_TRUE(sound.buffer(oldCopy)->released);
  EXPECT_FALSE(sound.buffer(oldCopy)->playing);
  EXPECT_NE(idOf(1), oldCopy);
  EXPECT_EQ(sound.buffer(idOf(1))->duplicateOf, idOf(0));
}

TEST_F(TrackVoiceTest, AudioDeviceStopsAtTheRefusedLevel) {
  RecordingSoundSystem refusing;
  refusing.cooperativeLevelResult = platform::DSERR_ALLOCATED;
  tidewell::AudioDevice other(&refusing);
  EXPECT_EQ(other.initialise(nullptr), platform::DSERR_ALLOCATED);
  EXPECT_TRUE(other.soundDevice);
  EXPECT_FALSE(other.primaryBuffer);
  EXPECT_FALSE(other.listener);
  EXPECT_EQ(refusing.calls(SoundCallKind::kSetCooperativeLevel).at(0).value,
            static_cast<std::int64_t>(platform::DSSCL_EXCLUSIVE));
  EXPECT_TRUE(device.listener);
  EXPECT_TRUE(sound.buffer(0)->primary);
  EXPECT_EQ(sound.buffer(0)->flags, 0x11u);
}

}  // namespace
