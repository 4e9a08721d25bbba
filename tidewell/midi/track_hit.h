#pragma once
// A sounding hit of a track as MIDI sees it.
#include <cstdint>

#include "tidewell/midi/note_scheduler.h"
#include "tidewell/sequencer/hit_sink.h"

namespace tidewell::midi {

// The hit as MIDI sees it, starting at `startFrame`: the sequencer's hit
// with the length of the sample the track holds.
MidiHit hitOf(const Track& track, const Hit& hit, std::uint64_t startFrame);

}  // namespace tidewell::midi
