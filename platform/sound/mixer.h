#pragma once
// The software mixer: a fixed set of voice slots summed into 48 kHz float
// stereo. render() runs on the audio thread; every other call comes from the
// main thread. The two never share a lock: the main thread keeps its own
// picture of the voices and sends every change as a command through a
// lock-free ring, which the audio thread reads at the start of each block.
// Sample data that a command lets go of is freed later on the main thread,
// once the audio thread has said it no longer reads it. The audio thread
// never waits, allocates, frees or does I/O.
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/sound/decoded_sample.h"
#include "platform/sound/output_limiter.h"
#include "platform/sound/output_tap.h"
#include "platform/sound/sinc_kernel.h"
#include "platform/sound/spsc_ring.h"

namespace platform::sound {

// The data of a buffer and of all its duplicates: one copy. Main thread only.
struct SampleStore {
  std::vector<std::uint8_t> raw;  // what lock() hands out
  SampleLayout layout;
  std::shared_ptr<const DecodedSample> decoded;  // what the voices play
};

class Mixer {
 public:
  static constexpr int kOutputRate = 48000;
  static constexpr int kMaxVoices = 512;
  // Volume and pan move over 3 ms on a sounding voice; a voice stopped or
  // released while it sounds fades out over 5 ms, as does the whole output
  // when it is muted.
  static constexpr int kRampFrames = 144;
  static constexpr int kFadeFrames = 240;
  // Every frame leaves this much after it was mixed (the limiter's look-ahead);
  // scheduled starts allow for it, so a hit still lands on its output frame.
  static constexpr int kLatencyFrames = OutputLimiter::kDelayFrames;

  Mixer();
  ~Mixer();
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  // A free slot for a buffer playing from `store`, stopped at 0; -1 when full.
  int acquireVoice(SampleStore* store, std::uint32_t frequency);
  // Stops it (fading out if it sounds); the slot forgets its store. The
  // store's data stays alive until the audio thread has let go of it.
  void releaseVoice(int voice);

  void setGains(int voice, float left, float right);
  void setFrequency(int voice, std::uint32_t frequency);
  // From the current position, starting at output frame `startFrame` (on the
  // framesRendered() count); a frame already gone means as soon as possible.
  void play(int voice, std::uint64_t startFrame = 0);
  void stop(int voice);
  // True from play() until the hit has ended or been stopped.
  bool isPlaying(int voice);

  // Puts new data behind a store; every voice playing from it plays the new
  // data from its current position on. The old data is freed later.
  void replaceSample(SampleStore* store, std::shared_ptr<const DecodedSample> next);

  // Writes `frames` stereo frames into out (interleaved left, right).
  void render(int frames, float* out);

  // Frames rendered so far, counted as each block begins: a value read after
  // play() returns is at or past the block the hit is mixed into, and the hit
  // leaves by that frame plus kLatencyFrames.
  std::uint64_t framesRendered() const { return framesRendered_.load(std::memory_order_seq_cst); }

  // The output frame being played now, as the output layer estimates it
  // (by default the frames rendered so far). Main thread only.
  void setFrameClock(std::function<std::uint64_t()> clock) { frameClock_ = std::move(clock); }
  std::uint64_t frameNow() const { return frameClock_ ? frameClock_() : framesRendered(); }

  // Muted output still advances the voices, so hits end in time; the sound
  // fades out and back in rather than jumping.
  void setMuted(bool muted) { muted_.store(muted); }
  bool muted() const { return muted_.load(); }

  // Hands every finished block to tap (null: none). The tap must outlive
  // the audio thread's use of the mixer.
  void setOutputTap(OutputTap* tap) { tap_.store(tap, std::memory_order_release); }

  // Frames whose sum passed the limiter's ceiling, since the start.
  std::uint64_t limitedFrames() const { return limitedFrames_.load(std::memory_order_relaxed); }
  // Scheduled hits that reached the audio thread after their frame had gone.
  std::uint64_t lateStarts() const { return lateStarts_.load(std::memory_order_relaxed); }

 private:
  enum class CommandKind : std::uint8_t { kAcquire, kRelease, kGains, kFrequency, kPlay, kStop, kSample };
  struct Command {
    CommandKind kind = CommandKind::kStop;
    int voice = 0;
    const DecodedSample* sample = nullptr;
    const KernelTable* kernel = nullptr;
    std::uint64_t value = 0;  // the step, or the start frame
    float left = 0.0f;
    float right = 0.0f;
    std::uint32_t serial = 0;
  };

  // One voice as the audio thread plays it; a fading tail is one too.
  struct Voice {
    bool inUse = false;
    bool playing = false;
    std::uint32_t serial = 0;      // which play() this is
    std::uint64_t startFrame = 0;  // silent until the output reaches this frame
    const DecodedSample* sample = nullptr;
    std::uint64_t position = 0;  // 32.32 fixed point, in the buffer's own frames
    std::uint64_t step = 0;
    const KernelTable* kernel = nullptr;
    float gainLeft = 1.0f, gainRight = 1.0f;      // now
    float targetLeft = 1.0f, targetRight = 1.0f;  // where a ramp goes
    int rampLeft = 0;                              // frames of the ramp to go
    std::uint64_t heldSince = 0;                   // for a tail: the command that made it
  };

  // What the main thread knows of a slot.
  struct VoiceView {
    bool inUse = false;
    bool playing = false;
    std::uint32_t serial = 0;
    SampleStore* store = nullptr;
  };

  static constexpr std::size_t kRingSize = 4096;
  static constexpr int kMaxTails = 64;

  static std::uint64_t stepFor(std::uint32_t frequency);

  // Main thread.
  void send(const Command& command);
  void flushOverflow();
  void freeRetired();
  void retire(std::shared_ptr<const DecodedSample> sample);

  // Audio thread.
  void applyCommands(std::uint64_t mixStart);
  void apply(const Command& command, std::uint64_t mixStart);
  void fadeOut(Voice& voice, std::uint64_t mixStart);
  bool mixVoice(Voice& voice, int frames, float* out);
  void applyMasterGain(float* out, int frames);

  // Main thread's side.
  std::vector<VoiceView> views_;
  std::deque<Command> overflow_;  // commands waiting for room in the ring
  std::uint64_t commandsSent_ = 0;
  std::deque<std::pair<std::uint64_t, std::shared_ptr<const DecodedSample>>> retired_;
  std::function<std::uint64_t()> frameClock_;

  // Shared.
  SpscRing<Command, kRingSize> ring_;
  std::atomic<std::uint64_t> safeCommand_{0};  // data let go by commands up to here may be freed
  std::unique_ptr<std::atomic<std::uint32_t>[]> endedSerial_;  // per slot: the last hit that ran out
  std::atomic<bool> muted_{false};
  std::atomic<OutputTap*> tap_{nullptr};
  std::atomic<std::uint64_t> framesRendered_{0};
  std::atomic<std::uint64_t> limitedFrames_{0};
  std::atomic<std::uint64_t> lateStarts_{0};

  // Audio thread's side.
  std::vector<Voice> voices_;
  std::vector<Voice> tails_;
  std::vector<float> scratch_;
  std::uint64_t commandsApplied_ = 0;
  int highWater_ = 0;  // slots at and above this were never used
  float masterGain_ = 1.0f;
  OutputLimiter limiter_;
  const KernelBank& bank_;
};

}  // namespace platform::sound
