#include "tidewell/midi/standard_midi_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "tidewell/midi/note_scheduler.h"

namespace tidewell::midi {
namespace {

TEST(StandardMidiFile, TempoSevenHundredGivesOneFramePerTickAndTheSessionTempo) {
  const FileTiming t = fileTimingFor(700.0f);
  EXPECT_EQ(t.framesPerTick, 1u);
  // 350 session beats a minute: 8228.6 frames a beat, rounded to a multiple of 6.
  EXPECT_EQ(t.ticksPerQuarter, 8226);
  EXPECT_EQ(t.microsPerQuarter, 171375u);  // 8226 frames at 48 kHz
  EXPECT_NEAR(60e6 / t.microsPerQuarter, 350.0, 0.2);
}

TEST(StandardMidiFile, SlowTempiTakeSeveralFramesATickWithinTheFileLimits) {
  const FileTiming t = fileTimingFor(10.0f);  // 5 session beats a minute
  EXPECT_GT(t.framesPerTick, 1u);
  EXPECT_LE(t.ticksPerQuarter, 32767);
  EXPECT_LE(t.microsPerQuarter, 0xFFFFFFu);
  EXPECT_NEAR(60e6 / t.microsPerQuarter, 5.0, 0.01);
}

TEST(StandardMidiFile, OneHitGivesTheseBytes) {
  NoteScheduler notes;
  std::vector<TimedMessage> messages;
  MidiHit hit;
  hit.channel = 0;
  hit.frequency = 48000;
  hit.sampleRate = 48000;
  hit.sampleFrames = 4800;
  hit.startFrame = 8226;  // one quarter in
  notes.addHit(hit, messages);
  notes.releaseAll(1u << 30, messages);
  const std::vector<std::uint8_t> bytes = buildStandardMidiFile(fileTimingFor(700.0f), 1, messages);

  const std::vector<std::uint8_t> expected = {
      'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0x20, 0x22,  // format 1, 2 tracks, 8226 a quarter
      'M', 'T', 'r', 'k', 0, 0, 0, 23,
      0, 0xFF, 0x03, 8, 'T', 'i', 'd', 'e', 'w', 'e', 'l', 'l',
      0, 0xFF, 0x51, 3, 0x02, 0x9D, 0x6F,  // 171375 microseconds a quarter
      0, 0xFF, 0x2F, 0,
      'M', 'T', 'r', 'k', 0, 0, 0, 33,
      0, 0xFF, 0x03, 7, 'T', 'r', 'a', 'c', 'k', ' ', '1',
      0xC0, 0x22, 0xB0, 10, 64,     // 8226 ticks on: pan centre
      0, 0xE0, 0x00, 0x40,          // no bend
      0, 0x90, 60, 127,             // middle C at full level
      0xA5, 0x40, 0x80, 60, 64,     // 4800 ticks later: its end
      0, 0xFF, 0x2F, 0};
  EXPECT_EQ(bytes, expected);
}

}  // namespace
}  // namespace tidewell::midi
