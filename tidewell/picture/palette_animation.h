#pragma once
// The palette's slow animation: a fade one step per frame toward a target
// that is replaced at random.

namespace tidewell {

// Moves every red, green and blue byte of currentPalette one step toward
// targetPalette, then writes currentPalette into the display palette.
void fadePalette();

// Four draws pick a new target: per channel the linear ramp, the steep ramp
// or black. currentPalette is left to fade toward it.
void randomisePalette();

// The target those four draws (each 0..99) give: per channel, a selector
// below the band takes the linear ramp, above it the steep ramp, inside it
// (bounds included) black; the band is 30..70 for a mode above 50, else
// 50..60.
void targetPaletteFromDraws(int redSelector, int greenSelector, int blueSelector, int mode);

// Reads the display palette's 256 entries back into currentPalette.
void readDisplayPaletteBack();

}  // namespace tidewell
