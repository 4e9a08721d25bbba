#pragma once
// The two palette tables: the colours shown and the colours they fade toward.
#include <cstdint>

#include "platform/api/display.h"

namespace tidewell {

constexpr int kPaletteSize = 256;

extern platform::PaletteEntry currentPalette[kPaletteSize];
extern platform::PaletteEntry targetPalette[kPaletteSize];

// The two ramps every palette is built from.
inline std::uint8_t linearRamp(int i) { return static_cast<std::uint8_t>(i); }
inline std::uint8_t steepRamp(int i) {
  const int v = 3 * i - 512;
  return static_cast<std::uint8_t>(v < 0 ? 0 : v);
}

// Start colours: current is black through dark cyan whitening at the top,
// target is black through red turning orange and yellow at the top.
void initPalettes();

}  // namespace tidewell
