// The display objects through their life: creation in six steps at
// start-up, the font picture and the palette, presentation of the back
// buffer with recovery of lost surfaces, and release in a fixed order.
#include "resources/resources.h"
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

DisplayStartup Picture::createDisplay(platform::DisplaySystem* system, platform::WindowHandle window) {
  using namespace platform;
  displayWindow = window;
  if (system == nullptr) return {E_FAIL, "DirectDrawCreateEx FAILED"};
  HResult result = system->createDisplayDevice(&directDraw);
  if (result != kOk || !directDraw) {
    return {result != kOk ? result : E_FAIL, "DirectDrawCreateEx FAILED"};
  }
  result = directDraw->setCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN);
  if (result != kOk) return {result, "SetCooperativeLevel FAILED"};
  result = directDraw->setDisplayMode(kPictureWidth, kPictureHeight, 8);
  if (result != kOk) return {result, "SetDisplayMode FAILED"};
  result = directDraw->createSurface({SurfaceKind::primary, 0, 0}, &primarySurface);
  if (result != kOk) return {result, "CreateSurface FAILED"};

  // For the two off-screen surfaces only the surface itself counts; the code
  // reported is that of the step before.
  const HResult primaryResult = result;
  const HResult backResult = directDraw->createSurface(
      {SurfaceKind::offscreenPlain, kPictureWidth, kPictureHeight}, &backBuffer);
  if (!backBuffer) return {primaryResult, "CreateSurface FAILED"};
  directDraw->createSurface({SurfaceKind::offscreenPlain, kFontSurfaceSize, kFontSurfaceSize},
                            &fontSurface);
  if (!fontSurface) return {backResult, "CreateSurface FAILED"};
  return {};
}

void Picture::releaseDisplayObjects() {
  if (!directDraw) return;
  primarySurface.reset();
  backBuffer.reset();
  displayPalette.reset();
  directDraw.reset();
  displayWindow = nullptr;
  // The font surface is plain memory with no tie to the device; it goes last
  // so that nothing of the display outlives the release.
  fontSurface.reset();
}

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
