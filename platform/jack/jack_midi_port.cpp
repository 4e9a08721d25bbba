#include "platform/jack/jack_midi_port.h"

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>

namespace platform::jack {
namespace {

constexpr std::uint64_t kFramesPerSecond = 48000;  // the steady-frame count's rate
constexpr std::size_t kRingBytes = 1 << 16;

// One message on its way to the process callback.
struct Timed {
  jack_time_t usecs = 0;  // on JACK's clock
  std::uint8_t size = 0;
  std::uint8_t bytes[3] = {0, 0, 0};
};

std::int64_t steadyMicros() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// libjack reports a missing server on stderr at length; the one line our
// caller logs says it better.
void quietJack() {
  static std::once_flag once;
  std::call_once(once, [] {
    jack_set_error_function([](const char*) {});
    jack_set_info_function([](const char*) {});
  });
}

class JackMidiPort : public MidiOutPort {
 public:
  ~JackMidiPort() override {
    // After a shutdown the server is gone and the process callback with it;
    // the client's own memory still has to be let go.
    if (client_ != nullptr) {
      if (!gone_.load()) jack_deactivate(client_);
      jack_client_close(client_);
    }
    if (ring_ != nullptr) jack_ringbuffer_free(ring_);
  }

  bool open(const std::string& name, std::string* error) {
    jack_status_t status{};
    client_ = jack_client_open(name.c_str(), JackNoStartServer, &status);
    if (client_ == nullptr) {
      *error = "no JACK server is running to open the port on";
      return false;
    }
    port_ = jack_port_register(client_, name.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    ring_ = jack_ringbuffer_create(kRingBytes);
    if (port_ == nullptr || ring_ == nullptr) {
      *error = "the JACK server would not make the port";
      return false;
    }
    jack_set_process_callback(client_, [](jack_nframes_t n, void* self) { return static_cast<JackMidiPort*>(self)->process(n); }, this);
    jack_on_shutdown(client_, [](void* self) { static_cast<JackMidiPort*>(self)->gone_.store(true); }, this);
    // Two periods ahead: a message handed over then is in the ring before
    // the period that holds its time starts.
    const double periodsPerSecond = static_cast<double>(jack_get_sample_rate(client_)) / jack_get_buffer_size(client_);
    lead_ = static_cast<std::uint64_t>(2.0 * kFramesPerSecond / periodsPerSecond);
    offsetMicros_ = static_cast<std::int64_t>(jack_get_time()) - steadyMicros();
    if (jack_activate(client_) != 0) {
      *error = "the JACK server would not run the client";
      return false;
    }
    return true;
  }

  void send(const std::uint8_t* bytes, std::size_t size) override { sendAt(bytes, size, 0); }

  void sendAt(const std::uint8_t* bytes, std::size_t size, std::uint64_t steadyFrame) override {
    if (size == 0 || size > 3 || gone_.load()) return;
    Timed t;
    const std::int64_t micros = static_cast<std::int64_t>(steadyFrame * 1000 / (kFramesPerSecond / 1000)) + offsetMicros_;
    t.usecs = steadyFrame == 0 || micros < 0 ? 0 : static_cast<jack_time_t>(micros);
    t.size = static_cast<std::uint8_t>(size);
    std::memcpy(t.bytes, bytes, size);
    // A full ring (the server stalled) drops the message rather than wait.
    if (jack_ringbuffer_write_space(ring_) >= sizeof t) jack_ringbuffer_write(ring_, reinterpret_cast<const char*>(&t), sizeof t);
  }

  std::uint64_t leadFrames() const override { return lead_; }
  bool alive() const override { return !gone_.load(); }
  std::string serviceName() const override { return "JACK server"; }

 private:
  // Real-time: no waiting, no allocation. Each message goes at the offset of
  // its time within this period; one due later waits for its period.
  int process(jack_nframes_t frames) {
    void* buffer = jack_port_get_buffer(port_, frames);
    jack_midi_clear_buffer(buffer);
    jack_nframes_t cycleFrame = 0;
    jack_time_t now = 0, next = 0;
    float periodMicros = 0;
    if (jack_get_cycle_times(client_, &cycleFrame, &now, &next, &periodMicros) != 0 || next <= now) return 0;
    jack_nframes_t last = 0;
    Timed t;
    while (jack_ringbuffer_peek(ring_, reinterpret_cast<char*>(&t), sizeof t) == sizeof t) {
      if (t.usecs >= next) break;
      jack_nframes_t offset = 0;
      if (t.usecs > now) offset = static_cast<jack_nframes_t>((t.usecs - now) * frames / (next - now));
      offset = std::clamp<jack_nframes_t>(offset, last, frames - 1);  // in time order, within the period
      jack_midi_event_write(buffer, offset, t.bytes, t.size);
      last = offset;
      jack_ringbuffer_read_advance(ring_, sizeof t);
    }
    return 0;
  }

  jack_client_t* client_ = nullptr;
  jack_port_t* port_ = nullptr;
  jack_ringbuffer_t* ring_ = nullptr;
  std::uint64_t lead_ = 0;
  std::int64_t offsetMicros_ = 0;
  std::atomic<bool> gone_{false};
};

}  // namespace

std::unique_ptr<MidiOutPort> openJackMidiPort(const std::string& name, std::string* error) {
  quietJack();
  auto port = std::make_unique<JackMidiPort>();
  if (!port->open(name, error)) {
    // A half-made client is closed by the destructor; none made, nothing to close.
    return nullptr;
  }
  return port;
}

}  // namespace platform::jack
