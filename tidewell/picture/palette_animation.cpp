// The palettes: their start ramps, and their slow animation, a fade one step
// per frame toward a target that is replaced at random.
#include "tidewell/common/random.h"
#include "tidewell/picture/picture.h"

namespace tidewell {
namespace {

void stepToward(std::uint8_t& current, std::uint8_t target) {
  if (current > target) --current;
  if (current < target) ++current;
}

std::uint8_t channelFor(int selector, int low, int high, int i) {
  if (selector < low) return linearRamp(i);
  if (selector > high) return steepRamp(i);
  return 0;
}

}  // namespace

void Picture::initPalettes() {
  for (int i = 0; i < kPaletteSize; ++i) {
    currentPalette[i] = {steepRamp(i), linearRamp(i), linearRamp(i), 0};
    targetPalette[i] = {linearRamp(i), steepRamp(i), 0, 0};
  }
}

void Picture::fadePalette() {
  for (int i = 0; i < kPaletteSize; ++i) {
    stepToward(currentPalette[i].red, targetPalette[i].red);
    stepToward(currentPalette[i].green, targetPalette[i].green);
    stepToward(currentPalette[i].blue, targetPalette[i].blue);
  }
  if (displayPalette) displayPalette->setEntries(0, 0, kPaletteSize, currentPalette);
}

void Picture::randomisePalette() {
  const int redSelector = drawRandom() % 100;
  const int greenSelector = drawRandom() % 100;
  const int blueSelector = drawRandom() % 100;
  const int mode = drawRandom() % 100;
  targetPaletteFromDraws(redSelector, greenSelector, blueSelector, mode);
}

void Picture::targetPaletteFromDraws(int redSelector, int greenSelector, int blueSelector, int mode) {
  const int low = mode > 50 ? 30 : 50;
  const int high = mode > 50 ? 70 : 60;
  for (int i = 0; i < kPaletteSize; ++i) {
    targetPalette[i] = {channelFor(redSelector, low, high, i),
                        channelFor(greenSelector, low, high, i),
                        channelFor(blueSelector, low, high, i), 0};
  }
}

void Picture::readDisplayPaletteBack() {
  if (displayPalette) displayPalette->getEntries(0, 0, kPaletteSize, currentPalette);
}

}  // namespace tidewell
