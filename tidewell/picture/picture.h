#pragma once
// The picture of the main program and everything it is drawn with: the two
// intensity maps, the two palette tables and the display objects. Tracks
// plot into the source map, the ripple spreads it, the palette fades, the
// overlay is drawn on top and the back buffer is presented.
#include <cstdint>

#include "platform/api/display.h"
#include "tidewell/picture/intensity_maps.h"
#include "tidewell/picture/picture_context.h"

namespace tidewell {

constexpr int kFontSurfaceSize = 256;
constexpr int kPaletteSize = 256;
// The font picture file, relative to the working directory.
constexpr const char* kFontPictureFile = "data/text";
constexpr const char* kPaletteResourceName = "swirlgate_bmp";

// The two ramps every palette is built from.
inline std::uint8_t linearRamp(int i) { return static_cast<std::uint8_t>(i); }
inline std::uint8_t steepRamp(int i) {
  const int v = 3 * i - 512;
  return static_cast<std::uint8_t>(v < 0 ? 0 : v);
}

// The outcome of createDisplay: success, or the failing step's code and text.
struct DisplayStartup {
  platform::HResult result = platform::kOk;
  const char* message = nullptr;  // null on success
  bool ok() const { return message == nullptr; }
};

// Asks whether the program carries a named bitmap resource. Replaceable so
// that a missing resource can be exercised.
using ResourceCheck = bool (*)(const char* name);
bool embeddedResourcePresent(const char* name);

class Picture {
 public:
  // --- The field of intensities ---
  IntensityMap maps[2];
  std::uint8_t mapSelector = 1;    // 1: map 1 is the source, 0: map 0 is
  std::uint8_t rippleEnabled = 1;  // the ripple step runs while set
  IntensityMap& sourceMap() { return maps[mapSelector != 0 ? 1 : 0]; }
  IntensityMap& targetMap() { return maps[mapSelector != 0 ? 0 : 1]; }
  // Start state: every cell of both maps 50, map 1 the source, ripple on.
  void resetIntensityMaps();
  // Writes a cross into the source map: a vertical line at column plotX and a
  // horizontal line at row plotY, each one cell short of both borders.
  void plotCross(std::int32_t intensity, std::int32_t plotX, std::int32_t plotY);
  // One wave step, source into target; then the map just written becomes the source.
  void rippleStep();
  // Locks the back buffer and copies the source map into it; a failed lock
  // skips the copy.
  void drawIntensityMap();
  // The frame's picture: the wave step (while enabled), then the copy.
  void renderPicture();

  // --- The palettes: the colours shown and the colours they fade toward ---
  platform::PaletteEntry currentPalette[kPaletteSize];
  platform::PaletteEntry targetPalette[kPaletteSize];
  // Start colours: current is black through dark cyan whitening at the top,
  // target is black through red turning orange and yellow at the top.
  void initPalettes();
  // Moves every red, green and blue byte of currentPalette one step toward
  // targetPalette, then writes currentPalette into the display palette.
  void fadePalette();
  // Four draws pick a new target: per channel the linear ramp, the steep ramp
  // or black. currentPalette is left to fade toward it.
  void randomisePalette();
  // The target those four draws (each 0..99) give: per channel, a selector
  // below the band takes the linear ramp, above it the steep ramp, inside it
  // (bounds included) black; the band is 30..70 for a mode above 50, else 50..60.
  void targetPaletteFromDraws(int redSelector, int greenSelector, int blueSelector, int mode);
  // Reads the display palette's 256 entries back into currentPalette.
  void readDisplayPaletteBack();

  // --- The display objects, created in six steps and released in a fixed order ---
  platform::DisplayDeviceRef directDraw;
  platform::DisplaySurfaceRef primarySurface;
  platform::DisplaySurfaceRef backBuffer;   // every frame is drawn here
  platform::DisplaySurfaceRef fontSurface;  // the 256 x 256 glyph picture
  platform::DisplayPaletteRef displayPalette;
  // The window the display was created on; presents go to its client area.
  platform::WindowHandle displayWindow = nullptr;
  ResourceCheck bitmapResourcePresent = &embeddedResourcePresent;
  // Creates the device, takes the window full-screen at 400 x 300 x 8 and makes
  // the primary surface, the back buffer and the font surface, stopping at the
  // first step that fails.
  DisplayStartup createDisplay(platform::DisplaySystem* system, platform::WindowHandle window);
  // Releases the primary surface, the back buffer, the palette and then the
  // device. A second call finds nothing to release.
  void releaseDisplayObjects();
  // Copies the font picture into fontSurface. False only when there is no
  // memory context to copy through; a missing or unreadable picture leaves the
  // surface as it is and still returns true.
  bool loadFontSurface();
  // Start ramps into both tables, the display palette created from
  // currentPalette when there is none, and attached to the primary surface.
  // Requires the embedded bitmap resource.
  bool setUpPalette();
  // Copies the back buffer onto the screen. A lost surface is restored and the
  // copy retried, a busy one retried at once; anything else skips the frame.
  void present();
  // Restores the primary surface and the back buffer and sets up the palette
  // again; true when both surfaces came back.
  bool restoreSurfaces();

  // --- The text overlay ---
  // Draws text with its first cell's top-left corner at (x, y); every character
  // advances 8 pixels. A cell not wholly on the back buffer is not drawn.
  void drawText(int x, int y, const char* text);
  // The layers, each drawn in full when it is on, in this order: sequencer
  // info, help, sample names; then the recording mark whatever layers are on.
  void drawHud(const PictureContext& context);
  void drawSequencerInfo(const PictureContext& context);
  void drawHelp();
  void drawWavNames(const PictureContext& context);
  // Above the info line's end: "Link" and the number of peers, with "!" while
  // the session's tempo is beyond the sequencer's, "Link -" without a
  // network; nothing while off.
  void drawLinkMark(LinkMark mark, int peers);
  // "REC" at the top right behind a disc while recording, behind a cross when
  // recording failed; nothing when off.
  void drawRecordingMark(RecordingState state);

 private:
  void drawCell(int x, int y, const platform::Rect& cell);
};

}  // namespace tidewell
