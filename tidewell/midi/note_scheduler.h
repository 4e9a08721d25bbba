#pragma once
// One hit, one note. Turns each sounding hit into the channel messages that
// start it (controller 10 when the pan moved, pitch bend when the channel is
// free to take one, note-on) and holds its note-off until the moment the
// sample would end at its playback rate. Times are output frames at 48 kHz.
#include <cstdint>
#include <vector>

namespace tidewell::midi {

constexpr int kChannels = 8;
constexpr std::uint32_t kFramesPerSecond = 48000;

struct MidiHit {
  int channel = 0;  // 0..7: the track's place among the active tracks
  std::int32_t volume = 0;
  std::int32_t pan = 0;
  std::uint32_t frequency = 0;   // playback rate, Hz
  std::uint32_t sampleRate = 0;  // the sample's own rate, Hz
  std::uint64_t sampleFrames = 0;
  std::uint64_t startFrame = 0;
};

struct TimedMessage {
  std::uint64_t frame = 0;
  int channel = 0;
  std::uint8_t size = 0;
  std::uint8_t bytes[3] = {0, 0, 0};
};

class NoteScheduler {
 public:
  // Appends the note-offs due by the hit's start, then the hit's own
  // messages. A note still sounding on the same channel and key ends at the
  // new note's start, so every note-on has exactly one note-off after it.
  void addHit(const MidiHit& hit, std::vector<TimedMessage>& out);
  // Appends the held note-offs due at or before `frame`, in time order.
  void releaseUntil(std::uint64_t frame, std::vector<TimedMessage>& out);
  // Ends every sounding note, each at its own end or at `latest` if sooner.
  void releaseAll(std::uint64_t latest, std::vector<TimedMessage>& out);
  // Forgets the pan and bend sent, so the next note of each channel sends them again.
  void forgetChannelState();

  // Output frames that `sampleFrames` of a sample played at `frequency` last (1 at least).
  static std::uint64_t soundingFrames(std::uint64_t sampleFrames, std::uint32_t frequency);

 private:
  struct Sounding {
    int key = 0;
    std::uint64_t endFrame = 0;
  };
  struct Channel {
    int panSent = -1;           // controller 10 value last sent, -1 none
    double bendSemitones = 0;   // the bend set on the channel
    bool bendSent = false;
    std::vector<Sounding> notes;
  };
  static TimedMessage noteOff(int channel, int key, std::uint64_t frame);

  Channel channels_[kChannels];
};

}  // namespace tidewell::midi
