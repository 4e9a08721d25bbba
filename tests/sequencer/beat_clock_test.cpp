// The beat clock: when beats come, which beat of the bar they are, the
// capture-file clock, the volume drift with replacement and the mutation rolls.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/sequencer/sequencer_rig.h"

namespace tidewell::testing {
namespace {

// Hits are started one frame of a 60 Hz display after their beat's ideal time.
constexpr double kFrameMs = 1000.0 / 60.0;

// One loaded track playing "Random" at 600 beats a minute (100 ms a beat),
// with no volume drift unless a test asks for it.
class BeatClock : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.provideFolder("demo1/", {"a.wav", "b.wav", "c.wav"});
    s().activeTrackCount = 1;
    s().behaviour = 1;
    s().waveform = 3;
    s().setTempo(600.0f);
    s().loadAllSamples();
    ASSERT_EQ(s().tracks[0].buffers.size(), 3u);
    rig.takePlayedTracks();
    // Full volume: no replacement (which renews rhythm and pitch) unless asked for.
    s().tracks[0].volume = 0;
  }
  Sequencer& s() { return rig.seq(); }
  void setRhythm(int a, int b, int c, int d) {
    const std::int32_t rhythm[4] = {a, b, c, d};
    std::memcpy(s().tracks[0].rhythm, rhythm, sizeof rhythm);
  }
  // The beats of the bar on which track 0 sounded over `beats` beats.
  std::vector<int> soundingBeats(int beats) {
    std::vector<int> sounding;
    for (int i = 0; i < beats; ++i) {
      EXPECT_TRUE(rig.tickAfter(101));
      if (!rig.takePlayedTracks().empty()) sounding.push_back(s().beatIndex);
    }
    return sounding;
  }
  SequencerRig rig;
};

