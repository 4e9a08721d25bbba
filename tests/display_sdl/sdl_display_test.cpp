// The SDL display layer on a real X display: bring-up on a desktop-sized
// full-screen window, the palette's colours and the crisp 4:3 picture as
// the X server shows them, recovery from a render reset and the pacing of
// presents where the renderer does not wait for the display.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "platform/sdl/picture_placement.h"
#include "platform/sdl/sharp_scaling.h"
#include "platform/sdl/video_presence.h"
#include "tests/display_sdl/screen_grab.h"
#include "tests/display_sdl/sdl_window_fixture.h"
#include "tidewell/picture/picture.h"

namespace {

using display_test::grabScreen;
using display_test::Screen;

constexpr int kWidth = 400;
constexpr int kHeight = 300;

std::uint32_t rgbOf(const platform::PaletteEntry& e) {
  return (std::uint32_t{e.red} << 16) | (std::uint32_t{e.green} << 8) | e.blue;
}

// Neighbouring pixels always differ, so a shift by one screen pixel or a
// wrong factor shows as a wrong colour.
std::uint8_t patternIndex(int x, int y) { return static_cast<std::uint8_t>(x * 3 + y * 7 + (x / 50) * 11); }

// Colours no start ramp has, one per index and all distinct.
void distinctivePalette(platform::PaletteEntry out[256]) {
  for (int i = 0; i < 256; ++i) {
    out[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
              static_cast<std::uint8_t>((i * 37) & 0xFF), 0};
  }
}

// Where the 400 x 300 picture should land: 4:3 filling the height, centred.
platform::Rect expectedBox(int screenWidth, int screenHeight) {
  return platform::placePicture(screenWidth, screenHeight, kWidth, kHeight, false).box;
}

bool near(std::uint32_t a, std::uint32_t b) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d > 2 || d < -2) return false;
  }
  return true;
}

// Counts picture pixels whose block's central screen pixel is not in its
// palette colour (sharp scaling keeps it pure), and non-black pixels outside
// the box.
struct Mismatches {
  long picture = 0;
  long border = 0;
};

Mismatches compare(const Screen& screen, const platform::Rect& box, const std::uint8_t* indices,
                   const std::uint32_t colours[256]) {
  Mismatches m;
  const double sx = (box.right - box.left) / double(kWidth);
  const double sy = (box.bottom - box.top) / double(kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const int px = box.left + static_cast<int>((x + 0.5) * sx);
      const int py = box.top + static_cast<int>((y + 0.5) * sy);
      if (!near(screen.at(px, py), colours[indices[y * kWidth + x]])) ++m.picture;
    }
  }
  for (int y = 0; y < screen.height; ++y) {
    for (int x = 0; x < screen.width; ++x) {
      const bool inside = x >= box.left && y >= box.top && x < box.right && y < box.bottom;
      if (!inside && screen.at(x, y) != 0) ++m.border;
    }
  }
  return m;
}

class SdlDisplayTest : public ::testing::TestWithParam<const char*>, protected display_test::SdlWindowFixture {
 protected:
  static void SetUpTestSuite() { startVideo(); }
  static void TearDownTestSuite() { stopVideo(); }
  void SetUp() override { openWindow(GetParam()); }
  void TearDown() override { closeWindow(); }

  std::uint8_t* backPixels() {
    platform::SurfaceLock lock;
    if (picture_->backBuffer->lock(platform::DDLOCK_WAIT, &lock) != platform::kOk) return nullptr;
    picture_->backBuffer->unlock();
    return lock.bits;
  }

  void fillPattern() {
    std::uint8_t* pixels = backPixels();
    ASSERT_NE(pixels, nullptr);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) pixels[y * kWidth + x] = patternIndex(x, y);
    }
  }

  // Presents a few times so every buffer of the swap chain holds the frame,
  // then reads the screen until two reads agree: the X server has shown it.
  Screen presentAndGrab() {
    for (int i = 0; i < 3; ++i) picture_->present();
    SDL_PumpEvents();
    Screen last = grabScreen(screenWidth_, screenHeight_);
    for (int i = 0; i < 50; ++i) {
      Screen next = grabScreen(screenWidth_, screenHeight_);
      if (next.rgb == last.rgb) return next;
      last = std::move(next);
    }
    return last;
  }

};

