#include <gtest/gtest.h>

#include "tests/demo_samples/signal_measures.h"
#include "tools/demo_samples/synth/struck_string.h"

namespace demos {
namespace {

using testing::amplitudeAt;
using testing::slice;

constexpr float kRate = 32000.0f;

TEST(StruckString, PartialsAreStretchedByStiffness) {
  EXPECT_FLOAT_EQ(partialFrequency(200.0f, 1, 0.0f), 200.0f);
  EXPECT_FLOAT_EQ(partialFrequency(200.0f, 10, 0.0f), 2000.0f);
  // A stiff string's tenth partial lies above ten times the fundamental,
  // and the stretch grows with the partial number.
  const float tenth = partialFrequency(200.0f, 10, 0.0004f);
  EXPECT_GT(tenth, 2000.0f);
  EXPECT_NEAR(tenth, 2000.0f * std::sqrt(1.04f), 0.01f);
  EXPECT_GT(partialFrequency(200.0f, 20, 0.0004f) / 20.0f, tenth / 10.0f);
}

TEST(StruckString, SoundsAtItsFundamental) {
  StruckString s;
  s.fundamentalHz = 261.63f;
  s.seconds = 1.0f;
  const Signal note = strikeString(s, kRate);
  ASSERT_EQ(note.size(), 32000u);
  const float atNote = amplitudeAt(note, 261.63f, kRate);
  EXPECT_GT(atNote, 4.0f * amplitudeAt(note, 277.18f, kRate));  // a semitone up
  EXPECT_GT(atNote, 4.0f * amplitudeAt(note, 246.94f, kRate));  // a semitone down
}

TEST(StruckString, DiesAwayNaturally) {
  StruckString s;
  s.fundamentalHz = 196.0f;
  s.seconds = 2.0f;
  const Signal note = strikeString(s, kRate);
  const float early = rmsOf(slice(note, 0, 6400));
  const float late = rmsOf(slice(note, 57600, 64000));
  EXPECT_LT(late, early / 4.0f);
  EXPECT_GT(late, 0.0f);
}

TEST(StruckString, HighPartialsDieFasterThanTheFundamental) {
  StruckString s;
  s.fundamentalHz = 220.0f;
  s.seconds = 2.0f;
  s.inharmonicity = 0.0f;  // partials at exact multiples, so the test can find them
  s.hammerLevel = 0.0f;
  s.detuneHz = 0.0f;  // no beating between the strings to blur the comparison
  const Signal note = strikeString(s, kRate);
  const Signal early = slice(note, 0, 8000), late = slice(note, 48000, 56000);
  const float fundamentalLoss = amplitudeAt(late, 220.0f, kRate) / amplitudeAt(early, 220.0f, kRate);
  const float fifthLoss = amplitudeAt(late, 1100.0f, kRate) / amplitudeAt(early, 1100.0f, kRate);
  EXPECT_LT(fifthLoss, fundamentalLoss / 2.0f);
}

TEST(StruckString, StartsWithoutAJump) {
  StruckString s;
  const Signal note = strikeString(s, kRate);
  EXPECT_NEAR(note[0], 0.0f, 1e-6f);
  EXPECT_LT(std::fabs(note[1]), 0.05f * peakOf(note));
}

}  // namespace
}  // namespace demos
