// A whole run from the start state, compared event by event with a stored
// record: any change in the order of draws changes which track sounds when,
// with what sample, volume, pan and pitch.
//
// To write the record anew (after an intended change of behaviour):
//   TIDEWELL_UPDATE_GOLDEN=1 build/<preset>/tests/sequencer/sequencer_tests --gtest_filter='GoldenRun.*'
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "tests/sequencer/sequencer_rig.h"
#include "tidewell/picture/intensity_maps.h"

namespace tidewell::testing {
namespace {

using platform::fake::SoundCallKind;

constexpr int kBeats = 500;
constexpr std::uint32_t kFrameMs = 16;
const char* const kGoldenFile = TIDEWELL_SOURCE_DIR "/tests/sequencer/golden/default_settings_run.txt";

// The launcher's defaults for a folder run, as the settings reader stores them.
void applyDefaultSettings(Sequencer& s) {
  s.inputFormat = 1;
  s.beatsPerBar = 4;
  s.timeSignatureMutation = 0;
  s.behaviour = 1;
  s.behaviourMutation = 0;
  s.waveform = 1;
  s.waveformMutation = 0;
  s.activeTrackCount = 3;
  s.setTempo(600.0f);
}

// One line per sounding hit: beat count, beat of the bar, track, the sample it
// had when the beat began, and the volume, pan and frequency its buffer got.
std::string recordRun() {
  SequencerRig rig;
  resetIntensityMaps();
  Sequencer& s = rig.seq();
  applyDefaultSettings(s);
  rig.provideFolder("demo1/", {"kick.wav", "hat.wav", "tone.wav", "pad.wav", "click.wav"});
  s.loadAllSamples();
  s.prepareBehaviour();
  rig.sound.clearLog();

  std::ostringstream out;
  int beats = 0;
  while (beats < kBeats) {
    // Names and buffers as the beat starts: a replacement later in the same
    // tick must not be credited to the hits before it.
    std::map<int, int> trackOfBuffer;
    std::string names[kTrackCount];
    for (int t = 0; t < kTrackCount; ++t) {
      names[t] = s.tracks[t].sampleName;
      for (int id : rig.bufferIds(t)) trackOfBuffer[id] = t;
    }
    if (rig.tickAfter(kFrameMs)) {
      ++beats;
      std::map<int, std::int64_t> volume, pan, frequency;
      for (const auto& call : rig.sound.log()) {
        switch (call.kind) {
          case SoundCallKind::kSetVolume: volume[call.buffer] = call.value; break;
          case SoundCallKind::kSetPan: pan[call.buffer] = call.value; break;
          case SoundCallKind::kSetFrequency: frequency[call.buffer] = call.value; break;
          case SoundCallKind::kPlay: {
            const int t = trackOfBuffer.count(call.buffer) ? trackOfBuffer[call.buffer] : -1;
            out << beats << ' ' << s.beatIndex << ' ' << t << ' ' << (t >= 0 ? names[t] : "?") << ' '
                << volume[call.buffer] << ' ' << pan[call.buffer] << ' ' << frequency[call.buffer] << '\n';
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

TEST(GoldenRun, DefaultSettingsPlayTheRecordedRun) {
  const std::string run = recordRun();
  ASSERT_FALSE(run.empty());
  if (std::getenv("TIDEWELL_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(kGoldenFile) << run;
    GTEST_SKIP() << "wrote " << kGoldenFile;
  }
  std::ifstream in(kGoldenFile);
  ASSERT_TRUE(in) << "no record at " << kGoldenFile << "; write it with TIDEWELL_UPDATE_GOLDEN=1";
  std::stringstream stored;
  stored << in.rdbuf();
  // Line by line, so a failure names the first hit that differs.
  std::istringstream got(run), want(stored.str());
  std::string gotLine, wantLine;
  int line = 0;
  while (true) {
    const bool more = static_cast<bool>(std::getline(want, wantLine));
    const bool gotMore = static_cast<bool>(std::getline(got, gotLine));
    ++line;
    ASSERT_EQ(more, gotMore) << "the runs differ in length at line " << line;
    if (!more) break;
    ASSERT_EQ(gotLine, wantLine) << "first difference at line " << line;
  }
}

TEST(GoldenRun, RepeatsWithinOneProcess) {
  EXPECT_EQ(recordRun(), recordRun());
}

}  // namespace
}  // namespace tidewell::testing
