// Filling the display objects once they exist: the font picture and the palette.
#include "resources/resources.h"
#include "tidewell/picture/picture.h"

namespace tidewell {

bool embeddedResourcePresent(const char* name) { return resources::findResource(name) != nullptr; }

bool Picture::loadFontSurface() {
  if (!directDraw) return false;
  const auto bitmap = directDraw->loadBitmapFile(kFontPictureFile);
  if (platform::failed(directDraw->createMemoryContext())) return false;
  if (bitmap && fontSurface) {
    fontSurface->copyFromBitmap(*bitmap, kFontSurfaceSize, kFontSurfaceSize);
  }
  return true;
}

bool Picture::setUpPalette() {
  if (bitmapResourcePresent == nullptr || !bitmapResourcePresent(kPaletteResourceName)) {
    return false;
  }
  initPalettes();
  if (!displayPalette) {
    if (!directDraw) return false;
    const platform::HResult result =
        directDraw->createPalette(platform::DDPCAPS_8BIT, currentPalette, &displayPalette);
    if (result != platform::kOk) {
      displayPalette.reset();
      return false;
    }
  }
  if (primarySurface) primarySurface->setPalette(displayPalette);
  return true;
}

}  // namespace tidewell
