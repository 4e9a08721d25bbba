#pragma once
// The software mixer: a fixed set of voice slots summed into 48 kHz float
// stereo. render() runs on the audio thread; every other call comes from the
// main thread. Both sides meet under one mutex held only for short, fixed
// work: nothing is allocated or freed while it is held by the audio side.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/sound/decoded_sample.h"
#include "platform/sound/output_tap.h"
#include "platform/sound/sinc_kernel.h"

namespace platform::sound {

// The data of a buffer and of all its duplicates: one copy.
struct SampleStore {
  std::vector<std::uint8_t> raw;  // what lock() hands out; touched by the main thread only
  SampleLayout layout;
  std::shared_ptr<const DecodedSample> decoded;  // what the voices play; swapped under the mutex
};

class Mixer {
 public:
  static constexpr int kOutputRate = 48000;
  static constexpr int kMaxVoices = 512;

  Mixer();

  // A free slot for a buffer playing from `store`, stopped at 0; -1 when full.
  int acquireVoice(SampleStore* store, std::uint32_t frequency);
  void releaseVoice(int voice);  // stops it; the slot forgets its store

  void setGains(int voice, float left, float right);
  void setFrequency(int voice, std::uint32_t frequency);
  // From the current position, starting at output frame `startFrame` (on the
  // framesRendered() count); a frame already rendered means the next one.
  void play(int voice, std::uint64_t startFrame = 0);
  void stop(int voice);
  bool isPlaying(int voice);

  // Puts new data behind a store; the old data is handed back so the caller
  // frees it outside the lock.
  std::shared_ptr<const DecodedSample> replaceSample(SampleStore* store,
                                                     std::shared_ptr<const DecodedSample> next);

  // Writes `frames` stereo frames into out (interleaved left, right).
  void render(int frames, float* out);

  // Frames rendered so far. Counted under the lock with the voices' advance,
  // so a value read after play() returns is at or past where the hit starts.
  std::uint64_t framesRendered() const { return framesRendered_.load(std::memory_order_acquire); }

  // The output frame being played now, as the output layer estimates it
  // (by default the frames rendered so far). Main thread only.
  void setFrameClock(std::function<std::uint64_t()> clock) { frameClock_ = std::move(clock); }
  std::uint64_t frameNow() const { return frameClock_ ? frameClock_() : framesRendered(); }

  // Muted output still advances the voices, so hits end in time.
  void setMuted(bool muted) { muted_.store(muted); }
  bool muted() const { return muted_.load(); }

  // Hands every finished block to tap (null: none). The tap must outlive
  // the audio thread's use of the mixer.
  void setOutputTap(OutputTap* tap) { tap_.store(tap, std::memory_order_release); }

 private:
  struct Voice {
    bool inUse = false;
    bool playing = false;
    std::uint64_t startFrame = 0;  // silent until the output reaches this frame
    SampleStore* store = nullptr;
    std::uint64_t position = 0;  // 32.32 fixed point, in the buffer's own frames
    std::uint64_t step = 0;
    const KernelTable* kernel = nullptr;
    float gainLeft = 1.0f;
    float gainRight = 1.0f;
  };

  static std::uint64_t stepFor(std::uint32_t frequency);
  void mixVoice(Voice& voice, int frames, float* out);

  std::mutex mutex_;
  std::vector<Voice> voices_;
  int highWater_ = 0;  // slots at and above this were never used
  std::function<std::uint64_t()> frameClock_;
  std::atomic<bool> muted_{false};
  std::atomic<OutputTap*> tap_{nullptr};
  std::atomic<std::uint64_t> framesRendered_{0};
  const KernelBank& bank_;
};

}  // namespace platform::sound
