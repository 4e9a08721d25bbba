#pragma once
// Live MIDI out on a thread of its own. The frame loop hands it hits through
// a lock-free ring and never waits for it; the thread opens the port, turns
// each hit into its messages at the hit's own time (so a note-off is paired
// with the note-on it ends, in the order they sound), keeps the MIDI clock,
// and reconnects when the service comes back. Nothing here runs on the audio
// thread. Times are frames of 48 kHz on the steady clock (framesNow()).
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/api/midi_out.h"
#include "platform/sound/spsc_ring.h"
#include "tidewell/midi/note_scheduler.h"

namespace tidewell::midi {

class MidiSender {
 public:
  // onThreadStart runs first on the new thread (the program raises it to
  // real-time scheduling there, where the system allows it).
  MidiSender(platform::MidiPortOpener opener, std::string portName, std::function<void()> onThreadStart = {});
  ~MidiSender();
  MidiSender(const MidiSender&) = delete;
  MidiSender& operator=(const MidiSender&) = delete;

  // The steady clock in 48 kHz frames: the time base of every hit.
  static std::uint64_t framesNow();

  // Main thread. On: the thread opens the port (retrying every few seconds
  // while the service is missing) and sends; off: notes still sounding end
  // at once, the clock stops and the port closes.
  void setEnabled(bool on, platform::MidiService service);
  // False when the ring is full and the hit is dropped.
  bool post(const MidiHit& hit);
  void setTempo(float tempo) { tempo_.store(tempo, std::memory_order_relaxed); }
  // What the thread has to say for the log, taken without waiting.
  std::vector<std::string> takeReports();
  // Whether a port is open now.
  bool connected() const { return connected_.load(std::memory_order_relaxed); }

 private:
  using Ring = platform::sound::SpscRing<MidiHit, 1024>;
  void run();
  void report(std::string line);
  void send(const std::vector<TimedMessage>& messages);
  void openPort(std::uint64_t now);
  void closePort(std::uint64_t now);

  platform::MidiPortOpener opener_;
  std::function<void()> onThreadStart_;
  std::string portName_;
  Ring hits_;
  std::atomic<bool> enabled_{false};
  std::atomic<int> service_{0};
  std::atomic<float> tempo_{0.0f};
  std::atomic<bool> connected_{false};
  std::atomic<bool> quit_{false};
  std::mutex reportsMutex_;
  std::vector<std::string> reports_;

  // The thread's own.
  std::unique_ptr<platform::MidiOutPort> port_;
  NoteScheduler notes_;
  std::vector<MidiHit> pending_;  // hits not yet due, earliest last
  double nextClock_ = 0.0;  // frames, with their fraction
  std::uint64_t nextAttempt_ = 0;
  bool failureReported_ = false;
  std::thread thread_;
};

}  // namespace tidewell::midi
