#include "platform/sdl/sdl_display.h"

#include <SDL2/SDL.h>

#include <atomic>

#include "platform/api/memory_surface.h"
#include "platform/sdl/palette_conversion.h"
#include "platform/sdl/sdl_window_handle.h"

namespace platform {

std::unique_ptr<IndexedBitmap> loadIndexedBitmap(const char* path);

namespace {

constexpr int kDefaultRefreshHz = 60;
constexpr int kEarlyPresentsBeforePacing = 30;

// Shared between the device and its primary surface: the renderer and what
// the event watch learned about it.
struct RenderState {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  bool rendererWaitsForDisplay = false;
  int refreshHz = kDefaultRefreshHz;
  std::atomic<bool> lost{false};
  Uint64 nextDeadline = 0;
  Uint64 lastPresent = 0;
  int earlyPresents = 0;  // presents in a row that came well before a refresh

  ~RenderState() {
    if (renderer != nullptr) SDL_DestroyRenderer(renderer);
  }
};

int watchRenderResets(void* userdata, SDL_Event* event) {
  if (event->type == SDL_RENDER_TARGETS_RESET || event->type == SDL_RENDER_DEVICE_RESET) {
    static_cast<RenderState*>(userdata)->lost = true;
  }
  return 1;
}

// Keeps the loop at the display's rate where the renderer does not wait for
// it: sleeps to the next refresh deadline.
void paceToRefresh(RenderState& state) {
  const Uint64 frequency = SDL_GetPerformanceFrequency();
  const Uint64 period = frequency / static_cast<Uint64>(state.refreshHz);
  const Uint64 now = SDL_GetPerformanceCounter();
  if (state.rendererWaitsForDisplay) {
    // A renderer that claims to wait but lets presents follow each other
    // faster than the display refreshes is not waiting (the software renderer
    // under X does this). The time between presents tells, not the time one
    // present takes: a slow present that does not wait is still too quick.
    const bool early = state.lastPresent != 0 && now - state.lastPresent < period * 3 / 4;
    state.lastPresent = now;
    state.earlyPresents = early ? state.earlyPresents + 1 : 0;
    if (state.earlyPresents < kEarlyPresentsBeforePacing) return;
    state.rendererWaitsForDisplay = false;  // for good: our own pacing would hide it
  }
  if (state.nextDeadline == 0 || now > state.nextDeadline + period) state.nextDeadline = now;
  state.nextDeadline += period;
  const Uint64 current = SDL_GetPerformanceCounter();
  if (state.nextDeadline > current) {
    SDL_Delay(static_cast<Uint32>((state.nextDeadline - current) * 1000 / frequency));
  }
}

class SdlPrimarySurface : public MemorySurface {
 public:
  SdlPrimarySurface(std::shared_ptr<RenderState> state, SDL_Texture* texture, int width, int height)
      : MemorySurface(width, height), state_(std::move(state)), texture_(texture) {}
  ~SdlPrimarySurface() override {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  }

  bool isLost() const override { return state_->lost; }

  HResult restore() override {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(state_->renderer, SDL_PIXELFORMAT_ARGB8888,
                                 SDL_TEXTUREACCESS_STREAMING, width(), height());
    if (texture_ == nullptr) return DDERR_SURFACELOST;
    state_->lost = false;
    return kOk;
  }

  // The whole source goes to the whole logical screen; SDL's logical size
  // does the scaling and the letterbox, so the destination is not needed.
  HResult blt(const Rect*, DisplaySurface* source, const Rect*, std::uint32_t) override {
    if (state_->lost || texture_ == nullptr) return DDERR_SURFACELOST;
    auto* from = dynamic_cast<MemorySurface*>(source);
    auto* palette = dynamic_cast<MemoryPalette*>(this->palette().get());
    if (from == nullptr || from->width() < width() || from->height() < height()) {
      return DDERR_GENERIC;
    }
    if (palette != nullptr && palette->revision() != paletteRevision_) {
      buildArgbLookup(palette->entries(), lookup_);
      paletteRevision_ = palette->revision();
    } else if (palette == nullptr) {
      for (int i = 0; i < 256; ++i) lookup_[i] = 0xFF000000u | (i * 0x010101u);
      paletteRevision_ = ~0u;
    }
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) != 0) return DDERR_SURFACELOST;
    convertIndexedToArgb(from->pixels(), from->pitch(), width(), height(), lookup_,
                         static_cast<std::uint32_t*>(pixels), pitch);
    SDL_UnlockTexture(texture_);
    SDL_SetRenderDrawColor(state_->renderer, 0, 0, 0, 255);
    SDL_RenderClear(state_->renderer);
    if (SDL_RenderCopy(state_->renderer, texture_, nullptr, nullptr) != 0) return DDERR_GENERIC;
    SDL_RenderPresent(state_->renderer);
    paceToRefresh(*state_);
    return state_->lost ? DDERR_SURFACELOST : kOk;
  }

 private:
  std::shared_ptr<RenderState> state_;
  SDL_Texture* texture_;
  std::uint32_t lookup_[256] = {};
  std::uint32_t paletteRevision_ = ~0u;
};

class SdlDisplayDevice : public DisplayDevice {
 public:
  SdlDisplayDevice() : state_(std::make_shared<RenderState>()) {
    SDL_AddEventWatch(&watchRenderResets, state_.get());
  }
  ~SdlDisplayDevice() override { SDL_DelEventWatch(&watchRenderResets, state_.get()); }

  HResult setCooperativeLevel(WindowHandle window, std::uint32_t) override {
    SDL_Window* sdlWindow = toSdlWindow(window);
    if (sdlWindow == nullptr || state_->renderer != nullptr) return E_FAIL;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_Renderer* renderer =
        SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (renderer == nullptr) renderer = SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_SOFTWARE);
    if (renderer == nullptr) return E_FAIL;
    SDL_RendererInfo info;
    state_->rendererWaitsForDisplay =
        SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    state_->window = sdlWindow;
    state_->renderer = renderer;
    return kOk;
  }

  HResult setDisplayMode(int width, int height, int bitsPerPixel) override {
    if (state_->renderer == nullptr || width <= 0 || height <= 0 || bitsPerPixel != 8) {
      return DDERR_INVALIDMODE;
    }
    if (SDL_RenderSetLogicalSize(state_->renderer, width, height) != 0 ||
        SDL_RenderSetIntegerScale(state_->renderer, SDL_TRUE) != 0) {
      return DDERR_INVALIDMODE;
    }
    SDL_DisplayMode mode;
    const int display = SDL_GetWindowDisplayIndex(state_->window);
    if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0) {
      state_->refreshHz = mode.refresh_rate;
    }
    width_ = width;
    height_ = height;
    return kOk;
  }

  HResult createSurface(const SurfaceDesc& desc, DisplaySurfaceRef* out) override {
    if (out == nullptr) return DSERR_INVALIDPARAM;
    if (desc.kind == SurfaceKind::primary) {
      if (state_->renderer == nullptr || width_ == 0) return DDERR_INVALIDMODE;
      SDL_Texture* texture = SDL_CreateTexture(state_->renderer, SDL_PIXELFORMAT_ARGB8888,
                                               SDL_TEXTUREACCESS_STREAMING, width_, height_);
      if (texture == nullptr) return E_OUTOFMEMORY;
      *out = std::make_shared<SdlPrimarySurface>(state_, texture, width_, height_);
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
  *out = std::make_shared<SdlDisplayDevice>();
  return kOk;
}

}  // namespace platform
