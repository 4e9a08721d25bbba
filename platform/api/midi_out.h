#pragma once
// A MIDI output port that other programs connect to: a virtual port on the
// system's MIDI service. Used from one thread only, never the audio thread.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

enum class MidiService {
  kAutomatic,  // the ALSA sequencer where the system has one, JACK otherwise
  kJack,
};

class MidiOutPort {
 public:
  virtual ~MidiOutPort() = default;
  // Sends one message at once. Never waits on the service: a service that
  // has gone away takes the message and drops it.
  virtual void send(const std::uint8_t* bytes, std::size_t size) = 0;
  // Sends one message to sound at `steadyFrame` (48 kHz frames of the steady
  // clock, as MidiSender::framesNow counts them). A port that can place a
  // message at its time takes it leadFrames() ahead; others send at once.
  virtual void sendAt(const std::uint8_t* bytes, std::size_t size, std::uint64_t steadyFrame) {
    (void)steadyFrame;
    send(bytes, size);
  }
  virtual std::uint64_t leadFrames() const { return 0; }
  // Whether the service is still there to hear it.
  virtual bool alive() const = 0;
  // "ALSA sequencer" or "JACK server", for the log.
  virtual std::string serviceName() const = 0;
};

// Opens a virtual output port named `name`; null and the reason in *error
// when there is no such service or it refuses the port.
using MidiPortOpener =
    std::unique_ptr<MidiOutPort> (*)(const std::string& name, MidiService service, std::string* error);

}  // namespace platform
