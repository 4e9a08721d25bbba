#include "platform/sdl/sdl_display.h"

#include <SDL2/SDL.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/api/memory_surface.h"
#include "platform/sdl/frame_pacer.h"
#include "platform/sdl/palette_conversion.h"
#include "platform/sdl/sdl_frame_presenter.h"
#include "platform/sdl/sdl_window_handle.h"

namespace platform {

std::unique_ptr<IndexedBitmap> loadIndexedBitmap(const char* path);

namespace {

constexpr int kDefaultRefreshHz = 60;

// Shared between the device and its primary surface: the renderer, the
// window's mode and what the event watch learned.
struct RenderState {
  SdlDisplayOptions options;
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  bool rendererClaimsVsync = false;
  bool windowed = false;
  int display = -2;  // none read yet
  int refreshHz = 0;
  FramePacer pacer;
  std::atomic<bool> lost{false};
  std::atomic<bool> modeSwitchAsked{false};  // Alt+Enter
  std::atomic<bool> displayChanged{true};    // moved, resized or a new mode

  ~RenderState() {
    if (renderer != nullptr) SDL_DestroyRenderer(renderer);
  }
};

bool isOurWindow(const RenderState& state, Uint32 windowId) {
  return state.window != nullptr && SDL_GetWindowID(state.window) == windowId;
}

int watchDisplayEvents(void* userdata, SDL_Event* event) {
  auto& state = *static_cast<RenderState*>(userdata);
  switch (event->type) {
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
      state.lost = true;
      break;
    case SDL_KEYDOWN:
      if (event->key.repeat == 0 && event->key.keysym.sym == SDLK_RETURN &&
          (event->key.keysym.mod & KMOD_ALT) != 0 &&
          (event->key.windowID == 0 || isOurWindow(state, event->key.windowID))) {
        state.modeSwitchAsked = true;
      }
      break;
    case SDL_WINDOWEVENT:
      if (isOurWindow(state, event->window.windowID) &&
          (event->window.event == SDL_WINDOWEVENT_MOVED ||
           event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
           event->window.event == SDL_WINDOWEVENT_DISPLAY_CHANGED)) {
        state.displayChanged = true;
      }
      break;
    case SDL_DISPLAYEVENT:
      state.displayChanged = true;
      break;
    default:
      break;
  }
  return 1;
}

// Full screen on the display the window is on, or an 800 x 600 window
// centred on it.
void applyWindowMode(RenderState& state) {
  const int display = SDL_GetWindowDisplayIndex(state.window);
  const int on = display >= 0 ? display : 0;
  if (state.windowed) {
    SDL_SetWindowFullscreen(state.window, 0);
    SDL_SetWindowSize(state.window, kWindowedWidth, kWindowedHeight);
    SDL_SetWindowPosition(state.window, SDL_WINDOWPOS_CENTERED_DISPLAY(on),
                          SDL_WINDOWPOS_CENTERED_DISPLAY(on));
  } else {
    // Covering the display first makes full screen also where no window
    // manager acts on the full-screen request.
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(on, &bounds) == 0) {
      SDL_SetWindowPosition(state.window, bounds.x, bounds.y);
      SDL_SetWindowSize(state.window, bounds.w, bounds.h);
    }
    SDL_SetWindowFullscreen(state.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  // Without a window manager the switch can leave the window without the
  // keyboard focus, which would pause the program.
  SDL_RaiseWindow(state.window);
  state.displayChanged = true;
}

// The refresh rate of the display the window is on now; the pacer starts
// over when the display or its rate is new (a move within one display keeps
// what the pacer has learned).
void readRefreshRate(RenderState& state) {
  int refreshHz = kDefaultRefreshHz;
  SDL_DisplayMode mode;
  const int display = SDL_GetWindowDisplayIndex(state.window);
  if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0) {
    refreshHz = mode.refresh_rate;
  }
  if (display == state.display && refreshHz == state.refreshHz) return;
  state.display = display;
  state.refreshHz = refreshHz;
  state.pacer.reset(refreshHz, state.rendererClaimsVsync);
}

// Frame pacing: sleeps as long as the pacer says after a present.
void paceFrame(RenderState& state, Uint64 presentStarted, Uint64 presentEnded) {
  const double frequency = static_cast<double>(SDL_GetPerformanceFrequency());
  const double seconds = state.pacer.afterPresent(static_cast<double>(presentStarted) / frequency,
                                                  static_cast<double>(presentEnded) / frequency);
  // Not SDL_Delay: whole milliseconds would cut every frame short.
  if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// The window's output: the primary surface is drawn only through presents,
// never locked or written directly.
class SdlPrimarySurface : public DisplaySurface {
 public:
  SdlPrimarySurface(std::shared_ptr<RenderState> state, int width, int height)
      : state_(std::move(state)), presenter_(state_->renderer, width, height) {}

  bool create() { return presenter_.createTextures(); }

  int width() const override { return presenter_.width(); }
  int height() const override { return presenter_.height(); }
  HResult lock(std::uint32_t, SurfaceLock*) override { return DDERR_GENERIC; }
  HResult unlock() override { return kOk; }
  bool isLost() const override { return state_->lost; }

  HResult restore() override {
    if (!presenter_.createTextures()) return DDERR_SURFACELOST;
    state_->lost = false;
    paletteRevision_ = ~0u;
    converted_ = {};
    return kOk;
  }

  HResult setPalette(std::shared_ptr<DisplayPalette> palette) override {
    palette_ = std::move(palette);
    paletteRevision_ = ~0u;
    converted_ = {};
    return kOk;
  }

  // The whole source goes to the picture's box in the window; the rectangles
  // are not needed, the window's output decides.
  HResult blt(const Rect*, DisplaySurface* source, const Rect*, std::uint32_t) override {
    if (state_->lost || !presenter_.ready()) return DDERR_SURFACELOST;
    auto* from = dynamic_cast<MemorySurface*>(source);
    if (from == nullptr || from->width() < width() || from->height() < height()) {
      return DDERR_GENERIC;
    }
    followWindowMode();
    updateLookup();
    int outputWidth = 0, outputHeight = 0;
    SDL_GetRendererOutputSize(state_->renderer, &outputWidth, &outputHeight);
    const PicturePlacement placement = placePicture(outputWidth, outputHeight, width(), height(),
                                                    state_->options.wholeFactorOnly);
    // One conversion per frame: a present of an unchanged frame (the cursor
    // asks for one between frames) shows what was uploaded already.
    const ConvertedFrame frame{from, from->pixelRevision(), paletteRevision_, placement.box};
    if (!(frame == converted_)) {
      const MemorySurface& indices = *from;  // read only: no new revision
      if (!presenter_.convert(indices.pixels(), indices.pitch(), lookup_, placement)) {
        return DDERR_SURFACELOST;
      }
      presenter_.upload();
      converted_ = frame;
    }
    if (!presenter_.render(placement)) return DDERR_GENERIC;
    const Uint64 started = SDL_GetPerformanceCounter();
    presenter_.present();
    paceFrame(*state_, started, SDL_GetPerformanceCounter());
    return state_->lost ? DDERR_SURFACELOST : kOk;
  }

  HResult bltFast(int, int, DisplaySurface*, const Rect*, std::uint32_t) override {
    return DDERR_GENERIC;
  }
  HResult copyFromBitmap(const IndexedBitmap&, int, int) override { return DDERR_GENERIC; }

 private:
  // Alt+Enter and moves between displays are taken up between frames.
  void followWindowMode() {
    if (state_->modeSwitchAsked.exchange(false)) {
      state_->windowed = !state_->windowed;
      applyWindowMode(*state_);
    }
    if (state_->displayChanged.exchange(false)) readRefreshRate(*state_);
  }

  // The conversion table follows the palette only when its entries changed.
  void updateLookup() {
    auto* palette = dynamic_cast<MemoryPalette*>(palette_.get());
    if (palette == nullptr) {
      if (paletteRevision_ == kGreyLookup) return;
      for (int i = 0; i < 256; ++i) lookup_[i] = 0xFF000000u | (i * 0x010101u);
      paletteRevision_ = kGreyLookup;
    } else if (palette->revision() != paletteRevision_) {
      buildArgbLookup(palette->entries(), lookup_);
      paletteRevision_ = palette->revision();
    }
  }

  static constexpr std::uint32_t kGreyLookup = ~0u - 1;

  // What the textures hold: which surface at which revision, through which
  // palette, for which box.
  struct ConvertedFrame {
    const MemorySurface* surface = nullptr;
    std::uint32_t pixels = 0;
    std::uint32_t palette = 0;
    Rect box;
    bool operator==(const ConvertedFrame& o) const {
      return surface == o.surface && pixels == o.pixels && palette == o.palette &&
             box.left == o.box.left && box.top == o.box.top && box.right == o.box.right &&
             box.bottom == o.box.bottom;
    }
  };
  ConvertedFrame converted_;

  std::shared_ptr<RenderState> state_;
  SdlFramePresenter presenter_;
  std::shared_ptr<DisplayPalette> palette_;
  std::uint32_t lookup_[256] = {};
  std::uint32_t paletteRevision_ = ~0u;
};

class SdlDisplayDevice : public DisplayDevice {
 public:
  explicit SdlDisplayDevice(const SdlDisplayOptions& options)
      : state_(std::make_shared<RenderState>()) {
    state_->options = options;
    state_->windowed = options.windowed;
    SDL_AddEventWatch(&watchDisplayEvents, state_.get());
  }
  ~SdlDisplayDevice() override { SDL_DelEventWatch(&watchDisplayEvents, state_.get()); }

  HResult setCooperativeLevel(WindowHandle window, std::uint32_t) override {
    SDL_Window* sdlWindow = toSdlWindow(window);
    if (sdlWindow == nullptr || state_->renderer != nullptr) return E_FAIL;
    SDL_Renderer* renderer =
        SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (renderer == nullptr) renderer = SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_SOFTWARE);
    if (renderer == nullptr) return E_FAIL;
    SDL_RendererInfo info;
    state_->rendererClaimsVsync =
        SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    state_->window = sdlWindow;
    state_->renderer = renderer;
    if (state_->windowed) applyWindowMode(*state_);
    readRefreshRate(*state_);
    return kOk;
  }

  HResult setDisplayMode(int width, int height, int bitsPerPixel) override {
    if (state_->renderer == nullptr || width <= 0 || height <= 0 || bitsPerPixel != 8) {
      return DDERR_INVALIDMODE;
    }
    width_ = width;
    height_ = height;
    readRefreshRate(*state_);
    return kOk;
  }

  HResult createSurface(const SurfaceDesc& desc, DisplaySurfaceRef* out) override {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    if (desc.kind == SurfaceKind::primary) {
      if (state_->renderer == nullptr || width_ == 0) return DDERR_INVALIDMODE;
      auto primary = std::make_shared<SdlPrimarySurface>(state_, width_, height_);
      if (!primary->create()) return E_OUTOFMEMORY;
      *out = std::move(primary);
      return kOk;
    }
    if (desc.width <= 0 || desc.height <= 0 || desc.width > 4096 || desc.height > 4096) {
      return DSERR_INVALIDPARAM;
    }
    *out = std::make_shared<MemorySurface>(desc.width, desc.height);
    return kOk;
  }

  HResult createPalette(std::uint32_t caps, const PaletteEntry* entries,
                        DisplayPaletteRef* out) override {
    if (out == nullptr || entries == nullptr || (caps & DDPCAPS_8BIT) == 0) return DSERR_INVALIDPARAM;
    *out = std::make_shared<MemoryPalette>(entries);
    return kOk;
  }

  std::unique_ptr<IndexedBitmap> loadBitmapFile(const char* path) override {
    return loadIndexedBitmap(path);
  }

  HResult createMemoryContext() override {
    SDL_Surface* scratch = SDL_CreateRGBSurfaceWithFormat(0, 256, 256, 8, SDL_PIXELFORMAT_INDEX8);
    if (scratch == nullptr) return E_OUTOFMEMORY;
    SDL_FreeSurface(scratch);
    return kOk;
  }

  HResult getClientRect(WindowHandle window, Rect* out) override {
    SDL_Window* sdlWindow = toSdlWindow(window);
    if (sdlWindow == nullptr || out == nullptr) return E_FAIL;
    int x = 0, y = 0, w = 0, h = 0;
    SDL_GetWindowPosition(sdlWindow, &x, &y);
    SDL_GetWindowSize(sdlWindow, &w, &h);
    *out = {x, y, x + w, y + h};
    return kOk;
  }

 private:
  std::shared_ptr<RenderState> state_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace

HResult SdlDisplaySystem::createDisplayDevice(DisplayDeviceRef* out) {
  if (out == nullptr) return DSERR_INVALIDPARAM;
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return DDERR_NODIRECTDRAWHW;
  *out = std::make_shared<SdlDisplayDevice>(options_);
  return kOk;
}

}  // namespace platform
