#pragma once
// The picture and all it is drawn with: tracks plot into the source map, the
// ripple spreads it, the palette fades, the overlay goes on top and the back
// buffer is presented.
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
  // One wave step, source into target; the map written becomes the source.
  void rippleStep();
  void drawIntensityMap();  // into the back buffer; a failed lock skips the copy
  void renderPicture();     // the wave step (while enabled), then the copy

  platform::PaletteEntry currentPalette[kPaletteSize];  // the colours shown
  platform::PaletteEntry targetPalette[kPaletteSize];   // the colours they fade toward
  // Start colours: current is black through dark cyan whitening at the top,
  // target is black through red turning orange and yellow at the top.
  void initPalettes();
  // Every colour byte one step toward the target, then into the display palette.
  void fadePalette();
  // Four draws pick a new target: per channel the linear ramp, the steep ramp or black.
  void randomisePalette();
  // The target those four draws (each 0..99) give: per channel, a selector
  // below the band takes the linear ramp, above it the steep ramp, inside it
  // (bounds included) black; the band is 30..70 for a mode above 50, else 50..60.
  void targetPaletteFromDraws(int redSelector, int greenSelector, int blueSelector, int mode);
  void readDisplayPaletteBack();  // the display palette's entries into currentPalette

  platform::DisplayDeviceRef directDraw;
  platform::DisplaySurfaceRef primarySurface;
  platform::DisplaySurfaceRef backBuffer;   // every frame is drawn here
  platform::DisplaySurfaceRef fontSurface;  // the 256 x 256 glyph picture
  platform::DisplayPaletteRef displayPalette;
  platform::WindowHandle displayWindow = nullptr;  // presents go to its client area
  ResourceCheck bitmapResourcePresent = &embeddedResourcePresent;
  // Device, full screen at 400 x 300 x 8, primary surface, back buffer and font
  // surface, stopping at the first step that fails.
  DisplayStartup createDisplay(platform::DisplaySystem* system, platform::WindowHandle window);
  // Primary surface, back buffer, palette, then the device; a second call finds nothing.
  void releaseDisplayObjects();
  // False only without a memory context to copy through; a missing or
  // unreadable font picture leaves the surface as it is.
  bool loadFontSurface();
  // Start ramps, the display palette made from them when there is none and
  // attached to the primary surface; requires the embedded bitmap resource.
  bool setUpPalette();
  // A lost surface is restored and the copy retried, a busy one retried at
  // once; anything else skips the frame.
  void present();
  // Primary surface, back buffer, then the palette again; true when both came back.
  bool restoreSurfaces();

  // Text from (x, y), 8 pixels a character; a cell not wholly on the back buffer is left out.
  void drawText(int x, int y, const char* text);
  // The layers, each drawn in full when it is on, in this order: sequencer
  // info, help, sample names; then the recording mark whatever layers are on.
  void drawHud(const PictureContext& context);
  void drawSequencerInfo(const PictureContext& context);
  void drawHelp();
  void drawWavNames(const PictureContext& context);
  // Above the info line's end: "Link" and the number of peers, "!" while the
  // session's tempo is beyond the sequencer's, "Link -" without a network.
  void drawLinkMark(LinkMark mark, int peers);
  // "REC" behind a disc while recording, behind a cross when it failed.
  void drawRecordingMark(RecordingState state);

 private:
  void drawCell(int x, int y, const platform::Rect& cell);
};

}  // namespace tidewell
