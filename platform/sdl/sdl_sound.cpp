#include "platform/sdl/sdl_sound.h"

#include "platform/sound/software_sound.h"

namespace platform::sdl {

SdlSoundSystem::SdlSoundSystem() : mixer_(std::make_shared<sound::Mixer>()) {
  mixer_->setFrameClock([this] { return outputClock_.frameAt(sound::outputClockNowMs(), framesRendered()); });
}

SdlSoundSystem::~SdlSoundSystem() {
  mixer_->setFrameClock(nullptr);
  if (device_ != 0) SDL_CloseAudioDevice(device_);
}

HResult SdlSoundSystem::directSoundCreate(SoundDeviceRef* device) {
  if (device == nullptr) return DSERR_INVALIDPARAM;
  if (device_ == 0) {
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return DSERR_NODRIVER;
    SDL_AudioSpec want{};
    want.freq = sound::Mixer::kOutputRate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = kFramesPerCallback;
    want.callback = &SdlSoundSystem::callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // SDL converts if the card wants something else; we always render 48 kHz float stereo.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) return DSERR_NODRIVER;
    SDL_PauseAudioDevice(device_, 0);
  }
  *device = std::make_shared<sound::SoftwareSoundDevice>(mixer_);
  return kOk;
}

void SdlSoundSystem::setFocused(bool focused) { mixer_->setMuted(!focused); }

void SDLCALL SdlSoundSystem::callback(void* self, Uint8* stream, int bytes) {
  auto* system = static_cast<SdlSoundSystem*>(self);
  const int frames = bytes / static_cast<int>(2 * sizeof(float));
  system->outputClock_.blockStarted(system->framesRendered(), frames, sound::outputClockNowMs());
  system->mixer_->render(frames, reinterpret_cast<float*>(stream));
}

}  // namespace platform::sdl
