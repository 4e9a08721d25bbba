#include "tidewell/midi/track_hit.h"

#include "tidewell/audio/riff_wave_reader.h"
#include "tidewell/sequencer/track.h"

namespace tidewell::midi {

MidiHit hitOf(const Track& track, const Hit& hit, std::uint64_t startFrame) {
  MidiHit midi;
  midi.channel = hit.trackIndex;
  midi.volume = hit.volume;
  midi.pan = hit.pan;
  midi.frequency = hit.frequency > 0 ? static_cast<std::uint32_t>(hit.frequency) : 0u;
  midi.sampleRate = hit.sampleRate;
  midi.startFrame = startFrame;
  if (track.waveReader && track.waveReader->format != nullptr && track.waveReader->format->blockAlign > 0) {
    midi.sampleFrames = track.waveReader->bytesPresent() / track.waveReader->format->blockAlign;
  }
  // Without a known rate the note is middle C.
  if (midi.sampleRate == 0) midi.sampleRate = midi.frequency;
  return midi;
}

}  // namespace tidewell::midi
