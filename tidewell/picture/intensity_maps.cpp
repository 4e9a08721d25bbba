#include "tidewell/picture/picture.h"

#include <algorithm>

namespace tidewell {

void Picture::resetIntensityMaps() {
  for (IntensityMap& map : maps) {
    std::fill(&map.cells[0][0], &map.cells[0][0] + kPictureWidth * kPictureHeight, 50);
  }
  mapSelector = 1;
  rippleEnabled = 1;
}

std::int32_t intensityForVolume(std::int32_t volume) {
  // Done in double with the double constant: -4020 gives 49, since 980 / 19.6
  // comes out just below 50. Clamped before the conversion so that no volume
  // can overflow the integer.
  const double level = (static_cast<double>(volume) + 5000.0) / 19.6;
  if (level < 0.0) return 0;
  if (level > 255.0) return 255;
  return static_cast<std::int32_t>(level);
}

void Picture::plotCross(std::int32_t intensity, std::int32_t plotX, std::int32_t plotY) {
  // A pan of exactly 10000 or a frequency of exactly 100000 lands one past the
  // grid; such a line goes on the last column or row.
  const int column = std::clamp(plotX, 0, kPictureWidth - 1);
  const int row = std::clamp(plotY, 0, kPictureHeight - 1);
  IntensityMap& map = sourceMap();
  for (int y = 1; y <= kPictureHeight - 2; ++y) map.at(column, y) = intensity;
  for (int x = 1; x <= kPictureWidth - 2; ++x) map.at(x, row) = intensity;
}

}  // namespace tidewell
