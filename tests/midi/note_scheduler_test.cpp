#include "tidewell/midi/note_scheduler.h"

#include <gtest/gtest.h>

#include <vector>

namespace tidewell::midi {
namespace {

MidiHit hitAt(std::uint64_t frame, int channel = 0) {
  MidiHit hit;
  hit.channel = channel;
  hit.frequency = 48000;
  hit.sampleRate = 48000;
  hit.sampleFrames = 4800;  // 100 ms at its own rate
  hit.startFrame = frame;
  return hit;
}

std::vector<TimedMessage> ofStatus(const std::vector<TimedMessage>& all, std::uint8_t status) {
  std::vector<TimedMessage> found;
  for (const auto& m : all)
    if ((m.bytes[0] & 0xF0) == status) found.push_back(m);
  return found;
}

// A scheduler and the messages it has given.
struct NoteSchedulerTest : ::testing::Test {
  NoteScheduler notes;
  std::vector<TimedMessage> out;
};

TEST_F(NoteSchedulerTest, TheNoteEndsWhenTheSampleWouldAtItsPlaybackRate) {
  MidiHit fast = hitAt(1000);
  fast.frequency = 96000;  // twice its rate: 50 ms
  notes.addHit(fast, out);
  EXPECT_TRUE(ofStatus(out, 0x80).empty());
  notes.releaseUntil(1000 + 2399, out);
  EXPECT_TRUE(ofStatus(out, 0x80).empty());
  notes.releaseUntil(1000 + 2400, out);
  const auto offs = ofStatus(out, 0x80);
  ASSERT_EQ(offs.size(), 1u);
  EXPECT_EQ(offs[0].frame, 1000u + 2400u);
  EXPECT_EQ(offs[0].bytes[1], 72);
}

TEST_F(NoteSchedulerTest, EveryNoteOnHasOneNoteOffAfterItWhenTheSameKeyStrikesAgain) {
  notes.addHit(hitAt(0), out);
  notes.addHit(hitAt(1000), out);  // the first still sounds
  notes.addHit(hitAt(1000, 1), out);
  notes.releaseAll(100000, out);
  for (int channel : {0, 1}) {
    int sounding = 0;
    for (const auto& m : out) {
      if ((m.bytes[0] & 0x0F) != channel) continue;
      if ((m.bytes[0] & 0xF0) == 0x90) {
        EXPECT_EQ(sounding, 0) << "a note-on over the same key still sounding, frame " << m.frame;
        ++sounding;
      } else if ((m.bytes[0] & 0xF0) == 0x80) {
        EXPECT_EQ(sounding, 1) << "a note-off with no note, frame " << m.frame;
        --sounding;
      }
    }
    EXPECT_EQ(sounding, 0);
  }
  const auto offs = ofStatus(out, 0x80);
  ASSERT_EQ(offs.size(), 3u);
  EXPECT_EQ(offs[0].frame, 1000u);  // cut by the second strike
}

TEST_F(NoteSchedulerTest, NoteOffsComeOutInTimeOrderAcrossChannels) {
  MidiHit longer = hitAt(0, 0);
  longer.sampleFrames = 9600;
  notes.addHit(longer, out);
  notes.addHit(hitAt(100, 1), out);
  notes.releaseUntil(20000, out);
  const auto offs = ofStatus(out, 0x80);
  ASSERT_EQ(offs.size(), 2u);
  EXPECT_EQ(offs[0].frame, 4900u);
  EXPECT_EQ(offs[1].frame, 9600u);
}

TEST_F(NoteSchedulerTest, PanIsSentOnlyWhenItChanges) {
  MidiHit hit = hitAt(0);
  notes.addHit(hit, out);
  hit.startFrame = 10000;
  notes.addHit(hit, out);
  hit.startFrame = 20000;
  hit.pan = -10000;
  notes.addHit(hit, out);
  const auto pans = ofStatus(out, 0xB0);
  ASSERT_EQ(pans.size(), 2u);
  EXPECT_EQ(pans[0].bytes[1], 10);
  EXPECT_EQ(pans[0].bytes[2], 64);
  EXPECT_EQ(pans[1].bytes[2], 0);
  EXPECT_EQ(pans[1].frame, 20000u);
}

TEST_F(NoteSchedulerTest, TheBendMovesOnlyWhileTheChannelIsSilent) {
  MidiHit hit = hitAt(0);
  notes.addHit(hit, out);  // in tune: centre
  hit.startFrame = 1000;
  hit.frequency = 50000;  // 0.71 semitones up, over a sounding note
  notes.addHit(hit, out);
  auto bends = ofStatus(out, 0xE0);
  ASSERT_EQ(bends.size(), 1u);
  EXPECT_EQ(bends[0].frame, 0u);
  EXPECT_EQ(ofStatus(out, 0x90).back().bytes[1], 61);  // nearest key under no bend

  out.clear();
  hit.startFrame = 100000;  // both have ended: the channel takes a bend
  notes.addHit(hit, out);
  bends = ofStatus(out, 0xE0);
  ASSERT_EQ(bends.size(), 1u);
  const int value = bends[0].bytes[1] | bends[0].bytes[2] << 7;
  EXPECT_NEAR(value, 8192 - 0.293 / 2 * 8192, 2);  // 61 - 0.293 = 60.707
  EXPECT_EQ(ofStatus(out, 0x90).back().bytes[1], 61);
}

}  // namespace
}  // namespace tidewell::midi
