#pragma once
// Filling the display objects once they exist: the font picture, the palette,
// presentation of the back buffer and recovery of lost surfaces.

namespace tidewell {

// The font picture file, relative to the working directory.
constexpr const char* kFontPictureFile = "data/text";
constexpr const char* kPaletteResourceName = "swirlgate_bmp";

// Copies the font picture into fontSurface. False only when there is no
// memory context to copy through; a missing or unreadable picture leaves the
// surface as it is and still returns true.
bool loadFontSurface();

// Start ramps into both tables, the display palette created from
// currentPalette when there is none, and attached to the primary surface.
// Requires the embedded bitmap resource.
bool setUpPalette();

// Asks whether the program carries a named bitmap resource. Replaceable so
// that a missing resource can be exercised.
using ResourceCheck = bool (*)(const char* name);
extern ResourceCheck bitmapResourcePresent;

// Copies the back buffer onto the screen. A lost surface is restored and the
// copy retried, a busy one retried at once; anything else skips the frame.
void present();

// Restores the primary surface and the back buffer and sets up the palette
// again; true when both surfaces came back.
bool restoreSurfaces();

}  // namespace tidewell
