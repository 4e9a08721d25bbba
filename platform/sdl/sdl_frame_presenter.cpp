#include "platform/sdl/sdl_frame_presenter.h"

#include "platform/sdl/palette_conversion.h"

namespace platform {

SdlFramePresenter::SdlFramePresenter(SDL_Renderer* renderer, int width, int height)
    : renderer_(renderer), width_(width), height_(height) {}

SdlFramePresenter::~SdlFramePresenter() {
  if (upscaled_ != nullptr) SDL_DestroyTexture(upscaled_);
  if (frame_ != nullptr) SDL_DestroyTexture(frame_);
}

bool SdlFramePresenter::createTextures() {
  if (upscaled_ != nullptr) SDL_DestroyTexture(upscaled_);
  if (frame_ != nullptr) SDL_DestroyTexture(frame_);
  upscaled_ = nullptr;
  upscaledFactor_ = 0;
  locked_ = false;
  frame_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                             width_, height_);
  if (frame_ == nullptr) return false;
  SDL_SetTextureScaleMode(frame_, SDL_ScaleModeNearest);
  return true;
}

bool SdlFramePresenter::convert(const std::uint8_t* indices, int pitch,
                                const std::uint32_t lookup[256]) {
  if (frame_ == nullptr || locked_) return false;
  void* pixels = nullptr;
  int texturePitch = 0;
  if (SDL_LockTexture(frame_, nullptr, &pixels, &texturePitch) != 0) return false;
  locked_ = true;
  convertIndexedToArgb(indices, pitch, width_, height_, lookup,
                       static_cast<std::uint32_t*>(pixels), texturePitch);
  return true;
}

void SdlFramePresenter::upload() {
  if (!locked_) return;
  SDL_UnlockTexture(frame_);
  locked_ = false;
}

bool SdlFramePresenter::ensureUpscaled(int factor) {
  if (upscaled_ != nullptr && upscaledFactor_ == factor) return true;
  if (upscaled_ != nullptr) SDL_DestroyTexture(upscaled_);
  upscaled_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                width_ * factor, height_ * factor);
  upscaledFactor_ = upscaled_ != nullptr ? factor : 0;
  if (upscaled_ != nullptr) SDL_SetTextureScaleMode(upscaled_, SDL_ScaleModeLinear);
  return upscaled_ != nullptr;
}

bool SdlFramePresenter::render(const PicturePlacement& placement) {
  if (frame_ == nullptr || locked_) return false;
  const Rect& b = placement.box;
  const SDL_Rect box{b.left, b.top, b.right - b.left, b.bottom - b.top};
  SDL_Texture* shown = frame_;
  if (placement.needsLinearPass() && ensureUpscaled(placement.wholeFactor) &&
      SDL_SetRenderTarget(renderer_, upscaled_) == 0) {
    const bool drawn = SDL_RenderCopy(renderer_, frame_, nullptr, nullptr) == 0;
    SDL_SetRenderTarget(renderer_, nullptr);
    if (drawn) shown = upscaled_;
  }
  // Without a render target the frame goes straight to the box,
  // nearest-neighbour: blocks of uneven size, but the whole picture.
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  return SDL_RenderCopy(renderer_, shown, nullptr, &box) == 0;
}

void SdlFramePresenter::present() { SDL_RenderPresent(renderer_); }

}  // namespace platform
