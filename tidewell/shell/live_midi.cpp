#include "tidewell/shell/live_midi.h"

#include <cmath>

#include "tidewell/midi/track_hit.h"
#include "tidewell/shell/debug_log.h"
#include "tidewell/shell/player_choices.h"

namespace tidewell {

LiveMidi::LiveMidi(platform::MidiPortOpener opener, bool startOn, std::function<void()> onThreadStart)
    : sender_(opener, "Tidewell", std::move(onThreadStart)) {
  const PlayerChoices choices = PlayerChoices::load(kPlayerChoicesPath);
  if (choices.text(kMidiServiceChoice).value_or("") == "jack") service_ = platform::MidiService::kJack;
  on_ = startOn || choices.flag(kMidiOutChoice, false);
  sender_.setEnabled(on_, service_);
}

void LiveMidi::toggleMidiOut() {
  on_ = !on_;
  sender_.setEnabled(on_, service_);
  // Read afresh so choices stored meanwhile by others are kept.
  PlayerChoices choices = PlayerChoices::load(kPlayerChoicesPath);
  choices.setFlag(kMidiOutChoice, on_);
  if (!choices.save(kPlayerChoicesPath)) appendDebugLog("MIDI out: could not store the choice in data/choices.txt");
}

MidiOutState LiveMidi::midiOutState() const {
  if (!on_) return MidiOutState::kOff;
  return sender_.connected() ? MidiOutState::kOn : MidiOutState::kWaiting;
}

void LiveMidi::everyFrame(float tempo) {
  sender_.setTempo(tempo);
  for (const std::string& line : sender_.takeReports()) appendDebugLog(line.c_str());
}

void LiveMidi::hit(Track& track, const Hit& hit) {
  if (!on_) return;
  const double delayFrames = hit.delayMs > 0.0 ? hit.delayMs * midi::kFramesPerSecond / 1000.0 : 0.0;
  const std::uint64_t start = midi::MidiSender::framesNow() + static_cast<std::uint64_t>(std::llround(delayFrames));
  sender_.post(midi::hitOf(track, hit, start));
}

}  // namespace tidewell
