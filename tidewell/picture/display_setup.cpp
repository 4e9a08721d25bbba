#include "tidewell/picture/display_setup.h"

#include "resources/resources.h"
#include "tidewell/picture/display_objects.h"
#include "tidewell/picture/palettes.h"

namespace tidewell {
namespace {

bool embeddedResourcePresent(const char* name) { return resources::findResource(name) != nullptr; }

}  // namespace

ResourceCheck bitmapResourcePresent = &embeddedResourcePresent;

bool loadFontSurface() {
  if (!directDraw) return false;
  const auto bitmap = directDraw->loadBitmapFile(kFontPictureFile);
  if (platform::failed(directDraw->createMemoryContext())) return false;
  if (bitmap && fontSurface) {
    fontSurface->copyFromBitmap(*bitmap, kFontSurfaceSize, kFontSurfaceSize);
  }
  return true;
}

bool setUpPalette() {
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
