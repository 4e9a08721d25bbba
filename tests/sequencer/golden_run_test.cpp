// Whole runs from the start state, one per behaviour, compared event by event
// with stored records: any change in the order of draws changes which track sounds when,
// with what sample, volume, pan and pitch.
//
// To write the record anew (after an intended change of behaviour):
//   TIDEWELL_UPDATE_GOLDEN=1 build/<preset>/tests/sequencer/sequencer_tests --gtest_filter='*GoldenRun.*'
// golden_trace.py works the hits out on its own and must agree with the new
// record; the commit says which decision changed and why.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/sequencer/sequencer_rig.h"
#include "tidewell/picture/picture.h"

namespace tidewell::testing {
namespace {

using platform::fake::SoundCallKind;

// One recorded run: the settings as the reader stores them (a folder run,
// volumes falling), the frame steps of the clock, and how many beats to record.
struct GoldenCase {
  const char* name;
  const char* file;
  int beats;
  std::vector<std::uint32_t> frameMs;  // taken in turn, one per tick
  std::int32_t behaviour;
  std::int32_t behaviourMutation;
  std::int32_t beatsPerBar;
  std::int32_t timeSignatureMutation;
  std::int32_t tracks;
  float tempo;
};

void applySettings(const GoldenCase& c, Sequencer& s) {
  s.inputFormat = 1;
  s.waveform = 1;
  s.waveformMutation = 0;
  s.behaviour = c.behaviour;
  s.behaviourMutation = c.behaviourMutation;
  s.beatsPerBar = c.beatsPerBar;
  s.timeSignatureMutation = c.timeSignatureMutation;
  s.activeTrackCount = c.tracks;
  s.setTempo(c.tempo);
}

std::string goldenPath(const GoldenCase& c) {
  return std::string(TIDEWELL_SOURCE_DIR "/tests/sequencer/golden/") + c.file;
}

// One line per sounding hit: beat count, beat of the bar, track, the sample it
// had when the beat began, the volume, pan and frequency its buffer got, and
// how long after the beat's ideal time its start was asked for.
std::string recordRun(const GoldenCase& c) {
  SequencerRig rig;
  rig.picture->resetIntensityMaps();
  Sequencer& s = rig.seq();
  applySettings(c, s);
  rig.provideFolder("demo1/", {"kick.wav", "hat.wav", "tone.wav", "pad.wav", "click.wav"});
  s.loadAllSamples();
  s.prepareBehaviour();
  rig.sound.clearLog();

  std::ostringstream out;
  int beats = 0;
  for (std::size_t frame = 0; beats < c.beats; ++frame) {
    // Names and buffers as the beat starts: a replacement later in the same
    // tick must not be credited to the hits before it.
    std::map<int, int> trackOfBuffer;
    std::string names[kTrackCount];
    for (int t = 0; t < kTrackCount; ++t) {
      names[t] = s.tracks[t].sampleName;
      for (int id : rig.bufferIds(t)) trackOfBuffer[id] = t;
    }
    if (rig.tickAfter(c.frameMs[frame % c.frameMs.size()])) {
      ++beats;
      std::map<int, std::int64_t> volume, pan, frequency;
      for (const auto& call : rig.sound.log()) {
        switch (call.kind) {
          case SoundCallKind::kSetVolume: volume[call.buffer] = call.value; break;
          case SoundCallKind::kSetPan: pan[call.buffer] = call.value; break;
          case SoundCallKind::kSetFrequency: frequency[call.buffer] = call.value; break;
          case SoundCallKind::kPlay: {
            const int t = trackOfBuffer.count(call.buffer) ? trackOfBuffer[call.buffer] : -1;
            char late[32];
            // How late the hit starts against its beat's time plus one 60 Hz frame.
            std::snprintf(late, sizeof late, "%.3f", 1000.0 / 60.0 - rig.sound.buffer(call.buffer)->startDelayMs);
            out << beats << ' ' << s.beatIndex << ' ' << t << ' ' << (t >= 0 ? names[t] : "?") << ' '
                << volume[call.buffer] << ' ' << pan[call.buffer] << ' ' << frequency[call.buffer] << ' '
                << late << '\n';
            break;
          }
          default: break;
        }
      }
    }
    rig.sound.clearLog();
    rig.sound.finishAll();  // every hit has ended by the next frame
  }
  return out.str();
}

class GoldenRun : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenRun, PlaysTheRecordedRun) {
  const GoldenCase& c = GetParam();
  const std::string run = recordRun(c);
  ASSERT_FALSE(run.empty());
  if (std::getenv("TIDEWELL_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(goldenPath(c)) << run;
    GTEST_SKIP() << "wrote " << goldenPath(c);
  }
  std::ifstream in(goldenPath(c));
  ASSERT_TRUE(in) << "no record at " << goldenPath(c) << "; write it with TIDEWELL_UPDATE_GOLDEN=1";
  std::stringstream stored;
  stored << in.rdbuf();
  // Line by line, so a failure names the first hit that differs.
  std::istringstream got(run), want(stored.str());
  std::string gotLine, wantLine;
  for (int line = 1; std::getline(want, wantLine); ++line) {
    ASSERT_TRUE(std::getline(got, gotLine)) << "the run ends early, at line " << line;
    ASSERT_EQ(gotLine, wantLine) << "first difference at line " << line;
  }
  EXPECT_FALSE(std::getline(got, gotLine)) << "the run goes on past the record";
}

INSTANTIATE_TEST_SUITE_P(
    Behaviours, GoldenRun,
    ::testing::Values(
        // The launcher's defaults for a folder run: "Random" at 600 over three tracks.
        GoldenCase{"Random", "default_settings_run.txt", 500, {16}, 1, 0, 4, 0, 3, 600.0f},
        // "Sliding" at 700 over eight tracks, behaviour and time signature mutating.
        GoldenCase{"Sliding", "sliding_mutating_run.txt", 200, {17, 16, 17}, 2, 15, 7, 15, 8, 700.0f},
        // "Tonal" at 1000 over five tracks, both mutations high.
        GoldenCase{"Tonal", "tonal_mutating_run.txt", 200, {17, 16, 17}, 3, 50, 8, 50, 5, 1000.0f}),
    [](const ::testing::TestParamInfo<GoldenCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tidewell::testing
