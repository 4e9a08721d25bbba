#include <gtest/gtest.h>

#include "platform/fake/fake_display.h"
#include "tidewell/picture/picture.h"
#include "tidewell/picture/text_hud.h"

namespace tidewell {
namespace {

using platform::DDERR_SURFACELOST;
using platform::DDERR_WASSTILLDRAWING;

// Each test on a fresh picture of its own.
class PresentationTest : public ::testing::Test, public Picture {
 protected:
  DisplayStartup start() { return createDisplay(&system_, nullptr); }
  std::vector<std::string>& events() { return system_.log->events; }
  platform::FakeDisplaySystem system_;
};

TEST_F(PresentationTest, StartupStepsStopAtTheFirstFailureWithItsMessage) {
  system_.createResult = platform::E_FAIL;
  EXPECT_STREQ(start().message, "DirectDrawCreateEx FAILED");
  system_.createResult = platform::kOk;
  struct Case {
    std::function<void(platform::FakeDisplayDevice&)> breakIt;
    const char* message;
    platform::HResult code;
  } cases[] = {
      {[](auto& d) { d.cooperativeLevelResult = -5; }, "SetCooperativeLevel FAILED", -5},
      {[](auto& d) { d.displayModeResult = -6; }, "SetDisplayMode FAILED", -6},
      {[](auto& d) { d.primaryResult = -7; }, "CreateSurface FAILED", -7},
      {[](auto& d) { d.failBackBuffer = true; }, "CreateSurface FAILED", platform::kOk},
      {[](auto& d) { d.failFontSurface = true; d.offscreenResult = 3; }, "CreateSurface FAILED", 3},
  };
  for (const Case& c : cases) {
    system_.configure = c.breakIt;
    const DisplayStartup result = start();
    EXPECT_STREQ(result.message, c.message);
    EXPECT_EQ(result.result, c.code);
    releaseDisplayObjects();
  }
  system_.configure = nullptr;
  EXPECT_TRUE(start().ok());
  EXPECT_EQ(std::pair(system_.device->modeWidth, system_.device->modeHeight), std::pair(400, 300));
  EXPECT_EQ(system_.device->modeBits, 8);
  EXPECT_EQ(system_.device->cooperativeFlags, 0x11u);
}

TEST_F(PresentationTest, ReleaseOrderAndSecondReleaseDoesNothing) {
  ASSERT_TRUE(start().ok());
  ASSERT_TRUE(setUpPalette());
  // Only the display objects may hold the fakes for the order to show.
  system_.device->primary.reset();
  system_.device->offscreen.clear();
  system_.device.reset();
  events().clear();
  releaseDisplayObjects();
  const std::vector<std::string> expected = {"release primary", "release back", "release palette",
                                             "release device", "release font"};
  EXPECT_EQ(events(), expected);
  releaseDisplayObjects();
  EXPECT_EQ(events().size(), expected.size());
}

TEST_F(PresentationTest, LostSurfaceIsRestoredPaletteResetAndTheBlitRetried) {
  ASSERT_TRUE(start().ok());
  ASSERT_TRUE(setUpPalette());
  currentPalette[9] = {1, 2, 3, 0};
  system_.device->primary->bltScript = {DDERR_SURFACELOST, DDERR_WASSTILLDRAWING};
  events().clear();
  present();
  const std::vector<std::string> expected = {"blt", "restore primary", "restore back", "blt", "blt"};
  EXPECT_EQ(events(), expected);
  EXPECT_EQ(system_.device->primary->presented, 1);
  EXPECT_EQ(currentPalette[9].green, 9);  // back to the start ramp
}

// The font surface lives apart from the device: after a reset restored the
// primary surface and the back buffer, the overlay still draws its cells.
TEST_F(PresentationTest, HudDrawsAfterARenderReset) {
  ASSERT_TRUE(start().ok());
  ASSERT_TRUE(setUpPalette());
  auto* font = dynamic_cast<platform::MemorySurface*>(fontSurface.get());
  auto* back = dynamic_cast<platform::MemorySurface*>(backBuffer.get());
  ASSERT_TRUE(font != nullptr && back != nullptr);
  for (int i = 0; i < 256 * 256; ++i) font->pixels()[i] = static_cast<std::uint8_t>(i % 251 + 1);
  system_.device->primary->bltScript = {DDERR_SURFACELOST};
  events().clear();
  present();
  ASSERT_EQ(events().front(), "blt");
  ASSERT_EQ(events()[1], "restore primary");
  std::fill(back->pixels(), back->pixels() + 400 * 300, 0);
  PictureContext context;
  context.showSequencerInfo = true;
  context.behaviour = 2;
  drawHud(context);
  platform::Rect b;
  ASSERT_TRUE(characterCell('B', &b));
  const platform::Rect symbol = behaviourCell(2);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(back->pixel(10 + x, 290 + y), font->pixel(b.left + x, b.top + y));
      EXPECT_EQ(back->pixel(90 + x, 290 + y), font->pixel(symbol.left + x, symbol.top + y));
    }
  }
}

