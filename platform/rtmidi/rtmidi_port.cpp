#include "platform/rtmidi/rtmidi_port.h"

#include "platform/jack/jack_midi_port.h"

#include <rtmidi/RtMidi.h>
#include <unistd.h>


namespace platform::rtmidi {
namespace {

constexpr const char* kSequencerDevice = "/dev/snd/seq";

class RtMidiPort : public MidiOutPort {
 public:
  RtMidiPort(std::unique_ptr<RtMidiOut> out, std::string service) : out_(std::move(out)), service_(std::move(service)) {}

  void send(const std::uint8_t* bytes, std::size_t size) override {
    try {
      out_->sendMessage(bytes, size);
    } catch (const RtMidiError&) {
      failed_ = true;
    }
  }
  bool alive() const override { return !failed_; }
  std::string serviceName() const override { return service_; }

 private:
  std::unique_ptr<RtMidiOut> out_;
  std::string service_;
  bool failed_ = false;
};

}  // namespace

std::unique_ptr<MidiOutPort> openVirtualPort(const std::string& name, MidiService service, std::string* error) {
  // RtMidi's JACK port puts every message at the start of the next period;
  // our own places each on its frame.
  if (service == MidiService::kJack || ::access(kSequencerDevice, R_OK | W_OK) != 0)
    return jack::openJackMidiPort(name, error);
  const char* serviceName = "ALSA sequencer";
  // RtMidi reports through exceptions or, once a callback is set, through it.
  std::string reported;
  try {
    auto out = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, name);
    out->setErrorCallback(
        [](RtMidiError::Type, const std::string& text, void* sink) { *static_cast<std::string*>(sink) = text; },
        &reported);
    out->openVirtualPort(name);
    // A virtual port never counts as "open" to RtMidi: only a report says it failed.
    if (!reported.empty()) {
      *error = std::string("the ") + serviceName + " would not open the port (" + reported + ")";
      return nullptr;
    }
    out->setErrorCallback(nullptr, nullptr);
    return std::make_unique<RtMidiPort>(std::move(out), serviceName);
  } catch (const RtMidiError& e) {
    *error = std::string("the ") + serviceName + " refused the port: " + e.getMessage();
    return nullptr;
  }
}

}  // namespace platform::rtmidi
