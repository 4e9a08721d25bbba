#include "tidewell/audio/audio_device.h"

namespace tidewell {

AudioDevice::AudioDevice(platform::SoundSystem* system) : system_(system) {}

platform::HResult AudioDevice::initialise(platform::WindowHandle window) {
  if (system_ == nullptr) return platform::DSERR_NODRIVER;

  platform::HResult result = system_->directSoundCreate(&soundDevice);
  if (result != platform::kOk) return result;

  result = soundDevice->setCooperativeLevel(window, platform::DSSCL_EXCLUSIVE);
  if (result != platform::kOk) return result;

  // The primary buffer runs at the device's own format: no size, no format.
  platform::SoundBufferDesc primary;
  primary.size = 36;
  primary.flags = platform::DSBCAPS_PRIMARYBUFFER | platform::DSBCAPS_CTRL3D;
  result = soundDevice->createSoundBuffer(primary, &primaryBuffer);
  if (result != platform::kOk) return result;

  return primaryBuffer->queryListener(&listener);
}

}  // namespace tidewell
