#include "tidewell/picture/picture.h"

namespace tidewell {

void Picture::initPalettes() {
  for (int i = 0; i < kPaletteSize; ++i) {
    currentPalette[i] = {steepRamp(i), linearRamp(i), linearRamp(i), 0};
    targetPalette[i] = {linearRamp(i), steepRamp(i), 0, 0};
  }
}

}  // namespace tidewell
