// Presents come at about the display's refresh rate whether or not the
// renderer waits for the vertical blank: where it does not, the display
// layer sleeps to the next refresh itself, so the frame loop (which has no
// timer of its own) does not spin a core at thousands of frames a second.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_window_handle.h"
#include "tidewell/picture/display_objects.h"
#include "tidewell/picture/display_setup.h"
#include "tidewell/shell/app_state.h"

namespace {

struct Setting {
  const char* driver;
  const char* vsync;  // the hint: "0" asks for none
};

class SdlPacingTest : public ::testing::TestWithParam<Setting> {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
  static void TearDownTestSuite() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

  void SetUp() override {
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, GetParam().driver);
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, GetParam().vsync);
    SDL_DisplayMode desktop;
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0) << SDL_GetError();
    refreshHz_ = desktop.refresh_rate > 0 ? desktop.refresh_rate : 60;
    window_ = SDL_CreateWindow("pacing test", 0, 0, desktop.w, desktop.h, SDL_WINDOW_FULLSCREEN_DESKTOP);
    ASSERT_NE(window_, nullptr) << SDL_GetError();
    tidewell::mainWindow = platform::fromSdlWindow(window_);
    ASSERT_TRUE(tidewell::createDisplay(&system_, tidewell::mainWindow).ok());
    tidewell::setUpPalette();
    SDL_RendererInfo info;
    ASSERT_EQ(SDL_GetRendererInfo(SDL_GetRenderer(window_), &info), 0);
    if (std::string(info.name) != GetParam().driver) GTEST_SKIP() << "no " << GetParam().driver;
  }

  void TearDown() override {
    tidewell::releaseDisplayObjects();
    tidewell::mainWindow = nullptr;
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    SDL_ResetHint(SDL_HINT_RENDER_VSYNC);
    SDL_ResetHint(SDL_HINT_RENDER_DRIVER);
  }

  platform::SdlDisplaySystem system_;
  SDL_Window* window_ = nullptr;
  int refreshHz_ = 60;
};

TEST_P(SdlPacingTest, PresentsComeAtAboutTheRefreshRate) {
  // Settle first: a renderer that claims to wait but does not (the software
  // renderer claims it even when asked for none) is found out after a few
  // dozen early presents.
  for (int i = 0; i < 40; ++i) tidewell::present();
  constexpr int kPresents = 60;
  const auto started = std::chrono::steady_clock::now();
  for (int i = 0; i < kPresents; ++i) tidewell::present();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  const double rate = kPresents / seconds;
  RecordProperty("presents_per_second", std::to_string(rate));
  std::printf("%s, vsync hint %s: %.1f presents a second, refresh %d Hz\n", GetParam().driver,
              GetParam().vsync, rate, refreshHz_);
  // Never much faster than the display; the upper bound on the time only
  // catches a layer that waits far too long, and is loose for busy machines.
  EXPECT_LE(rate, refreshHz_ * 1.15);
  EXPECT_GE(rate, refreshHz_ / 3.0);
}

INSTANTIATE_TEST_SUITE_P(Renderers, SdlPacingTest,
                         ::testing::Values(Setting{"software", "0"}, Setting{"software", "1"},
                                           Setting{"opengl", "0"}, Setting{"opengl", "1"}),
                         [](const auto& info) {
                           return std::string(info.param.driver) + (info.param.vsync[0] == '0' ? "_VsyncOff" : "_VsyncOn");
                         });

}  // namespace
