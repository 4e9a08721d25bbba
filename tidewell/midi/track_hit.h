#pragma once
// A sounding hit of a track as MIDI sees it.
#include <cstdint>

#include "tidewell/midi/note_scheduler.h"

namespace tidewell {
class Track;
}

namespace tidewell::midi {

// The hit of `track`, the `place`-th active track (0..7), starting at
// `startFrame`: its volume, pan and playback rate, with the rate and length
// of the sample it holds.
MidiHit hitOf(const Track& track, int place, std::uint64_t startFrame);

}  // namespace tidewell::midi