// Which beats of the bar sound: the entries of the rhythm that fall within
// the bar; a bar shortened below the beat sends the next beat to one.
TEST_F(BeatClock, TheRhythmSoundsOnItsBeatsOfTheBar) {
  const struct {
    std::int32_t rhythm[4];
    int beatsPerBar, beatIndex, beats;
    std::vector<int> sounding;
  } cases[] = {{{2, 0, 4, 7}, 4, 1, 8, {2, 4, 2, 4}},
               {{2, 0, 4, 7}, 8, 1, 16, {2, 4, 7, 2, 4, 7}},
               {{1, 0, 0, 0}, 1, 1, 3, {1, 1, 1}},
               {{1, 2, 3, 4}, 4, 6, 1, {1}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    std::memcpy(s().tracks[0].rhythm, c.rhythm, sizeof c.rhythm);
    s().beatsPerBar = c.beatsPerBar;
    s().beatIndex = c.beatIndex;
    EXPECT_EQ(soundingBeats(c.beats), c.sounding);
  }
}

TEST_F(BeatClock, AnIntervalExactlyReachedIsNoBeatYet) {
  ASSERT_EQ(s().beatInterval, 100.0f);
  EXPECT_FALSE(rig.tickAfter(60));
  EXPECT_FALSE(rig.tickAfter(40));
  EXPECT_EQ(s().beatElapsed, 100.0);
  EXPECT_EQ(s().beatIndex, 1);
  EXPECT_TRUE(rig.tickAfter(1));
}

// Where the elapsed time stands after a beat, and how late the beat's hits
// are started, for ticks coming late by less than, exactly and more than
// whole intervals. A beat that starts afresh is due at its tick, so the one
// after it comes a whole interval later.
struct LateTickCase {
  std::uint32_t tickMs;  // one tick this long after the last beat (interval 100 ms)
  double elapsedAfter;
  double lateness;
};

class LateTick : public BeatClock, public ::testing::WithParamInterface<LateTickCase> {};

TEST_P(LateTick, GivesOneBeatKeepingLessThanAnIntervalBeyondIt) {
  const LateTickCase c = GetParam();
  setRhythm(1, 2, 3, 4);
  const int bufferZero = rig.bufferIds(0)[0];
  EXPECT_TRUE(rig.tickAfter(c.tickMs));
  EXPECT_EQ(s().beatIndex, 2);  // one beat, never several
  EXPECT_DOUBLE_EQ(s().beatElapsed, c.elapsedAfter);
  EXPECT_DOUBLE_EQ(s().beatLateness(), c.lateness);
  // Started at the ideal time plus the lookahead: a start already past is
  // asked for with a delay of 0 or less, which plays at once.
  ASSERT_EQ(rig.takePlayedTracks(), (std::vector<int>{0}));
  EXPECT_DOUBLE_EQ(rig.sound.buffer(bufferZero)->startDelayMs, kFrameMs - c.lateness);
  EXPECT_FALSE(rig.tickAfter(1));
}

INSTANTIATE_TEST_SUITE_P(
    Lateness, LateTick,
    ::testing::Values(LateTickCase{101, 1, 1}, LateTickCase{117, 17, 17},
                      LateTickCase{199, 99, 99},      // just under a whole interval late: kept
                      // A whole interval late or more: afresh, the beat due at the tick.
                      LateTickCase{200, 0, 0},
                      LateTickCase{300, 0, 0},      // three intervals: one beat and a reset
                      LateTickCase{10000, 0, 0}));  // ten seconds (a suspended machine)

TEST_F(BeatClock, AlternatingFrameStepsKeepTheTempoOnAverage) {
  // 700 beats a minute (85.714 ms) under ticks of 16 and 17 ms in turn: whole
  // frames per beat would give 600 or 654; the carried remainder gives 700.
  s().setTempo(700.0f);
  int beats = 0;
  std::uint64_t elapsedMs = 0;
  for (int i = 0; i < 10000; ++i) {
    const std::uint32_t step = i % 2 == 0 ? 16 : 17;
    elapsedMs += step;
    if (rig.tickAfter(step)) ++beats;
    rig.takePlayedTracks();
  }
  const double tempo = beats * 60000.0 / static_cast<double>(elapsedMs);
  EXPECT_NEAR(tempo, 700.0, 700.0 * 0.001) << beats << " beats in " << elapsedMs << " ms";
}

// A clock that reads the fraction of a millisecond too (the fake clock reads
// whole ones through the same call).
class PreciseClock : public platform::Clock {
 public:
  std::uint32_t timeGetTime() override { return static_cast<std::uint32_t>(now); }
  double preciseTime() override { return now; }
  double now = 0.0;
};

TEST_F(BeatClock, TheFractionOfAMillisecondCountsTowardsTheBeat) {
  PreciseClock clock;
  SequencerServices services;
  services.clock = &clock;
  Sequencer precise(nullptr, services);
  precise.setTempo(600.0f);
  clock.now = 5000.25;
  precise.tick();  // the first beat: the whole reading
  ASSERT_EQ(precise.beatIndex, 2);
  EXPECT_EQ(precise.tickDelta, 5000u);
  EXPECT_EQ(precise.captureFileIndex, 1);
  clock.now = 5100.0;  // 99.75 ms: no beat yet
  precise.tick();
  EXPECT_EQ(precise.beatIndex, 2);
  EXPECT_DOUBLE_EQ(precise.beatElapsed, 99.75);
  clock.now = 5100.5;
  precise.tick();
  EXPECT_EQ(precise.beatIndex, 3);
  EXPECT_DOUBLE_EQ(precise.beatLateness(), 0.25);
  EXPECT_EQ(precise.tickTime, 5100u);
  // Across the clock's wrap the step is still the time that passed.
  clock.now = 4294967295.75;
  precise.tick();
  clock.now = 1.5;
  precise.tick();
  EXPECT_EQ(precise.tickDelta, 2u);
  EXPECT_EQ(precise.tickTime, 1u);
}

TEST_F(BeatClock, NoTempoNoBeatsWhileTheCaptureClockAndRollsGoOn) {
  setRhythm(2, 3, 4, 5);
  for (float tempo : {0.0f, -5.0f}) {
    s().setTempo(tempo);
    const int startIndex = s().captureFileIndex;
    for (int i = 0; i < 3; ++i) {
      RandomGenerator replay = randomGenerator();
      EXPECT_FALSE(rig.tickAfter(2001));
      replay.next();
      replay.next();
      EXPECT_EQ(randomGenerator().next(), replay.next()) << "two draws a tick";
    }
    EXPECT_EQ(s().beatIndex, 1);
    EXPECT_EQ(s().captureFileIndex, startIndex + 3);
    EXPECT_TRUE(rig.takePlayedTracks().empty());
  }
}

TEST_F(BeatClock, CaptureFileClockStepsAfterMoreThanTwoSecondsAndWrapsAfterTen) {
  rig.tickAfter(2000);
  EXPECT_EQ(s().captureFileIndex, 0);
  EXPECT_EQ(s().captureElapsed, 2000u);
  rig.tickAfter(1);
  EXPECT_EQ(s().captureFileIndex, 1);
  EXPECT_EQ(s().captureElapsed, 0u);  // the excess is dropped
  for (int i = 0; i < 9; ++i) rig.tickAfter(2001);
  EXPECT_EQ(s().captureFileIndex, 10);
  rig.tickAfter(2001);
  EXPECT_EQ(s().captureFileIndex, 0);
}

// The order of draws within a tick (behaviour, renewals in track order, the
// two mutation rolls even at chance 0) fixes every golden run, where
// golden_trace.py checks it against the generator.

// Replacement on the first beat, for a start volume against the floor, under
// the two silent behaviours: no hit sounds, only the drift acts.
struct FloorCase {
  int behaviour;
  int waveform;
  int startOffset;  // start volume = -2500 + startOffset * fadeStep + extra
  int extra;
  bool replaced;
};

class FloorReplacement : public BeatClock, public ::testing::WithParamInterface<FloorCase> {};

TEST_P(FloorReplacement, HappensExactlyAtOrBelowTheFloor) {
  const FloorCase c = GetParam();
  Track& track = s().tracks[0];
  s().behaviour = c.behaviour;
  s().waveform = c.waveform;
  setRhythm(1, 2, 3, 4);
  track.fadeStep = 30;
  track.volume = -2500 + c.startOffset * track.fadeStep + c.extra;
  track.frequency = 777;
  ASSERT_STREQ(track.sampleName, "demo1/a.wav");
  const int bufferZero = rig.bufferIds(0)[0];
  const std::int32_t start = track.volume;

  EXPECT_TRUE(rig.tickAfter(101));
  EXPECT_TRUE(rig.takePlayedTracks().empty());
  if (c.replaced) {
    EXPECT_STREQ(track.sampleName, "demo1/b.wav");
    EXPECT_EQ(track.volume, 0);
    EXPECT_EQ(track.frequency, 50000);
    EXPECT_GE(track.fadeStep, 5);
    EXPECT_LE(track.fadeStep, 54);
    // The floor volume was pushed; the new full volume waits for the next apply.
    EXPECT_EQ(rig.sound.buffer(bufferZero)->volume, -2500);
  } else {
    EXPECT_STREQ(track.sampleName, "demo1/a.wav");
    const int drift = c.waveform == 1 ? -30 : c.waveform == 2 ? 30 : 0;
    EXPECT_EQ(track.volume, start + drift);
    EXPECT_EQ(track.frequency, 777);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Waveforms, FloorReplacement,
    ::testing::Values(FloorCase{4, 1, 1, 0, true}, FloorCase{5, 1, 1, 1, false},
                      FloorCase{4, 1, -20, 0, true},  // below the floor: clamped, then replaced
                      FloorCase{5, 2, -1, 0, true}, FloorCase{4, 2, -1, 1, false},
                      FloorCase{4, 3, 0, 0, true}, FloorCase{5, 3, 0, 1, false},
                      FloorCase{5, 5, 0, -300, true},
                      FloorCase{4, 2, 83, 10, false}));  // from full volume up: no ceiling

// A source other than the clock decides the beats, their lateness and the
// tempo; the clock's elapsed time plays no part.
TEST_F(BeatClock, AnotherBeatSourceDecidesBeatsLatenessAndTempo) {
  struct EveryOtherTick : BeatSource {
    int ticks = 0;
    float bpm = 120.0f;
    bool beatDue(const BeatTick&) override { return ++ticks % 2 == 0; }
    double beatLateness() const override { return 5.0; }
    double beatTime() const override { return 1000.0 * ticks; }
    float tempo() const override { return bpm; }
    void setTempo(float tempo) override { bpm = tempo; }
  } source;
  struct Starts : HitSink {
    std::vector<Hit> hits;
    void hit(Track&, const Hit& hit) override { hits.push_back(hit); }
  } starts;
  s().useBeatSource(&source);
  s().hitSinks.attach(&starts);
  setRhythm(1, 2, 3, 4);
  s().setTempo(121.0f);
  EXPECT_EQ(source.bpm, 121.0f);
  EXPECT_EQ(s().tempo, 121.0f);
  for (int i = 0; i < 4; ++i) rig.tickAfter(1);  // far short of a clock interval
  ASSERT_EQ(starts.hits.size(), 2u);
  EXPECT_EQ(starts.hits[1].beatTime, 4000.0);
  EXPECT_DOUBLE_EQ(starts.hits[1].delayMs, kFrameMs - 5.0);
  EXPECT_EQ(rig.takePlayedTracks(), (std::vector<int>{0, 0}));
  source.bpm = 99.0f;  // changed by the source itself
  rig.tickAfter(1);
  EXPECT_EQ(s().tempo, 99.0f);
}

}  // namespace
}  // namespace tidewell::testing
