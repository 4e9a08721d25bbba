#pragma once
// Sharp scaling done in one pass on the CPU, straight from palette indices
// to the output's size: the same picture as blowing the source up
// nearest-neighbour by a whole factor and shrinking that linearly to the
// destination, without the intermediate picture. Most output pixels come
// from one source pixel; only where a block edge falls inside an output
// pixel are two source pixels blended, so every source pixel stays a crisp
// block with at most a one-pixel blended seam.
#include <cstdint>
#include <vector>

namespace platform {

// Where one output column (or row) takes its colour: source pixel `first`,
// blended with first + 1 by weight / 256 (0: first alone).
struct ScaleTap {
  std::uint16_t first = 0;
  std::uint16_t weight = 0;
};

// The taps of `destSize` output pixels over `sourceSize` source pixels
// blown up by `wholeFactor` (at least 1) and shrunk linearly.
std::vector<ScaleTap> sharpScaleTaps(int sourceSize, int destSize, int wholeFactor);

// Taps in a row that are alike, taken together: a block's pure pixels are
// one run, filled with one colour.
struct ScaleRun {
  ScaleTap tap;
  std::uint16_t length = 0;
};
std::vector<ScaleRun> scaleRuns(const std::vector<ScaleTap>& taps);

// Fills a destination of (the columns' total length) x rows.size() ARGB
// pixels (rows destPitch bytes apart) from the indices through the lookup.
// rowScratch holds two rows of the destination's width.
void sharpScaleIndexed(const std::uint8_t* source, int sourcePitch,
                       const std::uint32_t lookup[256], const std::vector<ScaleRun>& columns,
                       const std::vector<ScaleTap>& rows, std::uint32_t* dest, int destPitch,
                       std::uint32_t* rowScratch);

// Mixes two ARGB pixels, weight / 256 of the second; alpha is opaque.
inline std::uint32_t blendArgb(std::uint32_t a, std::uint32_t b, std::uint32_t weight) {
  const std::uint32_t keep = 256 - weight;
  const std::uint32_t redBlue = (((a & 0xFF00FFu) * keep + (b & 0xFF00FFu) * weight) >> 8) & 0xFF00FFu;
  const std::uint32_t green = (((a & 0x00FF00u) * keep + (b & 0x00FF00u) * weight) >> 8) & 0x00FF00u;
  return 0xFF000000u | redBlue | green;
}

}  // namespace platform
