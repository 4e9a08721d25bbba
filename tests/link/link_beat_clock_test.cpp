#include "tidewell/link/link_beat_clock.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_timeline.h"

namespace tidewell::link {
namespace {

constexpr double kLookaheadMs = 1000.0 / 60.0;

struct HeardBeat {
  double timeMs;
  int indexInBar;
};

// A frame loop of about 60 frames a second (16 and 17 ms in turn) that asks
// the clock for beats and keeps the sequencer's tempo as the clock says.
class LinkBeatClockTest : public ::testing::Test {
 protected:
  LinkBeatClockTest() : timeline_(&clock_, 120.0), beats_(timeline_) {
    clock_.set(10'000);
    timeline_.enable(true, nullptr);
  }

  void start(float sequencerTempo) {
    tempo_ = sequencerTempo;
    beats_.start(tempo_);
  }

  // Runs frames until a beat is found; its time (at most a lookahead ahead).
  double playToABeat() {
    const std::size_t before = heard_.size();
    while (heard_.size() == before) play(1);
    return heard_.back().timeMs;
  }

  // Runs frames for `ms` milliseconds.
  void play(int ms) {
    for (const std::uint32_t end = clock_.now() + ms; clock_.now() < end;) {
      clock_.advance(frame_++ % 2 == 0 ? 16 : 17);
      tempo_ = beats_.followTempo();
      if (auto beat = beats_.nextBeat(clock_.now(), kLookaheadMs, beatsPerBar_)) {
        // Found at most one lookahead before it is due, and never later than
        // a frame longer than the lookahead makes it (17 ms against 16.7).
        EXPECT_GE(beat->idealTimeMs, clock_.now() - 0.4);
        EXPECT_LE(beat->idealTimeMs, clock_.now() + kLookaheadMs + 1e-6);
        heard_.push_back({beat->idealTimeMs, beat->indexInBar});
      }
    }
  }

  // Every beat heard comes `spacingMs` after the one before, the next of the bar.
  void expectEvenBeats(double spacingMs) {
    for (std::size_t i = 1; i < heard_.size(); ++i) {
      EXPECT_NEAR(heard_[i].timeMs - heard_[i - 1].timeMs, spacingMs, 0.01) << i;
      EXPECT_EQ(heard_[i].indexInBar, heard_[i - 1].indexInBar % beatsPerBar_ + 1) << i;
    }
  }

  platform::fake::FakeClock clock_;
  platform::fake::FakeTimeline timeline_;
  LinkBeatClock beats_;
  float tempo_ = 0;
  int beatsPerBar_ = 4;
  int frame_ = 0;
  std::vector<HeardBeat> heard_;
};

TEST_F(LinkBeatClockTest, TheSessionTempoIsHalfTheSequencerTempoAndItsBeatsHalfASessionBeat) {
  timeline_.joinSession(120.0, 0.0);  // found before the first beat: its tempo wins
  start(700.0f);
  play(3000);
  EXPECT_TRUE(timeline_.temposAskedFor().empty());
  EXPECT_FLOAT_EQ(tempo_, 240.0f);  // shown as 120
  ASSERT_GE(heard_.size(), 10u);
  expectEvenBeats(250.0);  // 60000 / 120 / 2

  // A key that raises the field by one asks the session for half a beat more.
  tempo_ = beats_.setTempo(tempo_ + 1.0f);
  play(100);
  EXPECT_DOUBLE_EQ(timeline_.temposAskedFor().back(), 120.5);
  EXPECT_FLOAT_EQ(tempo_, 241.0f);
}

TEST_F(LinkBeatClockTest, TheFirstBeatAfterJoiningLandsOnTheSessionsGridAndBar) {
  start(240.0f);
  play(1000);
  heard_.clear();
  // The session is now 0.3 of a beat into its sixth beat: a bar of four
  // sequencer beats spans two session beats, so the bar is at 1.3 of 2.
  timeline_.joinSession(100.0, 5.3);
  const double joinedAt = clock_.now();
  play(2000);
  ASSERT_FALSE(heard_.empty());
  // Session beat 5.5 is 0.2 beats (120 ms at 100 BPM) on, the fourth beat of
  // the bar; then the bar starts again on session beat 6.
  EXPECT_NEAR(heard_[0].timeMs - joinedAt, 120.0, 0.01);
  EXPECT_EQ(heard_[0].indexInBar, 4);
  ASSERT_GE(heard_.size(), 2u);
  EXPECT_NEAR(heard_[1].timeMs - heard_[0].timeMs, 300.0, 0.01);
  EXPECT_EQ(heard_[1].indexInBar, 1);
  EXPECT_FLOAT_EQ(tempo_, 200.0f);
}

TEST_F(LinkBeatClockTest, APeersTempoChangeMidBarRetunesWithinOneBeatWithoutBurstOrGap) {
  start(240.0f);
  beatsPerBar_ = 8;
  play(2000);
  // A change to 140 BPM, then a leap to 600: the rest of the beat in progress
  // runs at the new tempo, and every beat after it comes at that tempo, none
  // left out, none doubled.
  double from = 120.0;
  for (const double to : {140.0, 600.0}) {
    SCOPED_TRACE(to);
    const double lastBeat = playToABeat();
    heard_.clear();
    clock_.set(static_cast<std::uint32_t>(lastBeat) + 100);  // mid-beat, mid-bar
    timeline_.peerSetsTempo(to);
    const double changedAt = clock_.now();
    play(to < 200 ? 2000 : 500);
    EXPECT_FLOAT_EQ(tempo_, static_cast<float>(2 * to));
    ASSERT_GE(heard_.size(), 4u);
    EXPECT_NEAR(heard_[0].timeMs - changedAt, (lastBeat + 30000.0 / from - changedAt) * from / to, 0.01);
    expectEvenBeats(30000.0 / to);  // two sequencer beats a session beat
    from = to;
  }
}

TEST_F(LinkBeatClockTest, SessionTemposBeyondTheSequencersRangeAreClampedAndSaySo) {
  start(240.0f);
  timeline_.joinSession(999.0, 0.0);  // the fastest a session takes: 1998, within range
  play(200);
  EXPECT_FLOAT_EQ(tempo_, 1998.0f);
  EXPECT_FALSE(beats_.tempoClamped());

  timeline_.peerSetsTempo(1500.0);
  play(600);
  EXPECT_FLOAT_EQ(tempo_, 2000.0f);  // the sequencer's fastest
  EXPECT_TRUE(beats_.tempoClamped());
  heard_.clear();
  play(600);
  ASSERT_GE(heard_.size(), 10u);
  expectEvenBeats(30.0);  // 2000 beats a minute

  timeline_.peerSetsTempo(3.0);
  play(100);
  EXPECT_FLOAT_EQ(tempo_, 10.0f);  // the sequencer's slowest
  EXPECT_TRUE(beats_.tempoClamped());
}

}  // namespace
}  // namespace tidewell::link
