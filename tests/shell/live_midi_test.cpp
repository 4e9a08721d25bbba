#include "tidewell/shell/live_midi.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "tests/support/scratch_folder.h"
#include "tidewell/sequencer/track.h"
#include "tidewell/shell/debug_log.h"
#include "tidewell/shell/player_choices.h"

namespace tidewell {
namespace {

// What the port heard, from the MIDI thread.
std::mutex heardMutex;
std::vector<std::vector<std::uint8_t>> heard;

class RecordingPort : public platform::MidiOutPort {
 public:
  void send(const std::uint8_t* bytes, std::size_t size) override {
    std::lock_guard<std::mutex> lock(heardMutex);
    heard.emplace_back(bytes, bytes + size);
  }
  bool alive() const override { return true; }
  std::string serviceName() const override { return "test service"; }
};

std::unique_ptr<platform::MidiOutPort> openRecordingPort(const std::string&, platform::MidiService, std::string*) {
  return std::make_unique<RecordingPort>();
}

std::unique_ptr<platform::MidiOutPort> openNothing(const std::string&, platform::MidiService, std::string* error) {
  *error = "no MIDI service here";
  return nullptr;
}

bool heardStatus(std::uint8_t status) {
  std::lock_guard<std::mutex> lock(heardMutex);
  for (const auto& m : heard)
    if (!m.empty() && (m[0] & 0xF0) == status) return true;
  return false;
}

// Polls `done` about once a frame, handing the MIDI thread's news to the log;
// the cap leaves room for a sanitizer on a busy machine.
template <typename Done>
bool within(LiveMidi& midi, Done done) {
  const auto cap = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < cap) {
    midi.everyFrame(700.0f);
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

TEST(LiveMidi, NoServiceLeavesOneLineInTheLogAndTheChoiceStored) {
  testing_support::ScratchFolder dir{testing_support::kWorkInside, {"data"}};
  startDebugLog();
  {
    LiveMidi midi(openNothing, false);
    EXPECT_EQ(midi.midiOutState(), MidiOutState::kOff);
    midi.toggleMidiOut();
    EXPECT_EQ(midi.midiOutState(), MidiOutState::kWaiting);
    EXPECT_TRUE(within(midi, [] { return testing_support::readText("data/debug.txt").find("no MIDI service here") != std::string::npos; }));
    EXPECT_TRUE(PlayerChoices::load(kPlayerChoicesPath).flag(kMidiOutChoice, false));
  }
  const std::string log = testing_support::readText("data/debug.txt");
  EXPECT_EQ(log.find("no MIDI service here"), log.rfind("no MIDI service here")) << log;

  // The next start takes the stored choice; turning it off stores that too.
  LiveMidi again(openNothing, false);
  EXPECT_NE(again.midiOutState(), MidiOutState::kOff);
  again.toggleMidiOut();
  EXPECT_FALSE(PlayerChoices::load(kPlayerChoicesPath).flag(kMidiOutChoice, true));
}

TEST(LiveMidi, AHitBecomesANoteWithItsEndAndOffStopsTheClock) {
  testing_support::ScratchFolder dir{testing_support::kWorkInside, {"data"}};
  startDebugLog();
  heard.clear();
  LiveMidi midi(openRecordingPort, true);
  ASSERT_TRUE(within(midi, [&midi] { return midi.midiOutState() == MidiOutState::kOn; }));
  EXPECT_NE(testing_support::readText("data/debug.txt").find("MIDI out: port Tidewell open on test service"), std::string::npos);
  Track track;  // no sample: middle C, as short as can be
  Hit hit;
  hit.trackIndex = 2;
  hit.frequency = 44100;
  hit.sampleRate = 44100;
  hit.delayMs = 5.0;
  midi.hit(track, hit);
  EXPECT_TRUE(within(midi, [] { return heardStatus(0x80); }));
  {
    std::lock_guard<std::mutex> lock(heardMutex);
    std::vector<std::uint8_t> on, off;
    for (const auto& m : heard) {
      if (m[0] == 0x92) on = m;
      if (m[0] == 0x82) off = m;
    }
    EXPECT_EQ(on, (std::vector<std::uint8_t>{0x92, 60, 127}));
    EXPECT_EQ(off.size(), 3u);
  }
  EXPECT_TRUE(heardStatus(0xF0));  // start and clocks
  midi.toggleMidiOut();
  EXPECT_TRUE(within(midi, [] {
    std::lock_guard<std::mutex> lock(heardMutex);
    return !heard.empty() && heard.back() == std::vector<std::uint8_t>{0xFC};
  }));
  EXPECT_EQ(midi.midiOutState(), MidiOutState::kOff);
}

}  // namespace
}  // namespace tidewell
