// Feeds arbitrary bytes to the settings reader as "data/settings.txt" and
// checks what it leaves in the sequencer: every field one of its table's
// values or as it was, the tempo's interval coupled to it, the sample folder
// a terminated name ending in "/" within its array. Any crash, undefined
// behaviour or leak is a finding.
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "tidewell/sequencer/sequencer.h"
#include "tidewell/sequencer/settings_reader.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

bool oneOf(int value, std::initializer_list<int> allowed) {
  for (int a : allowed)
    if (value == a) return true;
  return false;
}

// The reader and its debug log work relative to the working directory: a
// scratch one of the fuzzer's own.
char scratch[] = "/tmp/settings-fuzz-XXXXXX";

void removeScratchDirectory() {
  ::chdir("/");
  const std::string root = scratch;
  for (const char* name : {"/data/settings.txt", "/data/debug.txt", "/data"}) std::remove((root + name).c_str());
  ::rmdir(scratch);
}

void enterScratchDirectory() {
  static bool done = false;
  if (done) return;
  if (::mkdtemp(scratch) == nullptr || ::chdir(scratch) != 0 || ::mkdir("data", 0700) != 0) __builtin_trap();
  std::atexit(removeScratchDirectory);
  done = true;
}

// The fields the reader writes.
struct Fields {
  int inputFormat, beatsPerBar, timeSignatureMutation, behaviour, behaviourMutation, waveform, waveformMutation,
      activeTrackCount;
  float tempo, beatInterval;
  char folder[tidewell::kFolderSize];

  static Fields of(const tidewell::Sequencer& s) {
    Fields f{s.inputFormat, s.beatsPerBar, s.timeSignatureMutation, s.behaviour, s.behaviourMutation,
             s.waveform,    s.waveformMutation, s.activeTrackCount, s.tempo, s.beatInterval, {}};
    std::memcpy(f.folder, s.folder, sizeof f.folder);
    return f;
  }
  void into(tidewell::Sequencer& s) const {
    s.inputFormat = inputFormat, s.beatsPerBar = beatsPerBar, s.timeSignatureMutation = timeSignatureMutation;
    s.behaviour = behaviour, s.behaviourMutation = behaviourMutation, s.waveform = waveform;
    s.waveformMutation = waveformMutation, s.activeTrackCount = activeTrackCount;
    s.tempo = tempo, s.beatInterval = beatInterval;
    std::memcpy(s.folder, folder, sizeof folder);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  enterScratchDirectory();
  std::FILE* file = std::fopen(tidewell::kSettingsPath, "wb");
  if (file == nullptr) __builtin_trap();
  if (size != 0 && std::fwrite(data, 1, size, file) != size) __builtin_trap();
  std::fclose(file);

  // One sequencer (making one is slow), its fields as made put back each time.
  static tidewell::Sequencer& sequencer = *new tidewell::Sequencer(nullptr, tidewell::SequencerServices{});
  static const Fields made = Fields::of(sequencer);
  made.into(sequencer);
  const int inputBefore = sequencer.inputFormat;
  const float intervalBefore = sequencer.beatInterval;
  tidewell::readSettings(tidewell::kSettingsPath, sequencer);

  check(sequencer.inputFormat == inputBefore || (sequencer.inputFormat >= 0 && sequencer.inputFormat <= 9));
  check(oneOf(sequencer.beatsPerBar, {4, 5, 6, 7, 8}));
  for (int chance : {sequencer.timeSignatureMutation, sequencer.behaviourMutation, sequencer.waveformMutation})
    check(oneOf(chance, {0, 15, 25, 50, 100}));
  check(oneOf(sequencer.behaviour, {1, 2, 3, 4, 5}));
  check(oneOf(sequencer.waveform, {1, 2, 3, 4, 5}));
  check(sequencer.activeTrackCount >= 1 && sequencer.activeTrackCount <= 8);
  check(std::isfinite(sequencer.tempo) && sequencer.tempo > 0.0f);
  // A reader that got as far as the tempo field recomputed the interval.
  check(sequencer.beatInterval == intervalBefore ||
        std::fabs(sequencer.beatInterval - 60000.0f / sequencer.tempo) <= 1e-3f * sequencer.beatInterval);
  const std::size_t length = ::strnlen(sequencer.folder, tidewell::kFolderSize);
  check(length < tidewell::kFolderSize);
  check(length == 0 || sequencer.folder[length - 1] == '/');
  return 0;
}
