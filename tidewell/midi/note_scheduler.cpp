#include "tidewell/midi/note_scheduler.h"

#include <algorithm>
#include <cmath>

#include "tidewell/midi/midi_mapping.h"

namespace tidewell::midi {
namespace {

TimedMessage message(std::uint64_t frame, int channel, std::uint8_t status, int data1, int data2) {
  TimedMessage m;
  m.frame = frame;
  m.channel = channel;
  m.size = 3;
  m.bytes[0] = static_cast<std::uint8_t>(status | channel);
  m.bytes[1] = static_cast<std::uint8_t>(data1 & 0x7F);
  m.bytes[2] = static_cast<std::uint8_t>(data2 & 0x7F);
  return m;
}

}  // namespace

TimedMessage NoteScheduler::noteOff(int channel, int key, std::uint64_t frame) {
  return message(frame, channel, 0x80, key, 64);
}

std::uint64_t NoteScheduler::soundingFrames(std::uint64_t sampleFrames, std::uint32_t frequency) {
  if (frequency == 0) return 1;
  const double frames = std::ceil(static_cast<double>(sampleFrames) * kFramesPerSecond / frequency);
  return std::max<std::uint64_t>(1, static_cast<std::uint64_t>(frames));
}

void NoteScheduler::addHit(const MidiHit& hit, std::vector<TimedMessage>& out) {
  if (hit.channel < 0 || hit.channel >= kChannels) return;
  releaseUntil(hit.startFrame, out);
  Channel& ch = channels_[hit.channel];
  const std::uint64_t at = hit.startFrame;

  const int pan = panControllerFor(hit.pan);
  if (pan != ch.panSent) {
    out.push_back(message(at, hit.channel, 0xB0, 10, pan));
    ch.panSent = pan;
  }

  // A bend retunes every note the channel holds, so it moves only while the
  // channel is silent; over sounding notes the new one takes the nearest key
  // under the bend already set.
  const double semitones = semitonesFromOwnRate(hit.frequency, hit.sampleRate);
  if (ch.notes.empty()) {
    const double wanted = kMiddleC + semitones;
    double bend = 0.0;
    if (wanted >= 0.0 && wanted <= 127.0) bend = wanted - std::round(wanted);
    if (!ch.bendSent || bendValue(bend) != bendValue(ch.bendSemitones)) {
      const int value = bendValue(bend);
      out.push_back(message(at, hit.channel, 0xE0, value & 0x7F, value >> 7));
      ch.bendSemitones = bend;
      ch.bendSent = true;
    }
  }
  const int key = nearestNote(semitones, ch.bendSemitones);

  // The same key still sounding ends here, before it strikes again.
  auto same = std::find_if(ch.notes.begin(), ch.notes.end(), [key](const Sounding& s) { return s.key == key; });
  if (same != ch.notes.end()) {
    out.push_back(noteOff(hit.channel, key, at));
    ch.notes.erase(same);
  }
  out.push_back(message(at, hit.channel, 0x90, key, velocityFor(hit.volume)));
  ch.notes.push_back({key, at + soundingFrames(hit.sampleFrames, hit.frequency)});
}

void NoteScheduler::releaseUntil(std::uint64_t frame, std::vector<TimedMessage>& out) {
  for (;;) {
    // The earliest held note-off of any channel, while it is due.
    int bestChannel = -1;
    std::size_t bestIndex = 0;
    for (int c = 0; c < kChannels; ++c) {
      const auto& notes = channels_[c].notes;
      for (std::size_t i = 0; i < notes.size(); ++i) {
        if (notes[i].endFrame > frame) continue;
        if (bestChannel < 0 || notes[i].endFrame < channels_[bestChannel].notes[bestIndex].endFrame) {
          bestChannel = c;
          bestIndex = i;
        }
      }
    }
    if (bestChannel < 0) return;
    auto& notes = channels_[bestChannel].notes;
    out.push_back(noteOff(bestChannel, notes[bestIndex].key, notes[bestIndex].endFrame));
    notes.erase(notes.begin() + static_cast<std::ptrdiff_t>(bestIndex));
  }
}

void NoteScheduler::releaseAll(std::uint64_t latest, std::vector<TimedMessage>& out) {
  releaseUntil(latest, out);
  for (int c = 0; c < kChannels; ++c) {
    for (const Sounding& s : channels_[c].notes) out.push_back(noteOff(c, s.key, latest));
    channels_[c].notes.clear();
  }
}

void NoteScheduler::forgetChannelState() {
  for (Channel& ch : channels_) {
    ch.panSent = -1;
    ch.bendSent = false;
    ch.bendSemitones = 0.0;
  }
}

}  // namespace tidewell::midi
