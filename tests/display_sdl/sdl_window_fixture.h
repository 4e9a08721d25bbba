#pragma once
// A desktop-sized full-screen window with the picture's display objects on
// it, made with the render driver asked for. Where the machine lacks that
// driver the test is skipped: the layer would fall back to the software
// renderer and only test that one again.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_window_handle.h"
#include "tidewell/picture/picture.h"

namespace display_test {

class SdlWindowFixture {
 protected:
  static void startVideo() { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
  static void stopVideo() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

  // `vsync` is SDL's hint ("0" asks for none); null leaves SDL's choice.
  void openWindow(const char* driver, const char* vsync = nullptr) {
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, driver);
    if (vsync != nullptr) SDL_SetHint(SDL_HINT_RENDER_VSYNC, vsync);
    SDL_DisplayMode desktop;
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0) << SDL_GetError();
    screenWidth_ = desktop.w;
    screenHeight_ = desktop.h;
    refreshHz_ = desktop.refresh_rate > 0 ? desktop.refresh_rate : 60;
    window_ = SDL_CreateWindow("display test", 0, 0, desktop.w, desktop.h, SDL_WINDOW_FULLSCREEN_DESKTOP);
    ASSERT_NE(window_, nullptr) << SDL_GetError();
    mainWindow_ = platform::fromSdlWindow(window_);
    const tidewell::DisplayStartup startup = picture_->createDisplay(&system_, mainWindow_);
    ASSERT_TRUE(startup.ok()) << startup.message;
    SDL_RendererInfo info;
    ASSERT_NE(SDL_GetRenderer(window_), nullptr);
    ASSERT_EQ(SDL_GetRendererInfo(SDL_GetRenderer(window_), &info), 0);
    if (std::string(info.name) != driver) GTEST_SKIP() << driver << " gave " << info.name;
  }

  void closeWindow() {
    picture_->releaseDisplayObjects();
    mainWindow_ = nullptr;
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    SDL_ResetHint(SDL_HINT_RENDER_VSYNC);
    SDL_ResetHint(SDL_HINT_RENDER_DRIVER);
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }

  platform::SdlDisplaySystem system_;
  std::unique_ptr<tidewell::Picture> picture_ = std::make_unique<tidewell::Picture>();
  platform::WindowHandle mainWindow_ = nullptr;
  SDL_Window* window_ = nullptr;
  int screenWidth_ = 0;
  int screenHeight_ = 0;
  int refreshHz_ = 60;
};

}  // namespace display_test
