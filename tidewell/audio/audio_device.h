#pragma once
// Owner of the sound output device, its primary buffer and the primary
// buffer's 3D listener. The tracks create their buffers on soundDevice.
#include "platform/api/sound.h"

namespace tidewell {

class AudioDevice {
 public:
  explicit AudioDevice(platform::SoundSystem* system);

  // Opens the default output device; 0 or the first failing result. The
  // references obtained before a failure stay set.
  platform::HResult initialise(platform::WindowHandle window);

  platform::SoundDeviceRef soundDevice;
  platform::SoundBufferRef primaryBuffer;
  std::shared_ptr<platform::SoundListener3D> listener;

 private:
  platform::SoundSystem* system_;
};

}  // namespace tidewell
