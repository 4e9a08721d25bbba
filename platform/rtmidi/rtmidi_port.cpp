#include "platform/rtmidi/rtmidi_port.h"

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <atomic>
#include <mutex>

namespace platform::rtmidi {
namespace {

constexpr const char* kSequencerDevice = "/dev/snd/seq";

// libjack reports a missing server on stderr at length; the one line our
// caller logs says it better.
void quietJack() {
  static std::once_flag once;
  std::call_once(once, [] {
    jack_set_error_function([](const char*) {});
    jack_set_info_function([](const char*) {});
  });
}

// A client of our own on the JACK server, with no ports, that hears when the
// server shuts down (RtMidi does not say). Null when no server answers.
class JackWatch {
 public:
  static std::unique_ptr<JackWatch> connect(const std::string& name) {
    jack_status_t status{};
    jack_client_t* client = jack_client_open((name + "-watch").c_str(), JackNoStartServer, &status);
    if (client == nullptr) return nullptr;
    auto watch = std::unique_ptr<JackWatch>(new JackWatch(client));
    jack_on_shutdown(client, [](void* self) { static_cast<JackWatch*>(self)->gone_.store(true); }, watch.get());
    if (jack_activate(client) != 0) return nullptr;
    return watch;
  }
  ~JackWatch() {
    // After a shutdown the client is already dead; closing it then would
    // wait on a server that is not there.
    if (!gone_.load()) jack_client_close(client_);
  }
  bool gone() const { return gone_.load(); }

 private:
  explicit JackWatch(jack_client_t* client) : client_(client) {}
  jack_client_t* client_;
  std::atomic<bool> gone_{false};
};

class RtMidiPort : public MidiOutPort {
 public:
  RtMidiPort(std::unique_ptr<RtMidiOut> out, std::string service, std::unique_ptr<JackWatch> watch)
      : out_(std::move(out)), service_(std::move(service)), watch_(std::move(watch)) {}
  ~RtMidiPort() override {
    // RtMidi's JACK client cannot be closed once its server is gone.
    if (watch_ && watch_->gone()) (void)out_.release();
  }

  void send(const std::uint8_t* bytes, std::size_t size) override {
    try {
      out_->sendMessage(bytes, size);
    } catch (const RtMidiError&) {
      failed_ = true;
    }
  }
  bool alive() const override { return !failed_ && !(watch_ && watch_->gone()); }
  std::string serviceName() const override { return service_; }

 private:
  std::unique_ptr<RtMidiOut> out_;
  std::string service_;
  std::unique_ptr<JackWatch> watch_;
  bool failed_ = false;
};

}  // namespace

std::unique_ptr<MidiOutPort> openVirtualPort(const std::string& name, MidiService service, std::string* error) {
  const bool useJack = service == MidiService::kJack || ::access(kSequencerDevice, R_OK | W_OK) != 0;
  const RtMidi::Api api = useJack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
  const char* serviceName = useJack ? "JACK server" : "ALSA sequencer";
  std::unique_ptr<JackWatch> watch;
  if (useJack) {
    quietJack();
    watch = JackWatch::connect(name);
    if (!watch) {
      *error = "no JACK server is running to open the port on";
      return nullptr;
    }
  }
  // RtMidi reports through exceptions or, once a callback is set, through it.
  std::string reported;
  try {
    auto out = std::make_unique<RtMidiOut>(api, name);
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
    return std::make_unique<RtMidiPort>(std::move(out), serviceName, std::move(watch));
  } catch (const RtMidiError& e) {
    *error = std::string("the ") + serviceName + " refused the port: " + e.getMessage();
    return nullptr;
  }
}

}  // namespace platform::rtmidi
