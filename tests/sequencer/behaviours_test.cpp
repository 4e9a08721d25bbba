// The three behaviours at their limits. Each test moves the generator to a
// point where the draws the behaviour is about to take give the case wanted.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/sequencer/sequencer_rig.h"

namespace tidewell::testing {
namespace {

using platform::fake::SoundCallKind;

class Behaviours : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.provideFolder("demo1/", {"a.wav"});
    s().activeTrackCount = 1;
    s().waveform = 3;
    s().setTempo(600.0f);
    s().loadAllSamples();
    ASSERT_EQ(s().tracks[0].buffers.size(), 3u);
    rig.takePlayedTracks();
    // Full volume: no replacement (which renews rhythm and pitch) unless asked for.
    s().tracks[0].volume = 0;
  }
  Sequencer& s() { return rig.seq(); }
  Track& track() { return s().tracks[0]; }
  void fireOnNextBeat(bool fires) {
    const std::int32_t every[4] = {1, 2, 3, 4};
    const std::int32_t never[4] = {0, 0, 0, 0};
    std::memcpy(track().rhythm, fires ? every : never, sizeof every);
    s().beatsPerBar = 4;
  }
  // One beat; the buffer values the sound layer holds afterwards.
  void beat() {
    ASSERT_TRUE(rig.tickAfter(101));
  }
  const platform::fake::RecordedBuffer& bufferZero() { return *rig.sound.buffer(rig.bufferIds(0)[0]); }
  SequencerRig rig;
};

// --- "Tonal" ---

// A roll over 90 moves the pitch by a factor of 1.5, truncated, up on a
// second roll over 50, and never past 100 or 100000; "Tonal" never pans.
TEST_F(Behaviours, TonalStepsByOneAndAHalfWithinTheRange) {
  s().behaviour = 3;
  fireOnNextBeat(true);
  track().pan = -1234;
  const struct {
    int from;
    bool up;
    int to;
  } steps[] = {{50000, false, 33333}, {22222, false, 14814}, {100, false, 100}, {80000, true, 100000}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.from);
    track().frequency = step.from;
    ASSERT_TRUE(skipDrawsUntil([&](RandomGenerator g) { return g.next() % 100 > 90 && (g.next() % 100 > 50) == step.up; }));
    beat();
    EXPECT_EQ(track().frequency, step.to);
    EXPECT_EQ(bufferZero().frequency, static_cast<std::uint32_t>(step.to));
    EXPECT_EQ(track().pan, -1234);
    EXPECT_EQ(rig.takePlayedTracks(), std::vector<int>{0});
  }
}

TEST_F(Behaviours, TonalLeavesTheTrackAloneWhenTheRollMisses_AndSilentTracksDrawNothing) {
  s().behaviour = 3;
  fireOnNextBeat(true);
  track().frequency = 20000;
  ASSERT_TRUE(skipDrawsUntil([](RandomGenerator g) { return g.next() % 100 <= 90; }));
  RandomGenerator replay = randomGenerator();
  beat();
  EXPECT_EQ(track().frequency, 20000);
  replay.next();  // the missed roll
  replay.next();  // the mutation rolls
  replay.next();
  EXPECT_EQ(randomGenerator().next(), replay.next());

  fireOnNextBeat(false);
  replay = randomGenerator();
  beat();
  replay.next();
  replay.next();
  EXPECT_EQ(randomGenerator().next(), replay.next());
  EXPECT_TRUE(rig.takePlayedTracks() == std::vector<int>{0});  // only the first beat sounded
}

// --- "Sliding" ---

struct SlideCase {
  int startPan, startFrequency;
  bool movesPitch;  // roll > 50
  bool upward;
  int endPan, endFrequency;
};

class SlidingLimits : public Behaviours, public ::testing::WithParamInterface<SlideCase> {};

