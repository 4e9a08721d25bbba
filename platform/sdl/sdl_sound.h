#pragma once
// The sound system on SDL2: one output device (48 kHz float stereo) whose
// audio callback renders the software mixer. When SDL can open no device,
// directSoundCreate fails and the program runs on silently.
//
// A device that goes away while the program runs (headphones pulled out) is
// noticed through SDL's device-removed event, or by a look at the device's
// state every quarter second: a watcher thread closes it and opens the
// default output again, so the voices play on where they were. While no
// output can be opened, the watcher renders the mixer into nothing at the
// output's pace, so hits still end in time, and tries again four times a
// second.
#include <SDL.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/api/sound.h"
#include "platform/sound/mixer.h"
#include "platform/sound/output_clock.h"

namespace platform::sdl {

class SdlSoundSystem : public SoundSystem {
 public:
  static constexpr int kFramesPerCallback = 512;

  SdlSoundSystem();
  ~SdlSoundSystem() override;

  HResult directSoundCreate(SoundDeviceRef* device) override;

  // The window layer calls this as focus comes and goes: the program is heard
  // only while its window has the focus.
  void setFocused(bool focused);

  sound::Mixer& mixer() { return *mixer_; }

  // Frames the device has taken from the mixer so far: the output's clock,
  // read from any thread.
  std::uint64_t framesRendered() const { return mixer_->framesRendered(); }

  // Times the output was opened again after it went away.
  int reopenCount() const { return reopens_.load(); }
  // SDL's number for the output device open now; 0 while there is none.
  SDL_AudioDeviceID outputDevice() const { return openedDevice_.load(); }
  // True while an output device is open and playing.
  bool outputOpen() const { return outputOpen_.load(); }
  // True if the thread feeding the device runs under real-time scheduling.
  bool realTime() const { return realTime_.load(); }

 private:
  static void SDLCALL callback(void* self, Uint8* stream, int bytes);
  static int SDLCALL watchEvents(void* self, SDL_Event* event);

  bool openDevice();
  void watch();
  bool deviceGone();

  std::shared_ptr<sound::Mixer> mixer_;
  sound::OutputClock outputClock_{sound::Mixer::kOutputRate};  // the mixer's frameNow()
  SDL_AudioDeviceID device_ = 0;  // owned by the watcher once it runs
  std::atomic<SDL_AudioDeviceID> openedDevice_{0};
  std::atomic<bool> outputOpen_{false};
  std::atomic<int> reopens_{0};
  std::thread::id raisedThread_;  // the device's thread, once raised: callbacks only
  std::atomic<bool> realTime_{false};

  std::mutex wakeMutex_;
  std::condition_variable wake_;
  bool removed_ = false;  // under wakeMutex_
  bool stopping_ = false;  // under wakeMutex_
  std::thread watcher_;
};

}  // namespace platform::sdl
