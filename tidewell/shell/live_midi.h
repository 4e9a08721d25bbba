#pragma once
// Live MIDI out as the player steers it: on from the player's stored choice
// or --midi-out, toggled by M (the choice is stored again), every sounding
// hit handed to the sender thread, and the thread's news written to the
// debug log. Main thread only.
#include <cstdint>
#include <functional>

#include "platform/api/midi_out.h"
#include "tidewell/midi/midi_sender.h"
#include "tidewell/sequencer/hit_sink.h"
#include "tidewell/shell/midi_control.h"

namespace tidewell {

// The player's choice: on or off, and "jack" to use JACK even where the
// ALSA sequencer is there.
constexpr const char* kMidiOutChoice = "midi_out";
constexpr const char* kMidiServiceChoice = "midi_service";

class LiveMidi : public MidiControl, public HitSink {
 public:
  LiveMidi(platform::MidiPortOpener opener, bool startOn, std::function<void()> onThreadStart = {});

  void toggleMidiOut() override;
  MidiOutState midiOutState() const override;
  void everyFrame(float tempo) override;

  // A sounding hit: its note starts when the sound does, delayMs from now.
  void hit(Track& track, const Hit& hit) override;

 private:
  midi::MidiSender sender_;
  platform::MidiService service_ = platform::MidiService::kAutomatic;
  bool on_ = false;
};

}  // namespace tidewell
