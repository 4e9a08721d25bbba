#pragma once
// The sound system on SDL2: one output device (48 kHz float stereo) whose
// audio callback renders the software mixer. When SDL can open no device,
// directSoundCreate fails and the program runs on silently.
#include <SDL.h>

#include <cstdint>
#include <memory>

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

 private:
  static void SDLCALL callback(void* self, Uint8* stream, int bytes);

  std::shared_ptr<sound::Mixer> mixer_;
  sound::OutputClock outputClock_{sound::Mixer::kOutputRate};  // the mixer's frameNow()
  SDL_AudioDeviceID device_ = 0;
};

}  // namespace platform::sdl
