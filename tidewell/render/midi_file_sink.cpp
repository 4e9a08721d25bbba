#include "tidewell/render/midi_file_sink.h"

#include "platform/sound/software_buffer.h"
#include "tidewell/midi/standard_midi_file.h"
#include "tidewell/midi/track_hit.h"

namespace tidewell::render {

void MidiFileSink::hit(Track& track, const Hit& hit) {
  const std::uint64_t start = platform::sound::scheduledStartFrame(frameNow_(), hit.delayMs);
  notes_.addHit(midi::hitOf(track, hit, start), messages_);
}

std::vector<std::uint8_t> MidiFileSink::finish(std::uint64_t endFrame, float tempo, int trackCount) {
  std::vector<midi::TimedMessage> all = messages_;
  midi::NoteScheduler ending = notes_;
  ending.releaseAll(endFrame, all);
  // A hit asked for within the last lookahead starts after the end: it is
  // not in the sound and not here. A note still sounding ends with the file.
  std::vector<midi::TimedMessage> kept;
  bool sounding[midi::kChannels][128] = {};
  for (midi::TimedMessage m : all) {
    const int status = m.bytes[0] & 0xF0;
    bool& on = sounding[m.channel][m.bytes[1]];
    if (status == 0x80) {
      if (!on) continue;
      on = false;
      if (m.frame > endFrame) m.frame = endFrame;
    } else if (m.frame >= endFrame) {
      continue;
    } else if (status == 0x90) {
      on = true;
    }
    kept.push_back(m);
  }
  return midi::buildStandardMidiFile(midi::fileTimingFor(tempo), trackCount, kept);
}

}  // namespace tidewell::render