TEST_P(SdlDisplayTest, CreatesEverySurfaceOnADesktopSizedFullScreenWindow) {
  ASSERT_TRUE(picture_->directDraw && picture_->primarySurface && picture_->backBuffer &&
              picture_->fontSurface);
  const auto size = [](const platform::DisplaySurfaceRef& s) { return std::pair(s->width(), s->height()); };
  EXPECT_EQ(size(picture_->primarySurface), std::pair(kWidth, kHeight));
  EXPECT_EQ(size(picture_->backBuffer), std::pair(kWidth, kHeight));
  EXPECT_EQ(size(picture_->fontSurface), std::pair(256, 256));
  EXPECT_FALSE(picture_->primarySurface->isLost());
  platform::Rect client;
  ASSERT_EQ(picture_->directDraw->getClientRect(mainWindow_, &client), platform::kOk);
  EXPECT_EQ(std::tie(client.left, client.top, client.right, client.bottom),
            std::make_tuple(0, 0, screenWidth_, screenHeight_));
  // One renderer per window: a second device on it is refused.
  platform::DisplayDeviceRef second;
  ASSERT_EQ(system_.createDisplayDevice(&second), platform::kOk);
  EXPECT_EQ(second->setCooperativeLevel(mainWindow_, 0x11), platform::E_FAIL);
  // Only the 8-bit mode exists.
  EXPECT_NE(picture_->directDraw->setDisplayMode(kWidth, kHeight, 16), platform::kOk);
}

// Alt+Enter switches between full screen and an 800 x 600 window at the
// next present, and back; the picture fills the window's height either way.
TEST_P(SdlDisplayTest, AltEnterTogglesAnEightHundredBySixHundredWindow) {
  ASSERT_TRUE(picture_->setUpPalette());
  fillPattern();
  SDL_Event altEnter{};
  altEnter.type = SDL_KEYDOWN;
  altEnter.key.windowID = SDL_GetWindowID(window_);
  altEnter.key.keysym.sym = SDLK_RETURN;
  altEnter.key.keysym.mod = KMOD_LALT;
  const int expected[][2] = {{800, 600}, {screenWidth_, screenHeight_}};
  for (const auto& size : expected) {
    ASSERT_EQ(SDL_PushEvent(&altEnter), 1);
    int w = 0, h = 0;
    // The switch happens at the next present; the window manager answers when it will.
    for (int i = 0; i < 500 && (w != size[0] || h != size[1]); ++i) {
      picture_->present();
      SDL_PumpEvents();
      SDL_GetWindowSize(window_, &w, &h);
    }
    EXPECT_EQ(w, size[0]);
    EXPECT_EQ(h, size[1]);
    EXPECT_EQ((SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0,
              size[0] == screenWidth_);
    SDL_GetRendererOutputSize(SDL_GetRenderer(window_), &w, &h);
    EXPECT_EQ(w, size[0]);
  }
}

// The indices show through the start palette, and through a new one at the
// next present without new indices: every picture pixel crisp in its colour,
// the picture filling the height, the border black.
TEST_P(SdlDisplayTest, IndicesShowThroughThePaletteCrispAndFillingTheHeight) {
  ASSERT_TRUE(picture_->setUpPalette());
  fillPattern();
  const Screen before = presentAndGrab();
  platform::PaletteEntry colours[256];
  distinctivePalette(colours);
  ASSERT_EQ(picture_->displayPalette->setEntries(0, 0, 256, colours), platform::kOk);
  const Screen after = presentAndGrab();
  ASSERT_EQ(after.width, screenWidth_) << "no screenshot";
  const platform::Rect box = expectedBox(screenWidth_, screenHeight_);
  if (screenWidth_ * 3 == screenHeight_ * 4) {
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.bottom, screenHeight_);
  }
  std::uint32_t start[256], changed[256];
  for (int i = 0; i < 256; ++i) {
    start[i] = rgbOf(picture_->currentPalette[i]);
    changed[i] = rgbOf(colours[i]);
  }
  EXPECT_EQ(compare(before, box, backPixels(), start).picture, 0) << "start palette";
  const Mismatches m = compare(after, box, backPixels(), changed);
  EXPECT_EQ(m.picture, 0) << "pixels of the picture not in their palette colour";
  EXPECT_EQ(m.border, 0) << "border pixels that are not black";
}