TEST_F(PresentationTest, FailedRestoreOrOtherErrorSkipsTheFrame) {
  ASSERT_TRUE(start().ok());
  auto& primary = *system_.device->primary;
  primary.bltScript = {DDERR_SURFACELOST};
  primary.restoreResult = platform::E_FAIL;
  present();
  EXPECT_EQ(primary.bltCalls, 1);
  EXPECT_EQ(primary.presented, 0);
  primary.bltScript = {platform::E_FAIL};
  present();
  EXPECT_EQ(primary.bltCalls, 2);
  EXPECT_EQ(primary.presented, 0);
  primary.bltScript.assign(5000, DDERR_WASSTILLDRAWING);  // a device that never finishes
  present();
  EXPECT_LT(primary.bltCalls, 5000);
}

TEST_F(PresentationTest, PaletteNeedsTheResourceAndIsCreatedOnce) {
  ASSERT_TRUE(start().ok());
  bitmapResourcePresent = [](const char*) { return false; };
  EXPECT_FALSE(setUpPalette());
  EXPECT_FALSE(displayPalette);
  bitmapResourcePresent = &embeddedResourcePresent;
  system_.device->paletteResult = platform::E_FAIL;
  EXPECT_FALSE(setUpPalette());
  EXPECT_FALSE(displayPalette);
  system_.device->paletteResult = platform::kOk;
  ASSERT_TRUE(setUpPalette());
  const auto first = displayPalette;
  ASSERT_TRUE(setUpPalette());
  EXPECT_EQ(displayPalette, first);
  EXPECT_EQ(system_.device->primary->palette(), first);
}

TEST_F(PresentationTest, FadeWritesAndCursorReadsTheDisplayPalette) {
  ASSERT_TRUE(start().ok());
  ASSERT_TRUE(setUpPalette());
  fadePalette();
  platform::PaletteEntry shown[256];
  displayPalette->getEntries(0, 0, 256, shown);
  EXPECT_EQ(shown[200].red, currentPalette[200].red);
  displayPalette->setEntries(0, 0, 1, &shown[255]);
  readDisplayPaletteBack();
  EXPECT_EQ(currentPalette[0].red, shown[255].red);
}

TEST_F(PresentationTest, FontPictureLoadsWhenPresentAndStartupSurvivesWithout) {
  ASSERT_TRUE(start().ok());
  auto font = std::static_pointer_cast<platform::MemorySurface>(fontSurface);
  EXPECT_TRUE(loadFontSurface());  // no file: nothing copied
  EXPECT_EQ(font->pixel(3, 3), 0);
  platform::IndexedBitmap picture{300, 260, std::vector<std::uint8_t>(300 * 260, 77)};
  system_.device->files["data/text"] = picture;
  EXPECT_TRUE(loadFontSurface());
  EXPECT_EQ(font->pixel(255, 255), 77);
  system_.device->memoryContextResult = platform::E_OUTOFMEMORY;
  EXPECT_FALSE(loadFontSurface());
}

TEST_F(PresentationTest, RenderedFieldReachesTheScreenAndAFailedLockSkipsTheCopy) {
  ASSERT_TRUE(start().ok());
  resetIntensityMaps();
  plotCross(255, 10, 20);
  auto& back = *system_.device->offscreen[0];
  back.lockResult = DDERR_SURFACELOST;
  renderPicture();
  EXPECT_EQ(back.pixel(5, 5), 0);
  back.lockResult = platform::kOk;
  renderPicture();
  present();
  const auto& shown = system_.device->primary->shown;
  ASSERT_EQ(shown.size(), 400u * 300u);
  EXPECT_EQ(shown[5 * 400 + 5], 50);
  EXPECT_EQ(shown[5 * 400 + 11], sourceMap().at(11, 5));
  EXPECT_GT(shown[5 * 400 + 11], 50);
}

}  // namespace
}  // namespace tidewell
