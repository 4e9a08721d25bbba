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

// Reads the display palette's 256 entries back into currentPalette.
void readDisplayPaletteBack();

}  // namespace tidewell
