#include "tidewell/picture/palettes.h"

namespace tidewell {

platform::PaletteEntry currentPalette[kPaletteSize];
platform::PaletteEntry targetPalette[kPaletteSize];

void initPalettes() {
  for (int i = 0; i < kPaletteSize; ++i) {
    currentPalette[i] = {steepRamp(i), linearRamp(i), linearRamp(i), 0};
    targetPalette[i] = {linearRamp(i), steepRamp(i), 0, 0};
  }
}

}  // namespace tidewell
