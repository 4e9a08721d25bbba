#include "tidewell/midi/midi_mapping.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tidewell::midi {
namespace {

int noteAt(std::uint32_t frequency, std::uint32_t rate) {
  return nearestNote(semitonesFromOwnRate(frequency, rate), 0.0);
}

// The sample's own rate is middle C and a doubling an octave; the lowest and
// highest playback rates are held within the note range.
TEST(MidiMapping, ThePlaybackRateAgainstTheSamplesGivesTheNote) {
  const struct {
    std::uint32_t frequency, rate;
    int note;
  } cases[] = {{48000, 48000, 60}, {96000, 48000, 72}, {24000, 48000, 48}, {22050, 22050, 60}, {100, 100, 60},
               {100, 48000, 0},      // 107 semitones down: below note 0, held there
               {100000, 48000, 73},  // 12.7 up
               {100000, 8000, 104},  // 43.7 up
               {100000, 1000, 127},  // 79.7 up: past 127, held there
               {100, 8000, 0}};      // 75.9 down
  for (const auto& c : cases) EXPECT_EQ(noteAt(c.frequency, c.rate), c.note) << c.frequency << " against " << c.rate;
}

TEST(MidiMapping, TheRemainderIsABendOfTwoSemitonesFullScale) {
  EXPECT_EQ(bendValue(0.0), 8192);
  EXPECT_EQ(bendValue(0.25), 8192 + 1024);
  EXPECT_EQ(bendValue(-0.5), 8192 - 2048);
  EXPECT_EQ(bendValue(2.0), 16383);
  EXPECT_EQ(bendValue(-2.0), 0);
  // A note a quarter tone sharp under no bend rounds to its nearest key.
  const double quarterSharp = semitonesFromOwnRate(
      static_cast<std::uint32_t>(std::lround(48000 * std::pow(2.0, 0.4 / 12))), 48000);
  EXPECT_EQ(nearestNote(quarterSharp, 0.0), 60);
  EXPECT_EQ(nearestNote(quarterSharp, 0.4), 60);
  EXPECT_EQ(nearestNote(quarterSharp, -0.4), 61);
}

TEST(MidiMapping, VelocityFollowsTheVolumeAndNeverFallsSilent) {
  EXPECT_EQ(velocityFor(0), 127);
  EXPECT_EQ(velocityFor(500), 127);  // above full level counts as full level
  EXPECT_EQ(velocityFor(-10000), 1);  // 0 would be a note-off
  // The sequencer's floor of -25 dB: 127 x 10^(-2500/4000).
  EXPECT_EQ(velocityFor(-2500), 30);
  // Half the level on a square-law synth is -6 dB: velocity 127 / sqrt 2.
  EXPECT_EQ(velocityFor(-602), 90);
  int previous = 0;
  for (int volume = -10000; volume <= 0; volume += 100) {
    EXPECT_GE(velocityFor(volume), previous) << volume;
    previous = velocityFor(volume);
  }
}

TEST(MidiMapping, PanSpansTheControllerWithItsCentreAt64) {
  EXPECT_EQ(panControllerFor(-10000), 0);
  EXPECT_EQ(panControllerFor(0), 64);
  EXPECT_EQ(panControllerFor(10000), 127);
  EXPECT_EQ(panControllerFor(-5000), 32);
  EXPECT_EQ(panControllerFor(20000), 127);
}

TEST(MidiMapping, TwentyFourClocksASessionBeatOfHalfTheTempoField) {
  // Tempo 700 shows as 350 session beats a minute: 171.43 ms a beat.
  EXPECT_NEAR(clockIntervalMs(700.0f), 60000.0 / 350 / 24, 1e-9);
  EXPECT_NEAR(clockIntervalMs(900.0f), 60000.0 / 450 / 24, 1e-9);
  EXPECT_EQ(clockIntervalMs(0.0f), 0.0);
}

}  // namespace
}  // namespace tidewell::midi
