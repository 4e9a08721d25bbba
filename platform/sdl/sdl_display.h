#pragma once
// The display over SDL2: the device is a renderer on the shell's window, the
// primary surface stands for the window's output. Presenting converts the
// back buffer through the palette once, draws it 4:3 into the window with
// sharp scaling (or by a whole factor, letterboxed) and paces the frames to
// the refresh of the display the window is on. Alt+Enter switches between
// full screen and an 800 x 600 window. A render target or device reset is a
// lost primary surface.
#include "platform/api/display.h"

namespace platform {

struct SdlDisplayOptions {
  bool windowed = false;         // start in the window instead of full screen
  bool wholeFactorOnly = false;  // the largest whole factor, letterboxed
};

constexpr int kWindowedWidth = 800;
constexpr int kWindowedHeight = 600;

class SdlDisplaySystem : public DisplaySystem {
 public:
  SdlDisplaySystem() = default;
  explicit SdlDisplaySystem(const SdlDisplayOptions& options) : options_(options) {}
  // Fails when SDL's video subsystem is not up.
  HResult createDisplayDevice(DisplayDeviceRef* out) override;

 private:
  SdlDisplayOptions options_;
};

}  // namespace platform
