#pragma once
// Sound capture over SDL2: each ring opens the default capture device in its
// exact format (no conversion; a format the device will not take is refused),
// and SDL's capture callback feeds the ring.
#include "platform/api/capture.h"

namespace platform {

class SdlCaptureSystem : public CaptureSystem {
 public:
  ~SdlCaptureSystem() override;
  // Fails when SDL's audio cannot start or there is no capture device.
  HResult directSoundCaptureCreate(std::shared_ptr<CaptureDevice>* device) override;

 private:
  bool audioStarted_ = false;
};

}  // namespace platform
