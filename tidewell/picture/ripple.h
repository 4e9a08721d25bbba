#pragma once
// The wave step that spreads the field, and the copy of the field into the
// back buffer as palette indices.
#include <cstdint>

#include "tidewell/picture/intensity_maps.h"

namespace tidewell {

// One step of the two-buffer water ripple, source into target, neighbours
// wrapping at the edges, no damping, values clamped to 0..255; then the
// selector flips so the map just written becomes the source.
void rippleStep();

// The same step on explicit maps, without touching the selector.
void rippleStepMaps(const IntensityMap& source, IntensityMap& target);

// Writes the map into 8-bit pixels: row y, column x at y * pitch + x.
void copyMapToPixels(const IntensityMap& map, std::uint8_t* pixels, int pitch);

// Locks the back buffer and copies the source map into it; a failed lock
// skips the copy.
void drawIntensityMap();

// The frame's picture: the wave step (while enabled), then the copy.
void renderPicture();

}  // namespace tidewell
