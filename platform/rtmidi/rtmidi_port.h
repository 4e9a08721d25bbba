#pragma once
// Virtual MIDI output ports: through RtMidi on the ALSA sequencer, through
// a JACK client of our own on JACK.
#include "platform/api/midi_out.h"

namespace platform::rtmidi {

// The MidiPortOpener of the real program.
std::unique_ptr<MidiOutPort> openVirtualPort(const std::string& name, MidiService service, std::string* error);

}  // namespace platform::rtmidi