TEST_P(SlidingLimits, ReachTheEdgesExactly) {
  const SlideCase c = GetParam();
  s().behaviour = 2;
  fireOnNextBeat(false);  // slides whether it fires or not
  track().pan = c.startPan;
  track().frequency = c.startFrequency;
  ASSERT_TRUE(skipDrawsUntil([&](RandomGenerator g) {
    const bool pitch = g.next() % 100 > 50;
    if (pitch != c.movesPitch) return false;
    const int step = pitch ? g.next() % 2000 - 1000 : g.next() % 1000 - 500;
    return c.upward ? step >= 2 : step <= -2;
  }));
  beat();
  EXPECT_EQ(track().pan, c.endPan);
  EXPECT_EQ(track().frequency, c.endFrequency);
  if (c.movesPitch) {
    EXPECT_EQ(bufferZero().frequency, static_cast<std::uint32_t>(c.endFrequency));
  } else {
    EXPECT_EQ(bufferZero().pan, c.endPan);
  }
  EXPECT_TRUE(rig.takePlayedTracks().empty());
}

INSTANTIATE_TEST_SUITE_P(Edges, SlidingLimits,
                         ::testing::Values(SlideCase{9999, 5000, false, true, 10000, 5000},
                                           SlideCase{-9999, 5000, false, false, -10000, 5000},
                                           SlideCase{0, 99999, true, true, 0, 100000},
                                           SlideCase{0, 101, true, false, 0, 100}));

// --- "Random" ---

TEST_F(Behaviours, RandomPansStopShortOfFullRight) {
  s().behaviour = 1;
  fireOnNextBeat(true);
  // The largest pan the formula can give: a draw of 19999.
  ASSERT_TRUE(skipDrawsUntil([](RandomGenerator g) { return g.next() % 20000 == 19999; }));
  RandomGenerator replay = randomGenerator();
  replay.next();
  const int frequency = replay.next() % 99000 + 1000;
  beat();
  EXPECT_EQ(track().pan, 9999);
  EXPECT_EQ(track().frequency, frequency);
  // The fire sequence pushed all three values and placed the cross.
  EXPECT_EQ(bufferZero().pan, 9999);
  EXPECT_EQ(bufferZero().frequency, static_cast<std::uint32_t>(frequency));
  EXPECT_EQ(track().plotX, (9999 + 10000) / 50);
  EXPECT_EQ(track().plotY, static_cast<int>((frequency - 100) / 333.0));
}

TEST_F(Behaviours, RandomFireSequenceRunsInOrder) {
  s().behaviour = 1;
  fireOnNextBeat(true);
  rig.sound.clearLog();
  beat();
  std::vector<SoundCallKind> kinds;
  for (const auto& call : rig.sound.log()) {
    if (call.kind != SoundCallKind::kGetStatus && (kinds.empty() || kinds.back() != call.kind)) kinds.push_back(call.kind);
  }
  // Volume, frequency, pan on every buffer, play once, then the drift's volume.
  EXPECT_EQ(kinds, (std::vector<SoundCallKind>{SoundCallKind::kSetVolume, SoundCallKind::kSetFrequency,
                                                SoundCallKind::kSetPan, SoundCallKind::kPlay,
                                                SoundCallKind::kSetVolume}))
      << rig.sound.describeLog();
  const auto plays = rig.sound.calls(SoundCallKind::kPlay);
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0].value, 0);  // once, no looping
}

// Another output beside the voices gets each hit with the values heard.
TEST_F(Behaviours, ASecondSinkGetsEveryHitAsTheBuffersDo) {
  struct Listener : HitSink {
    std::vector<Hit> hits;
    void hit(Track&, const Hit& hit) override { hits.push_back(hit); }
  } listener;
  s().hitSinks.attach(&listener);
  s().behaviour = 1;
  fireOnNextBeat(true);
  beat();
  ASSERT_EQ(listener.hits.size(), 1u);
  EXPECT_EQ(listener.hits[0].trackIndex, 0);
  EXPECT_EQ(listener.hits[0].pan, bufferZero().pan);
  EXPECT_EQ(static_cast<std::uint32_t>(listener.hits[0].frequency), bufferZero().frequency);
  EXPECT_EQ(listener.hits[0].sampleRate, 8000u);  // the rig's files
  EXPECT_EQ(rig.takePlayedTracks(), std::vector<int>{0});
}

}  // namespace
}  // namespace tidewell::testing
