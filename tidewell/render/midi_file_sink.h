#pragma once
// The hits of an offline render as a Standard MIDI File: each note starts on
// the very output frame the mixer starts the hit's sound on.
#include <cstdint>
#include <functional>
#include <vector>

#include "tidewell/midi/note_scheduler.h"
#include "tidewell/sequencer/hit_sink.h"

namespace tidewell::render {

class MidiFileSink : public HitSink {
 public:
  // frameNow: the output frame the mixer calls "now" when a hit is asked for.
  explicit MidiFileSink(std::function<std::uint64_t()> frameNow) : frameNow_(std::move(frameNow)) {}

  void hit(Track& track, const Hit& hit) override;

  // The file of the hits that start before `endFrame` (the render's length),
  // every note ended by then, at the sequencer's tempo field `tempo`.
  std::vector<std::uint8_t> finish(std::uint64_t endFrame, float tempo, int trackCount);

 private:
  std::function<std::uint64_t()> frameNow_;
  midi::NoteScheduler notes_;
  std::vector<midi::TimedMessage> messages_;
};

}  // namespace tidewell::render
