#pragma once
// A 400 x 300 grid of palette indices, stored x-major (one run of 300
// values per column), the wave step that spreads it and its copy into pixels.
#include <cstdint>

namespace tidewell {

constexpr int kPictureWidth = 400;
constexpr int kPictureHeight = 300;

struct alignas(16) IntensityMap {
  std::int32_t cells[kPictureWidth][kPictureHeight];

  std::int32_t& at(int x, int y) { return cells[x][y]; }
  std::int32_t at(int x, int y) const { return cells[x][y]; }
};

// A track's brightness from its volume in hundredths of a decibel:
// volume 0 gives 255, -2500 gives 127, -5000 and below give 0.
std::int32_t intensityForVolume(std::int32_t volume);

// One step of the two-buffer water ripple, source into target, neighbours
// wrapping at the edges, no damping, values clamped to 0..255.
void rippleStepMaps(const IntensityMap& source, IntensityMap& target);

// Writes the map into 8-bit pixels: row y, column x at y * pitch + x.
void copyMapToPixels(const IntensityMap& map, std::uint8_t* pixels, int pitch);

}  // namespace tidewell
