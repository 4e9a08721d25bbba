#pragma once
// The wave step that spreads the field, and the copy of the field into the
// back buffer as palette indices.
#include <cstdint>

#include "tidewell/picture/intensity_maps.h"

namespace tidewell {

// One step of the two-buffer water ripple, source into target, neighbours
// wrapping at the edges, no damping, values clamped to 0..255.
void rippleStepMaps(const IntensityMap& source, IntensityMap& target);

// Writes the map into 8-bit pixels: row y, column x at y * pitch + x.
void copyMapToPixels(const IntensityMap& map, std::uint8_t* pixels, int pitch);

}  // namespace tidewell
