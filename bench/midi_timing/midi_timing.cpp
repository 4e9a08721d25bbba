// midi_timing [HITS] [SPACING_MS]
// Posts hits spaced SPACING_MS apart, each asked for 20 ms ahead (as the
// frame loop asks), to the MIDI thread over a port that notes when each
// note-on leaves, and prints how late it left against its time. The
// reference row sleeps a plain thread to the same moments: the scheduler's
// own jitter on this machine, which no sender can beat.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/sdl/audio_thread_priority.h"
#include "tidewell/midi/midi_sender.h"

namespace {

using tidewell::midi::MidiSender;
constexpr double kFramesPerMs = 48.0;

std::mutex sentMutex;
std::vector<std::uint64_t> sentAt;  // steady frames at which each note-on left

class TimedPort : public platform::MidiOutPort {
 public:
  void send(const std::uint8_t* bytes, std::size_t) override {
    if ((bytes[0] & 0xF0) != 0x90) return;
    const std::uint64_t now = MidiSender::framesNow();
    std::lock_guard<std::mutex> lock(sentMutex);
    sentAt.push_back(now);
  }
  bool alive() const override { return true; }
  std::string serviceName() const override { return "timing port"; }
};

std::unique_ptr<platform::MidiOutPort> openTimedPort(const std::string&, platform::MidiService, std::string*) {
  return std::make_unique<TimedPort>();
}

void printRow(const char* name, std::vector<double> lateMs) {
  std::sort(lateMs.begin(), lateMs.end());
  auto at = [&](double q) { return lateMs[static_cast<std::size_t>(q * (lateMs.size() - 1))]; };
  std::printf("%-22s n=%zu  median %.3f ms  p99 %.3f ms  max %.3f ms  min %.3f ms\n", name, lateMs.size(), at(0.5),
              at(0.99), lateMs.back(), lateMs.front());
}

}  // namespace

int main(int argc, char** argv) {
  const int hits = argc > 1 ? std::atoi(argv[1]) : 400;
  const double spacingMs = argc > 2 ? std::atof(argv[2]) : 10.0;

  for (const bool realTime : {false, true}) {
  std::vector<std::uint64_t> due;
  sentAt.clear();
  {
    MidiSender sender(openTimedPort, "timing", [realTime] {
      if (realTime && !platform::sdl::raiseToRealTime()) std::printf("(real-time scheduling refused)\n");
    });
    sender.setEnabled(true, platform::MidiService::kAutomatic);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    for (int i = 0; i < hits; ++i) {
      tidewell::midi::MidiHit hit;
      hit.channel = i % 8;
      hit.frequency = 48000;
      hit.sampleRate = 48000;
      hit.sampleFrames = 96;
      hit.startFrame = MidiSender::framesNow() + static_cast<std::uint64_t>(20 * kFramesPerMs);
      due.push_back(hit.startFrame);
      sender.post(hit);
      std::this_thread::sleep_for(std::chrono::microseconds(static_cast<long>(spacingMs * 1000)));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  std::vector<double> late;
  for (std::size_t i = 0; i < std::min(due.size(), sentAt.size()); ++i)
    late.push_back((static_cast<double>(sentAt[i]) - static_cast<double>(due[i])) / kFramesPerMs);
  printRow(realTime ? "MIDI thread, real-time" : "MIDI thread, ordinary", late);
  }

  // Reference: a thread that sleeps until each moment and reads the clock.
  std::vector<double> plain;
  for (int i = 0; i < std::min(hits, 200); ++i) {
    const std::uint64_t target = MidiSender::framesNow() + static_cast<std::uint64_t>(2 * kFramesPerMs);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    plain.push_back((static_cast<double>(MidiSender::framesNow()) - static_cast<double>(target)) / kFramesPerMs);
  }
  printRow("plain sleep (reference)", plain);
  return 0;
}
