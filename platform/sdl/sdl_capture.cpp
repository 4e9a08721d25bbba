#include "platform/sdl/sdl_capture.h"

#include <SDL.h>

#include "platform/capture/capture_ring.h"
#include "platform/sdl/audio_identity.h"

namespace platform {

namespace {

// The SDL device behind one ring; it is opened paused and runs only while
// the ring captures.
class SdlCaptureStream : public CaptureStream {
 public:
  explicit SdlCaptureStream(SDL_AudioDeviceID device) : device_(device) {}
  ~SdlCaptureStream() override { SDL_CloseAudioDevice(device_); }
  HResult startStream() override {
    SDL_PauseAudioDevice(device_, 0);
    return kOk;
  }
  void stopStream() override { SDL_PauseAudioDevice(device_, 1); }

 private:
  SDL_AudioDeviceID device_;
};

void feedRing(void* userdata, Uint8* stream, int len) {
  static_cast<CaptureRing*>(userdata)->feed(stream, static_cast<std::size_t>(len));
}

class SdlCaptureDevice : public CaptureDevice {
 public:
  HResult createCaptureBuffer(const CaptureBufferDesc& desc, CaptureBufferRef* buffer) override {
    if (!buffer) return DSERR_INVALIDPARAM;
    if (const HResult rule = checkCaptureDesc(desc); failed(rule)) return rule;
    const WaveFormatEx& f = *desc.format;
    auto ring = std::make_shared<CaptureRing>(desc.bufferBytes, f);
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(f.samplesPerSec);
    wanted.format = f.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    wanted.channels = static_cast<Uint8>(f.channels);
    wanted.samples = 512;
    wanted.callback = &feedRing;
    wanted.userdata = ring.get();
    SDL_AudioSpec obtained{};
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 1, &wanted, &obtained, 0);
    if (device == 0) return DSERR_BADFORMAT;
    ring->attachStream(std::make_unique<SdlCaptureStream>(device));
    *buffer = ring;
    return kOk;
  }
};

}  // namespace

SdlCaptureSystem::~SdlCaptureSystem() {
  if (audioStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

HResult SdlCaptureSystem::directSoundCaptureCreate(std::shared_ptr<CaptureDevice>* device) {
  if (!audioStarted_) {
    sdl::announceAudioIdentity(sdl::kCaptureIdentity);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return DSERR_NODRIVER;
    audioStarted_ = true;
  }
  if (SDL_GetNumAudioDevices(1) < 1) return DSERR_NODRIVER;
  *device = std::make_shared<SdlCaptureDevice>();
  return kOk;
}

}  // namespace platform
