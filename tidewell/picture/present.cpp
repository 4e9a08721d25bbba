// Presentation of the back buffer and recovery of lost surfaces.
#include "tidewell/picture/picture.h"

namespace tidewell {
namespace {

// A device that keeps answering "busy" or keeps losing the surface right after
// a good restore would otherwise hold the thread here for ever; past this many
// retries the frame is given up like any other failed one.
constexpr int kMaxPresentRetries = 1000;

}  // namespace

void Picture::present() {
  if (!directDraw || !primarySurface || !backBuffer) return;
  const platform::Rect source{0, 0, kPictureWidth, kPictureHeight};
  platform::Rect dest{0, 0, kPictureWidth, kPictureHeight};
  directDraw->getClientRect(displayWindow, &dest);
  for (int attempt = 0; attempt <= kMaxPresentRetries; ++attempt) {
    const platform::HResult result = primarySurface->blt(&dest, backBuffer.get(), &source, 0);
    if (result == platform::kOk) return;
    if (result == platform::DDERR_SURFACELOST) {
      if (!restoreSurfaces()) return;
    } else if (result != platform::DDERR_WASSTILLDRAWING) {
      return;
    }
  }
}

bool Picture::restoreSurfaces() {
  bool restored = primarySurface && primarySurface->restore() == platform::kOk;
  if (restored) restored = backBuffer && backBuffer->restore() == platform::kOk;
  // The font surface is not restored: it is plain memory and keeps its picture.
  setUpPalette();
  return restored;
}

}  // namespace tidewell
