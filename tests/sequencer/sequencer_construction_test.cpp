// The Sequencer's defaults, the tracks' construction draws and the start-up
// placement of pan and pitch.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/sequencer/sequencer_rig.h"

namespace tidewell::testing {
namespace {

// What a track built from `generator` must hold, drawn in the documented
// order: four rhythm entries (a 69 % test, then a beat), volume, fade step.
struct ExpectedTrack {
  int rhythm[4] = {0, 0, 0, 0};
  int volume = 0;
  int fadeStep = 0;
};

ExpectedTrack drawTrack(RandomGenerator& generator) {
  ExpectedTrack t;
  for (int& entry : t.rhythm) {
    if (generator.next() % 100 > 30) entry = generator.next() % 7 + 1;
  }
  t.volume = -(generator.next() % 4000);
  t.fadeStep = generator.next() % 25 + 25;
  return t;
}

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

TEST(SequencerConstruction, TwentyTracksTakeTheFirstDrawsInIndexOrder) {
  SequencerRig rig;
  RandomGenerator replay;  // a fresh generator: the start of the run
  for (int i = 0; i < kTrackCount; ++i) {
    const Track& track = rig.seq().tracks[i];
    const ExpectedTrack expected = drawTrack(replay);
    SCOPED_TRACE(i);
    for (int e = 0; e < 4; ++e) EXPECT_EQ(track.rhythm[e], expected.rhythm[e]);
    EXPECT_EQ(track.volume, expected.volume);
    EXPECT_EQ(track.fadeStep, expected.fadeStep);
    EXPECT_EQ(track.frequency, 50000);
    EXPECT_EQ(track.pan, 0);
    EXPECT_EQ(track.plotX, 0);
    EXPECT_EQ(track.plotY, 0);
    EXPECT_EQ(track.bufferCount, 1);
    EXPECT_STREQ(track.sampleName, "C.wav");
    EXPECT_TRUE(track.buffers.empty());
    EXPECT_EQ(track.waveReader, nullptr);
  }
  // Nothing else drew during construction: the process generator is exactly
  // where the replay stands.
  EXPECT_EQ(randomGenerator().next(), replay.next());
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
    RandomGenerator replay = randomGenerator();
    const int expectedFade = replay.next() % 50 + 5;
    track.renewPattern();
    ASSERT_EQ(track.frequency, 50000);
    ASSERT_EQ(track.plotX, 0);
    ASSERT_EQ(track.plotY, 0);
    ASSERT_EQ(track.fadeStep, expectedFade);  // the fade step draws before the rhythm
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

TEST(TrackPattern, FiresOnlyOnItsNonEmptyEntries) {
  SequencerRig rig;
  Track& track = rig.seq().tracks[0];
  const std::int32_t rhythm[4] = {2, 0, 4, 2};
  std::memcpy(track.rhythm, rhythm, sizeof rhythm);
  EXPECT_FALSE(track.firesOn(0));
  EXPECT_FALSE(track.firesOn(1));
  EXPECT_TRUE(track.firesOn(2));
  EXPECT_TRUE(track.firesOn(4));
  EXPECT_FALSE(track.firesOn(8));
}

class PrepareBehaviour : public ::testing::Test {
 protected:
  // Snapshot of every track's pan and pitch before the placement.
  void remember() {
    for (int i = 0; i < kTrackCount; ++i) {
      pans[i] = rig.seq().tracks[i].pan;
      frequencies[i] = rig.seq().tracks[i].frequency;
    }
  }
  void expectUntouchedFrom(int first) {
    for (int i = first; i < kTrackCount; ++i) {
      EXPECT_EQ(rig.seq().tracks[i].pan, pans[i]) << i;
      EXPECT_EQ(rig.seq().tracks[i].frequency, frequencies[i]) << i;
    }
  }
  SequencerRig rig;
  int pans[kTrackCount] = {};
  int frequencies[kTrackCount] = {};
};

TEST_F(PrepareBehaviour, TonalGivesRandomPansAndTwentyKilohertz) {
  for (int i = 0; i < kTrackCount; ++i) rig.seq().tracks[i].pan = 5;  // a value no draw restores by chance
  remember();
  RandomGenerator replay = randomGenerator();
  rig.seq().prepareBehaviour();  // behaviour 3 by default, four active tracks
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(rig.seq().tracks[i].pan, replay.next() % 20000 - 10000) << i;
    EXPECT_EQ(rig.seq().tracks[i].frequency, 20000) << i;
  }
  expectUntouchedFrom(4);
  EXPECT_EQ(randomGenerator().next(), replay.next());  // one draw per active track, no more
}

TEST_F(PrepareBehaviour, SlidingCentresAtTenKilohertzWithoutDrawing) {
  rig.seq().behaviour = 2;
  for (int i = 0; i < kTrackCount; ++i) rig.seq().tracks[i].pan = 300;
  remember();
  RandomGenerator replay = randomGenerator();
  rig.seq().prepareBehaviour();
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(rig.seq().tracks[i].pan, 0);
    EXPECT_EQ(rig.seq().tracks[i].frequency, 10000);
  }
  expectUntouchedFrom(4);
  EXPECT_EQ(randomGenerator().next(), replay.next());
}

TEST_F(PrepareBehaviour, RandomAndOthersKeepTheConstructorValues) {
  for (int behaviour : {1, 4, 5}) {
    rig.seq().behaviour = behaviour;
    rig.seq().tracks[0].pan = 1;
    remember();
    rig.seq().prepareBehaviour();
    expectUntouchedFrom(0);
  }
}

TEST_F(PrepareBehaviour, PlacementIsNotPushedToTheSound) {
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