// SDL reports a lost render target or device with an event; the next present
// meets a lost surface, restores it, resets the palette to its start ramps and
// draws the frame after all.
TEST_P(SdlDisplayTest, RenderResetEventsMakePresentRestoreAndRetry) {
  for (const Uint32 type : {Uint32{SDL_RENDER_TARGETS_RESET}, Uint32{SDL_RENDER_DEVICE_RESET}}) {
    ASSERT_TRUE(picture_->setUpPalette());
    fillPattern();
    platform::PaletteEntry colours[256];
    distinctivePalette(colours);
    std::copy_n(colours, 256, picture_->currentPalette);
    ASSERT_EQ(picture_->displayPalette->setEntries(0, 0, 256, colours), platform::kOk);
    presentAndGrab();

    SDL_Event reset{};
    reset.type = type;
    ASSERT_EQ(SDL_PushEvent(&reset), 1);
    EXPECT_TRUE(picture_->primarySurface->isLost());
    picture_->present();
    EXPECT_FALSE(picture_->primarySurface->isLost());

    // The palette tables went back to their start ramps ...
    platform::PaletteEntry afterRestore[256];
    std::copy_n(picture_->currentPalette, 256, afterRestore);
    picture_->initPalettes();
    for (int i = 0; i < 256; ++i) {
      ASSERT_EQ(rgbOf(afterRestore[i]), rgbOf(picture_->currentPalette[i])) << "entry " << i;
    }
    EXPECT_NE(rgbOf(afterRestore[200]), rgbOf(colours[200]));
    // ... while the display palette is attached again unchanged until the
    // next fade writes the tables into it, and the frame was drawn with it.
    const Screen screen = presentAndGrab();
    ASSERT_EQ(screen.width, screenWidth_);
    std::uint32_t shown[256];
    for (int i = 0; i < 256; ++i) shown[i] = rgbOf(colours[i]);
    EXPECT_EQ(compare(screen, expectedBox(screenWidth_, screenHeight_), backPixels(), shown).picture, 0)
        << "event " << type;
  }
}

INSTANTIATE_TEST_SUITE_P(Renderers, SdlDisplayTest, ::testing::Values("software", "opengl", "opengles2"),
                         [](const auto& info) { return std::string(info.param); });

// A display that is set but does not answer is named, so the player looks at
// the display server rather than the session's settings.
TEST(VideoPresence, TellsAnUnansweringDisplayFromAnUnsetOne) {
  const std::string own = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
  ASSERT_FALSE(own.empty()) << "the test runs on a display";
  ::unsetenv("WAYLAND_DISPLAY");
  struct Case {
    const char* display;  // null: unset
    bool answers;
    const char* said;
  } const cases[] = {
      {own.c_str(), true, ""},
      {":4093", false, "cannot open the display :4093"},
      {nullptr, false, "DISPLAY and WAYLAND_DISPLAY are not set"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.display ? c.display : "unset");
    if (c.display) ::setenv("DISPLAY", c.display, 1); else ::unsetenv("DISPLAY");
    std::string reason;
    EXPECT_EQ(platform::sdl::videoHasDisplay(&reason), c.answers);
    EXPECT_NE(reason.find(c.said), std::string::npos) << reason;
  }
  ::setenv("DISPLAY", own.c_str(), 1);
}

// The picture's box for common outputs: 4:3 filling the height on wide
// screens (the width on tall ones), centred; the nearest-neighbour step is
// the smallest whole factor that reaches the box.
TEST(PicturePlacement, FillsTheHeightCentredOrKeepsAWholeFactor) {
  struct Case {
    int width, height;
    bool wholeFactorOnly;
    platform::Rect box;
    int factor;
    bool linear;
  } cases[] = {
      {1920, 1080, false, {240, 0, 1680, 1080}, 4, true},
      {1024, 768, false, {0, 0, 1024, 768}, 3, true},
      {1366, 768, false, {171, 0, 1195, 768}, 3, true},
      {800, 600, false, {0, 0, 800, 600}, 2, false},
      {1200, 900, false, {0, 0, 1200, 900}, 3, false},
      {1080, 1920, false, {0, 555, 1080, 1365}, 3, true},
      {300, 200, false, {16, 0, 283, 200}, 1, true},
      {1920, 1080, true, {360, 90, 1560, 990}, 3, false},
      {1366, 768, true, {283, 84, 1083, 684}, 2, false},
      {300, 200, true, {-50, -50, 350, 250}, 1, false},
  };
  for (const Case& c : cases) {
    const platform::PicturePlacement p =
        platform::placePicture(c.width, c.height, 400, 300, c.wholeFactorOnly);
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    EXPECT_EQ(std::tie(p.box.left, p.box.top, p.box.right, p.box.bottom),
              std::tie(c.box.left, c.box.top, c.box.right, c.box.bottom));
    EXPECT_EQ(p.wholeFactor, c.factor);
    EXPECT_EQ(p.needsLinearPass(), c.linear);
  }
  EXPECT_EQ(platform::placePicture(0, 768, 400, 300, false).box.right, 0);
}

