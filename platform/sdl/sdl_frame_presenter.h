#pragma once
// The steps that put one 8-bit frame on an SDL renderer, one job each, so
// that they can be timed apart: the palette conversion into the frame
// texture, its upload, the drawing into the placement (nearest-neighbour up
// to a whole factor through a render target, then linear down to the box)
// and the present. Textures are made once and reused; the render target is
// made anew only when the whole factor changes.
#include <SDL2/SDL.h>

#include <cstdint>

#include "platform/sdl/picture_placement.h"

namespace platform {

class SdlFramePresenter {
 public:
  SdlFramePresenter(SDL_Renderer* renderer, int width, int height);
  ~SdlFramePresenter();
  SdlFramePresenter(const SdlFramePresenter&) = delete;
  SdlFramePresenter& operator=(const SdlFramePresenter&) = delete;

  // Makes the textures (again, after a device reset); false when it cannot.
  bool createTextures();
  bool ready() const { return frame_ != nullptr; }

  // Palette conversion: width x height indices through the lookup into the
  // frame texture's pixels, which stay locked until upload.
  bool convert(const std::uint8_t* indices, int pitch, const std::uint32_t lookup[256]);
  // Hands the converted pixels to the renderer.
  void upload();
  // Black borders and the frame scaled into the placement's box.
  bool render(const PicturePlacement& placement);
  // Shows what render drew.
  void present();

  int width() const { return width_; }
  int height() const { return height_; }

 private:
  bool ensureUpscaled(int factor);

  SDL_Renderer* renderer_;
  int width_;
  int height_;
  SDL_Texture* frame_ = nullptr;
  SDL_Texture* upscaled_ = nullptr;  // the nearest-neighbour step's target
  int upscaledFactor_ = 0;
  bool locked_ = false;
};

}  // namespace platform
