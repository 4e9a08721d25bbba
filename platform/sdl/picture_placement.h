#pragma once
// Where the picture lands on the window's output and how it gets there. The
// picture keeps its 4:3 shape and fills the height (or the width, on a tall
// output), centred with black borders on the other axis. Sharp scaling blows
// it up nearest-neighbour by the smallest whole factor at or above the
// target and then shrinks that linearly to the exact size, so every picture
// pixel stays a crisp block with at most a one-pixel blended seam. The
// whole-factor mode keeps the largest whole factor that fits instead.
#include "platform/api/display.h"

namespace platform {

struct PicturePlacement {
  Rect box;             // on the output; right and bottom exclusive
  int wholeFactor = 1;  // the nearest-neighbour step
  int pictureWidth = 0;
  int pictureHeight = 0;
  // False when the nearest-neighbour step alone gives the box's size.
  bool needsLinearPass() const {
    return box.right - box.left != pictureWidth * wholeFactor ||
           box.bottom - box.top != pictureHeight * wholeFactor;
  }
};

PicturePlacement placePicture(int outputWidth, int outputHeight, int pictureWidth,
                              int pictureHeight, bool wholeFactorOnly);

}  // namespace platform
