#pragma once
// The picture's field of intensities: two 400 x 300 grids of palette indices,
// stored x-major (one run of 300 values per column). Tracks plot into the
// source map; the ripple step reads the source and writes the target.
#include <cstdint>

namespace tidewell {

constexpr int kPictureWidth = 400;
constexpr int kPictureHeight = 300;

struct alignas(16) IntensityMap {
  std::int32_t cells[kPictureWidth][kPictureHeight];

  std::int32_t& at(int x, int y) { return cells[x][y]; }
  std::int32_t at(int x, int y) const { return cells[x][y]; }
};

extern IntensityMap maps[2];
extern std::uint8_t mapSelector;    // 1: map 1 is the source, 0: map 0 is
extern std::uint8_t rippleEnabled;  // the ripple step runs while set

inline IntensityMap& sourceMap() { return maps[mapSelector != 0 ? 1 : 0]; }
inline IntensityMap& targetMap() { return maps[mapSelector != 0 ? 0 : 1]; }

// Start state: every cell of both maps 50, map 1 the source, ripple on.
void resetIntensityMaps();

// A track's brightness from its volume in hundredths of a decibel:
// volume 0 gives 255, -2500 gives 127, -5000 and below give 0.
std::int32_t intensityForVolume(std::int32_t volume);

// Writes a cross into the source map: a vertical line at column plotX and a
// horizontal line at row plotY, each one cell short of both borders.
void plotCross(std::int32_t intensity, std::int32_t plotX, std::int32_t plotY);

}  // namespace tidewell
