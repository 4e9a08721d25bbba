#pragma once
// A JACK MIDI output port of our own client that places every message on the
// very frame of its time: the sender hands messages over a little ahead, and
// the process callback writes each at its offset in the period that holds it.
#include <memory>
#include <string>

#include "platform/api/midi_out.h"

namespace platform::jack {

// Null and the reason in *error when no JACK server answers or it refuses
// the client or the port.
std::unique_ptr<MidiOutPort> openJackMidiPort(const std::string& name, std::string* error);

}  // namespace platform::jack
