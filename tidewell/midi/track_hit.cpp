#include "tidewell/midi/track_hit.h"

#include "tidewell/audio/riff_wave_reader.h"
#include "tidewell/sequencer/track.h"

namespace tidewell::midi {

MidiHit hitOf(const Track& track, int place, std::uint64_t startFrame) {
  MidiHit hit;
  hit.channel = place;
  hit.volume = track.volume;
  hit.pan = track.pan;
  hit.frequency = track.frequency > 0 ? static_cast<std::uint32_t>(track.frequency) : 0u;
  hit.startFrame = startFrame;
  if (track.waveReader && track.waveReader->format != nullptr) {
    const platform::WaveFormatEx& format = *track.waveReader->format;
    hit.sampleRate = format.samplesPerSec;
    if (format.blockAlign > 0) hit.sampleFrames = track.waveReader->bytesPresent() / format.blockAlign;
  }
  // Without a readable sample the note is middle C and as short as can be.
  if (hit.sampleRate == 0) hit.sampleRate = hit.frequency;
  return hit;
}

}  // namespace tidewell::midi
