#include "tidewell/shell/midi_control.h"

namespace tidewell {

MidiControl* midiControl = nullptr;

MidiOutState currentMidiOutState() {
  return midiControl != nullptr ? midiControl->midiOutState() : MidiOutState::kOff;
}

}  // namespace tidewell
