// The track voice against the recording fake: which calls it makes, in which
// order, and what it leaves when one of them fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/fake/recording_sound.h"
#include "tests/sound/signal_analysis.h"
#include "tests/support/scratch_folder.h"
#include "tidewell/audio/audio_device.h"
#include "tidewell/sequencer/track.h"

namespace {

using platform::fake::RecordingSoundSystem;
using platform::fake::SoundCallKind;

class TrackVoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sound_test::writeWave(path, sound_test::pcmFormat(1, 22050, 16),
                                      sound_test::encode(std::vector<float>(2205, 0.5f), 16, false)));
    ASSERT_EQ(device.initialise(nullptr), platform::kOk);
    std::snprintf(track.sampleName, sizeof track.sampleName, "%s", path.c_str());
  }
  int idOf(int entry) const { return RecordingSoundSystem::idOf(track.buffers[static_cast<std::size_t>(entry)]); }

  testing_support::ScratchFolder folder;
  const std::string path = folder.file("voice.wav");
  RecordingSoundSystem sound;
  tidewell::AudioDevice device{&sound};
  tidewell::Track track;
};

TEST_F(TrackVoiceTest, LoadCreatesOneBufferAndDuplicatesIt) {
  sound.clearLog();
  EXPECT_EQ(track.loadSample(&device, 3), platform::kOk);
  ASSERT_EQ(track.buffers.size(), 3u);
  std::vector<SoundCallKind> kinds;
  for (const auto& call : sound.log()) kinds.push_back(call.kind);
  kinds.resize(std::min<std::size_t>(kinds.size(), 5));
  ASSERT_EQ(kinds, (std::vector<SoundCallKind>{SoundCallKind::kCreateSoundBuffer, SoundCallKind::kLock,
                                               SoundCallKind::kUnlock, SoundCallKind::kDuplicateSoundBuffer,
                                               SoundCallKind::kDuplicateSoundBuffer})) << sound.describeLog();
  EXPECT_EQ(sound.log()[0].value, 4410);
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

// The first refusal ends an apply call: the buffers after it keep their
// value and are not asked, and the plot position stays.
TEST_F(TrackVoiceTest, TheFirstRefusalEndsAnApplyCall) {
  ASSERT_EQ(track.loadSample(&device, 3), platform::kOk);
  track.frequency = 1000;
  track.volume = -300;
  ASSERT_EQ(track.applyFrequency(), 1);
  ASSERT_EQ(track.applyVolume(), 1);
  sound.failCall(SoundCallKind::kSetFrequency, idOf(1), platform::E_FAIL);
  track.frequency = 30000;
  EXPECT_EQ(track.applyFrequency(), platform::E_FAIL);
  EXPECT_EQ(sound.buffer(idOf(0))->frequency, 30000u);
  EXPECT_EQ(sound.buffer(idOf(1))->frequency, 1000u);
  EXPECT_EQ(sound.buffer(idOf(2))->frequency, 1000u);
  EXPECT_EQ(sound.countCalls(SoundCallKind::kSetFrequency, idOf(2)), 1);
  EXPECT_EQ(track.plotY, 2);
  track.volume = 25;  // above full: the first buffer refuses it
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

// A capture run names files that do not exist yet: the first load fails,
// and the first reload that finds a file loads it in full.
TEST_F(TrackVoiceTest, AFailedFirstLoadIsSilentAndTheNextReloadLoadsAfresh) {
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
  EXPECT_EQ(track.reloadSample(&device), platform::DSERR_INVALIDPARAM) << "still no file";
  EXPECT_EQ(sound.bufferCount(), 1);

  std::snprintf(track.sampleName, sizeof track.sampleName, "%s", path.c_str());
  sound.clearLog();
  EXPECT_EQ(track.reloadSample(&device), platform::kOk);
  ASSERT_EQ(track.buffers.size(), 3u);
  EXPECT_EQ(sound.countCalls(SoundCallKind::kCreateSoundBuffer), 1) << sound.describeLog();
  EXPECT_EQ(sound.countCalls(SoundCallKind::kDuplicateSoundBuffer), 2);
  EXPECT_EQ(track.play(0), platform::kOk);
}

// A file of another format gets buffers of its own; one of the same format
// is refilled in place.
TEST_F(TrackVoiceTest, AReloadOfAnotherFormatMakesNewBuffers) {
  ASSERT_EQ(track.loadSample(&device, 3), platform::kOk);
  const int oldFirst = idOf(0);
  const std::string other = folder.file("stereo8.wav");
  ASSERT_TRUE(sound_test::writeWave(other, sound_test::pcmFormat(2, 44100, 8), std::vector<std::uint8_t>(1000, 0x90)));
  std::snprintf(track.sampleName, sizeof track.sampleName, "%s", other.c_str());
  sound.clearLog();
  EXPECT_EQ(track.reloadSample(&device), platform::kOk);
  EXPECT_EQ(sound.countCalls(SoundCallKind::kCreateSoundBuffer), 1) << sound.describeLog();
  EXPECT_TRUE(sound.buffer(oldFirst)->released);
  const auto* first = sound.buffer(idOf(0));
  const auto* format = reinterpret_cast<const platform::WaveFormatEx*>(first->format.data());
  EXPECT_EQ(format->channels, 2u);
  EXPECT_EQ(format->samplesPerSec, 44100u);
  EXPECT_EQ(format->bitsPerSample, 8u);
  EXPECT_EQ(*first->data, std::vector<std::uint8_t>(1000, 0x90));
  EXPECT_EQ(sound.buffer(idOf(2))->duplicateOf, idOf(0));
}

// The buffer holds what the file holds: a data chunk claiming more than the
// file gives only the bytes present, and a partial last frame is left out.
TEST_F(TrackVoiceTest, BuffersAreSizedByWholeFramesTheFileHolds) {
  struct Case { std::size_t present; std::uint32_t claimed; std::int64_t expected; };
  const Case cases[] = {{100, 0x0FFFFF00u, 100}, {102, 102, 100}, {1000, 1000, 1000}, {2, 0xFFFFFFFFu, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.present);
    std::vector<std::uint8_t> bytes(c.present);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
    using namespace testing_support;
    ASSERT_TRUE(writeFile(path, riffFile({chunk("fmt ", formatBlock(1, 2, 8000, 16)), chunk("data", bytes, c.claimed)})));
    tidewell::Track fresh;
    std::snprintf(fresh.sampleName, sizeof fresh.sampleName, "%s", path.c_str());
    sound.clearLog();
    const platform::HResult result = fresh.loadSample(&device, 3);
    const auto creates = sound.calls(SoundCallKind::kCreateSoundBuffer);
    ASSERT_EQ(creates.size(), 1u);
    EXPECT_EQ(creates[0].value, c.expected);
    if (c.expected == 0) {
      EXPECT_NE(result, platform::kOk);
      continue;
    }
    ASSERT_EQ(result, platform::kOk);
    const auto& data = *sound.buffer(RecordingSoundSystem::idOf(fresh.buffers[0]))->data;
    EXPECT_TRUE(std::equal(data.begin(), data.end(), bytes.begin()));
  }
}

// A failing step stops the load or reload with its result, and the track is
// left so that the next reload, with nothing failing, plays the new file.
TEST_F(TrackVoiceTest, AFailingStepStopsTheLoadAndTheNextReloadRecovers) {
  const std::string other = folder.file("other.wav");
  ASSERT_TRUE(sound_test::writeWave(other, sound_test::pcmFormat(1, 8000, 8), std::vector<std::uint8_t>(800, 0xA0)));
  enum class Phase { kLoad, kReloadSameFormat, kReloadOtherFormat };
  const SoundCallKind kinds[] = {SoundCallKind::kCreateSoundBuffer, SoundCallKind::kLock, SoundCallKind::kUnlock,
                                 SoundCallKind::kDuplicateSoundBuffer};
  for (Phase phase : {Phase::kLoad, Phase::kReloadSameFormat, Phase::kReloadOtherFormat}) {
    for (SoundCallKind kind : kinds) {
      // A reload into buffers of the same format creates nothing.
      if (phase == Phase::kReloadSameFormat && kind == SoundCallKind::kCreateSoundBuffer) continue;
      SCOPED_TRACE(std::string(platform::fake::soundCallName(kind)) + " in phase " +
                   std::to_string(static_cast<int>(phase)));
      tidewell::Track fresh;
      std::snprintf(fresh.sampleName, sizeof fresh.sampleName, "%s", path.c_str());
      if (phase != Phase::kLoad) {
        ASSERT_EQ(fresh.loadSample(&device, 3), platform::kOk);
      }
      if (phase == Phase::kReloadOtherFormat)
        std::snprintf(fresh.sampleName, sizeof fresh.sampleName, "%s", other.c_str());
      // Both duplicates fail, so the last duplication's result is a failure.
      sound.failCall(kind, -1, platform::E_FAIL, kind == SoundCallKind::kDuplicateSoundBuffer ? 2 : 1);
      const platform::HResult result = phase == Phase::kLoad ? fresh.loadSample(&device, 3) : fresh.reloadSample(&device);
      EXPECT_EQ(result, platform::E_FAIL) << sound.describeLog();
      sound.clearLog();

      std::snprintf(fresh.sampleName, sizeof fresh.sampleName, "%s", other.c_str());
      ASSERT_EQ(fresh.reloadSample(&device), platform::kOk) << sound.describeLog();
      ASSERT_EQ(fresh.play(0), platform::kOk);
      const auto* playing = sound.buffer(sound.calls(SoundCallKind::kPlay).back().buffer);
      EXPECT_EQ(*playing->data, std::vector<std::uint8_t>(800, 0xA0));
      EXPECT_EQ(playing->format.size(), 18u);
    }
  }
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
