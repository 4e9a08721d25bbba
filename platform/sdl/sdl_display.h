#pragma once
// The display over SDL2: the device is a renderer on the shell's window, the
// primary surface a streaming texture that the back buffer is converted into
// through the palette and drawn 400 x 300 scaled by a whole factor,
// nearest-neighbour and letterboxed. A render target or device reset is a
// lost primary surface.
#include "platform/api/display.h"

namespace platform {

class SdlDisplaySystem : public DisplaySystem {
 public:
  // Fails when SDL's video subsystem is not up.
  HResult createDisplayDevice(DisplayDeviceRef* out) override;
};

}  // namespace platform
