#include "platform/sdl/sdl_frame_presenter.h"

#include "platform/sdl/palette_conversion.h"

namespace platform {

SdlFramePresenter::SdlFramePresenter(SDL_Renderer* renderer, int width, int height)
    : renderer_(renderer), width_(width), height_(height) {}

SdlFramePresenter::~SdlFramePresenter() { destroyTextures(); }

void SdlFramePresenter::destroyTextures() {
  if (box_ != nullptr) SDL_DestroyTexture(box_);
  if (frame_ != nullptr) SDL_DestroyTexture(frame_);
  box_ = frame_ = locked_ = drawn_ = nullptr;
  boxFactor_ = 0;
}

bool SdlFramePresenter::createTextures() {
  destroyTextures();
  frame_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                             width_, height_);
  if (frame_ == nullptr) return false;
  SDL_SetTextureScaleMode(frame_, SDL_ScaleModeNearest);
  return true;
}

bool SdlFramePresenter::ensureBoxTexture(const PicturePlacement& placement) {
  const Rect& b = placement.box;
  const int width = b.right - b.left, height = b.bottom - b.top;
  if (box_ != nullptr && boxFactor_ == placement.wholeFactor &&
      boxShape_.right - boxShape_.left == width && boxShape_.bottom - boxShape_.top == height) {
    return true;
  }
  if (box_ != nullptr) SDL_DestroyTexture(box_);
  box_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                           width, height);
  if (box_ == nullptr) return false;
  SDL_SetTextureScaleMode(box_, SDL_ScaleModeNearest);
  boxShape_ = b;
  boxFactor_ = placement.wholeFactor;
  columns_ = scaleRuns(sharpScaleTaps(width_, width, placement.wholeFactor));
  rows_ = sharpScaleTaps(height_, height, placement.wholeFactor);
  rowScratch_.assign(2 * static_cast<std::size_t>(width), 0);
  return true;
}

bool SdlFramePresenter::convert(const std::uint8_t* indices, int pitch,
                                const std::uint32_t lookup[256],
                                const PicturePlacement& placement) {
  if (frame_ == nullptr || locked_ != nullptr) return false;
  const bool sharp = placement.needsLinearPass() && ensureBoxTexture(placement);
  SDL_Texture* target = sharp ? box_ : frame_;
  void* pixels = nullptr;
  int texturePitch = 0;
  if (SDL_LockTexture(target, nullptr, &pixels, &texturePitch) != 0) return false;
  locked_ = drawn_ = target;
  auto* dest = static_cast<std::uint32_t*>(pixels);
  if (sharp) {
    sharpScaleIndexed(indices, pitch, lookup, columns_, rows_, dest, texturePitch,
                      rowScratch_.data());
  } else {
    convertIndexedToArgb(indices, pitch, width_, height_, lookup, dest, texturePitch);
  }
  return true;
}

void SdlFramePresenter::upload() {
  if (locked_ == nullptr) return;
  SDL_UnlockTexture(locked_);
  locked_ = nullptr;
}

bool SdlFramePresenter::render(const PicturePlacement& placement) {
  if (drawn_ == nullptr || locked_ != nullptr) return false;
  const Rect& b = placement.box;
  const SDL_Rect box{b.left, b.top, b.right - b.left, b.bottom - b.top};
  // One clear for the borders: on OpenGL a clear costs less than filling the
  // border rectangles, and on the software renderer about the same.
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  return SDL_RenderCopy(renderer_, drawn_, nullptr, &box) == 0;
}

void SdlFramePresenter::present() { SDL_RenderPresent(renderer_); }

}  // namespace platform
