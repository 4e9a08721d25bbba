#pragma once
// A Standard MIDI File of format 1: a tempo track, then one track per
// sequencer track with its channel's messages. A tick is a whole number of
// output frames (one at any session tempo above 88 beats a minute), so every
// message sits on the frame it was stamped with, or within half a tick of it.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tidewell/midi/note_scheduler.h"

namespace tidewell::midi {

struct FileTiming {
  std::uint16_t ticksPerQuarter = 0;
  std::uint32_t microsPerQuarter = 0;  // the tempo event
  std::uint32_t framesPerTick = 1;
};

// The timing for the sequencer's tempo field: a quarter note is one session
// beat (half the field), its length rounded by at most three frames so that
// a tick is a whole number of output frames and the tempo a whole number of
// microseconds.
FileTiming fileTimingFor(float tempo);

// The file's bytes. `trackCount` sequencer tracks (1..8), each holding the
// messages of its channel; messages keep their order within a frame.
std::vector<std::uint8_t> buildStandardMidiFile(const FileTiming& timing, int trackCount,
                                                const std::vector<TimedMessage>& messages);

// A file written whole or not at all: open() creates a temporary file beside
// the target at once (so an unwritable place is known before any work),
// commit() fills it and renames it into place, discard() removes it.
class WholeFile {
 public:
  WholeFile() = default;
  ~WholeFile() { discard(); }
  WholeFile(const WholeFile&) = delete;
  WholeFile& operator=(const WholeFile&) = delete;

  bool open(const std::string& path, std::string* error);
  bool commit(const std::vector<std::uint8_t>& bytes, std::string* error);
  void discard();

 private:
  std::string path_;
  std::string partPath_;
  std::FILE* file_ = nullptr;
};

}  // namespace tidewell::midi
