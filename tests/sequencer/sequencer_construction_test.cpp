// The Sequencer's defaults, the tracks' fixed start values and the start-up
// placement of pan and pitch.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/sequencer/sequencer_rig.h"

namespace tidewell::testing {
namespace {

TEST(SequencerConstruction, HasTheDefaults) {
  SequencerRig rig;
  const Sequencer& s = rig.seq();
  EXPECT_EQ(s.tempo, 900.0f);
  EXPECT_EQ(s.beatInterval, 66.666664f);
  EXPECT_EQ(s.beatsPerBar, 8);
  EXPECT_EQ(s.beatIndex, 1);
  EXPECT_EQ(s.behaviour, 3);
  EXPECT_EQ(s.activeTrackCount, 4);
  EXPECT_EQ(s.inputFormat, 1);
  EXPECT_EQ(s.waveform, 1);
  EXPECT_EQ(s.paletteChangeChance, 20);
  EXPECT_EQ(s.behaviourMutation, 0);
  EXPECT_EQ(s.timeSignatureMutation, 0);
  EXPECT_EQ(s.waveformMutation, 0);
  EXPECT_EQ(s.pitchStep, 1.5f);
  EXPECT_EQ(s.captureFileIndex, 0);
  EXPECT_EQ(s.lastTickTime, 0u);
  EXPECT_EQ(s.searchHandle, platform::kNoSearch);
  EXPECT_STREQ(s.folder, "");
  ASSERT_NE(s.audioDevice, nullptr);
  // The device was opened on the sound layer it was given.
  EXPECT_NE(s.audioDevice->soundDevice, nullptr);
}

TEST(SequencerConstruction, IsBuiltEvenWhenNoSoundDeviceOpens) {
  randomGenerator().reset();
  platform::fake::RecordingSoundSystem sound;
  sound.createDeviceResult = platform::DSERR_NODRIVER;
  platform::fake::FakeClock clock;
  Sequencer s(nullptr, SequencerServices{&sound, &clock, nullptr});
  ASSERT_NE(s.audioDevice, nullptr);
  EXPECT_EQ(s.audioDevice->soundDevice, nullptr);
  EXPECT_EQ(s.beatInterval, 66.666664f);
}

// The tracks' draws (rhythm, volume, fade step, in index order) fix every
// golden run, where golden_trace.py checks them; the rest is fixed.
TEST(SequencerConstruction, TwentyTracksStartAtFullPitchCentredOnTheFallbackSample) {
  SequencerRig rig;
  for (const Track& track : rig.seq().tracks) {
    EXPECT_EQ(track.frequency, 50000);
    EXPECT_EQ(track.pan, 0);
    EXPECT_EQ(track.plotX, 0);
    EXPECT_EQ(track.plotY, 0);
    EXPECT_EQ(track.bufferCount, 1);
    EXPECT_STREQ(track.sampleName, "C.wav");
    EXPECT_TRUE(track.buffers.empty());
    EXPECT_EQ(track.waveReader, nullptr);
  }
}

TEST(TrackPattern, RenewGivesFullPitchOriginAndAWiderFadeStep) {
  SequencerRig rig;
  Track& track = rig.seq().tracks[0];
  track.frequency = 1234;
  track.pan = 777;
  track.volume = 0;
  track.plotX = 12;
  track.plotY = 34;
  std::strcpy(track.sampleName, "demo1/a.wav");
  bool sawBelowConstructorRange = false;
  bool sawAboveConstructorRange = false;
  for (int i = 0; i < 400; ++i) {
    track.renewPattern();
    ASSERT_EQ(track.frequency, 50000);
    ASSERT_EQ(track.plotX, 0);
    ASSERT_EQ(track.plotY, 0);
    ASSERT_GE(track.fadeStep, 5);
    ASSERT_LE(track.fadeStep, 54);
    sawBelowConstructorRange |= track.fadeStep < 25;
    sawAboveConstructorRange |= track.fadeStep > 49;
    for (int entry : track.rhythm) {
      ASSERT_GE(entry, 0);
      ASSERT_LE(entry, 7);
    }
  }
  EXPECT_TRUE(sawBelowConstructorRange);
  EXPECT_TRUE(sawAboveConstructorRange);
  // Untouched by the renewal.
  EXPECT_EQ(track.pan, 777);
  EXPECT_EQ(track.volume, 0);
  EXPECT_STREQ(track.sampleName, "demo1/a.wav");
}

// "Tonal" and "Sliding" placements are checked by the golden runs (their
// pans and pitches, and the one draw per active track of "Tonal").
TEST(PrepareBehaviour, RandomAndOthersKeepTheConstructorValues) {
  for (int behaviour : {1, 4, 5}) {
    SequencerRig rig;
    rig.seq().behaviour = behaviour;
    rig.seq().tracks[0].pan = 1;
    rig.seq().prepareBehaviour();
    for (int i = 0; i < kTrackCount; ++i) {
      EXPECT_EQ(rig.seq().tracks[i].pan, i == 0 ? 1 : 0) << i;
      EXPECT_EQ(rig.seq().tracks[i].frequency, 50000) << i;
    }
  }
}

TEST(PrepareBehaviour, PlacementIsNotPushedToTheSound) {
  SequencerRig rig;
  rig.seq().activeTrackCount = 1;
  rig.provideFolder("demo1/", {"a.wav"});
  rig.seq().loadAllSamples();
  ASSERT_EQ(rig.seq().tracks[0].buffers.size(), 3u);
  rig.sound.clearLog();
  rig.seq().prepareBehaviour();
  EXPECT_TRUE(rig.sound.log().empty()) << rig.sound.describeLog();
  EXPECT_EQ(rig.seq().tracks[0].plotX, 0);
  EXPECT_EQ(rig.seq().tracks[0].plotY, 0);
}

}  // namespace
}  // namespace tidewell::testing
