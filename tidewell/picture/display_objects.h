#pragma once
// The display objects of the main program and their life cycle: creation in
// six steps at start-up, release in a fixed order when the window goes.
#include "platform/api/display.h"

namespace tidewell {

constexpr int kFontSurfaceSize = 256;

extern platform::DisplayDeviceRef directDraw;
extern platform::DisplaySurfaceRef primarySurface;
extern platform::DisplaySurfaceRef backBuffer;  // every frame is drawn here
extern platform::DisplaySurfaceRef fontSurface;  // the 256 x 256 glyph picture
extern platform::DisplayPaletteRef displayPalette;
// The window the display was created on; presents go to its client area.
extern platform::WindowHandle displayWindow;

// The outcome of createDisplay: success, or the failing step's code and text.
struct DisplayStartup {
  platform::HResult result = platform::kOk;
  const char* message = nullptr;  // null on success
  bool ok() const { return message == nullptr; }
};

// Creates the device, takes the window full-screen at 400 x 300 x 8 and makes
// the primary surface, the back buffer and the font surface, stopping at the
// first step that fails.
DisplayStartup createDisplay(platform::DisplaySystem* system, platform::WindowHandle window);

// Releases the primary surface, the back buffer, the palette and then the
// device. A second call finds nothing to release.
void releaseDisplayObjects();

}  // namespace tidewell