// The one-pass sharp scaling gives what the two passes it stands for give:
// the picture blown up nearest-neighbour by the whole factor, then shrunk
// with a linear filter (texel centres at half-integers, edges clamped).
std::uint32_t twoPassReference(const std::vector<std::uint8_t>& indices, int w, int h,
                               const std::uint32_t lookup[256], int factor, int destW, int destH,
                               int x, int y) {
  auto texel = [&](int tx, int ty) {
    tx = std::clamp(tx, 0, w * factor - 1);
    ty = std::clamp(ty, 0, h * factor - 1);
    return lookup[indices[(ty / factor) * w + tx / factor]];
  };
  const double u = (x + 0.5) * w * factor / destW - 0.5;
  const double v = (y + 0.5) * h * factor / destH - 0.5;
  const int tx = static_cast<int>(std::floor(u)), ty = static_cast<int>(std::floor(v));
  const double fx = u - tx, fy = v - ty;
  std::uint32_t out = 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    auto channel = [&](int cx, int cy) { return double((texel(cx, cy) >> shift) & 0xFF); };
    const double top = channel(tx, ty) * (1 - fx) + channel(tx + 1, ty) * fx;
    const double bottom = channel(tx, ty + 1) * (1 - fx) + channel(tx + 1, ty + 1) * fx;
    out |= static_cast<std::uint32_t>(std::lround(top * (1 - fy) + bottom * fy)) << shift;
  }
  return out;
}

TEST(SharpScaling, MatchesNearestUpThenLinearDownAndKeepsBlocksCrisp) {
  constexpr int w = 40, h = 30;
  std::vector<std::uint8_t> indices(w * h);
  for (int i = 0; i < w * h; ++i) indices[i] = static_cast<std::uint8_t>((i * 97 + i / w * 31) & 0xFF);
  std::uint32_t lookup[256];
  for (int i = 0; i < 256; ++i) lookup[i] = 0xFF000000u | (i * 0x010305u & 0xFFFFFFu);
  const int sizes[][2] = {{144, 108}, {102, 76}, {80, 60}, {57, 43}};
  for (const auto& size : sizes) {
    const int destW = size[0], destH = size[1];
    const platform::PicturePlacement p = platform::placePicture(destW, destH, w, h, false);
    const int factor = p.wholeFactor;
    const auto columns = platform::sharpScaleTaps(w, destW, factor);
    const auto rows = platform::sharpScaleTaps(h, destH, factor);
    std::vector<std::uint32_t> out(destW * destH), scratch(2 * destW);
    platform::sharpScaleIndexed(indices.data(), w, lookup, platform::scaleRuns(columns), rows, out.data(), destW * 4,
                                scratch.data());
    long off = 0;
    for (int y = 0; y < destH; ++y) {
      for (int x = 0; x < destW; ++x) {
        const std::uint32_t want = twoPassReference(indices, w, h, lookup, factor, destW, destH, x, y);
        if (!near(out[y * destW + x], want)) ++off;
      }
    }
    EXPECT_EQ(off, 0) << destW << "x" << destH;
    // Scaled by two or more: at most one blended column between two blocks,
    // and every source column keeps a pure one of its own.
    if (destW < 2 * w) continue;
    std::vector<int> pure(w, 0);
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (columns[i].weight == 0) ++pure[columns[i].first];
      if (i > 0) {
        EXPECT_FALSE(columns[i].weight != 0 && columns[i - 1].weight != 0) << i;
      }
    }
    for (int c = 0; c < w; ++c) EXPECT_GE(pure[c], 1) << c;
  }
}

}  // namespace
