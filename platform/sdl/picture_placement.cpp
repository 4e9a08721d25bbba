#include "platform/sdl/picture_placement.h"

#include <algorithm>

namespace platform {

PicturePlacement placePicture(int outputWidth, int outputHeight, int pictureWidth,
                              int pictureHeight, bool wholeFactorOnly) {
  PicturePlacement placement;
  placement.pictureWidth = pictureWidth;
  placement.pictureHeight = pictureHeight;
  if (outputWidth <= 0 || outputHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0) {
    return placement;
  }
  int width, height;
  if (wholeFactorOnly) {
    const int factor =
        std::max(1, std::min(outputWidth / pictureWidth, outputHeight / pictureHeight));
    width = pictureWidth * factor;
    height = pictureHeight * factor;
    placement.wholeFactor = factor;
  } else {
    // Fill the height unless that would overflow the width.
    const long long byHeight = static_cast<long long>(outputHeight) * pictureWidth;
    if (byHeight <= static_cast<long long>(outputWidth) * pictureHeight) {
      height = outputHeight;
      width = static_cast<int>((byHeight + pictureHeight / 2) / pictureHeight);
    } else {
      width = outputWidth;
      height = static_cast<int>((static_cast<long long>(outputWidth) * pictureHeight +
                                 pictureWidth / 2) / pictureWidth);
    }
    const int upWidth = (width + pictureWidth - 1) / pictureWidth;
    const int upHeight = (height + pictureHeight - 1) / pictureHeight;
    placement.wholeFactor = std::max(1, std::max(upWidth, upHeight));
  }
  const int left = (outputWidth - width) / 2;
  const int top = (outputHeight - height) / 2;
  placement.box = {left, top, left + width, top + height};
  return placement;
}

}  // namespace platform
