#pragma once
// The shell's handle on live MIDI out: the M key toggles it, the info line
// shows its mark and every frame hands it the tempo and lets it log. The
// program's entry plugs it in; without one (tests) M does nothing.

namespace tidewell {

enum class MidiOutState { kOff, kWaiting, kOn };  // waiting: wanted, no port yet

class MidiControl {
 public:
  virtual ~MidiControl() = default;
  virtual void toggleMidiOut() = 0;
  virtual MidiOutState midiOutState() const = 0;
  // Once a frame on the frame loop's thread, with the sequencer's tempo
  // field; never waits.
  virtual void everyFrame(float tempo) = 0;
};

}  // namespace tidewell
