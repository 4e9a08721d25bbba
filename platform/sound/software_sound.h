#pragma once
// A sound device whose secondary buffers are voices of a software Mixer.
// The SDL layer feeds the mixer to the sound card; tests render it directly.
#include <memory>

#include "platform/api/sound.h"
#include "platform/sound/mixer.h"

namespace platform::sound {

class SoftwareSoundDevice : public SoundDevice {
 public:
  explicit SoftwareSoundDevice(std::shared_ptr<Mixer> mixer);

  HResult setCooperativeLevel(WindowHandle window, std::uint32_t level) override;
  HResult createSoundBuffer(const SoundBufferDesc& desc, SoundBufferRef* buffer) override;
  HResult duplicateSoundBuffer(const SoundBufferRef& original, SoundBufferRef* duplicate) override;

  Mixer& mixer() { return *mixer_; }

 private:
  std::shared_ptr<Mixer> mixer_;
};

// A system that hands out software devices over one mixer (for tests and tools).
class SoftwareSoundSystem : public SoundSystem {
 public:
  explicit SoftwareSoundSystem(std::shared_ptr<Mixer> mixer) : mixer_(std::move(mixer)) {}
  HResult directSoundCreate(SoundDeviceRef* device) override;

 private:
  std::shared_ptr<Mixer> mixer_;
};

}  // namespace platform::sound
