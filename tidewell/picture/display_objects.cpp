// The display objects' life cycle: creation in six steps at start-up,
// release in a fixed order when the window goes.
#include "tidewell/picture/picture.h"

namespace tidewell {

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

}  // namespace tidewell
