#pragma once
// The steps that put one 8-bit frame on an SDL renderer, one job each, so
// that they can be timed apart: the palette conversion into a texture, its
// upload, the drawing into the placement and the present. A box that is a
// whole multiple of the picture is drawn from a picture-sized texture,
// nearest-neighbour; any other box gets the sharp scaling on the CPU in the
// same pass as the conversion, into a texture of the box's size drawn one to
// one (two scaling passes on a software renderer or a software OpenGL cost
// more than the rest of the frame together). Textures are made once and
// reused; the box texture and its scaling taps only when the box changes.
#include <SDL2/SDL.h>

#include <cstdint>
#include <vector>

#include "platform/sdl/picture_placement.h"
#include "platform/sdl/sharp_scaling.h"

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
  // texture the placement needs (sharply scaled to the box where that is not
  // a whole multiple), whose pixels stay locked until upload.
  bool convert(const std::uint8_t* indices, int pitch, const std::uint32_t lookup[256],
               const PicturePlacement& placement);
  // Hands the converted pixels to the renderer.
  void upload();
  // Black borders and the converted frame in the placement's box.
  bool render(const PicturePlacement& placement);
  // Shows what render drew.
  void present();

  int width() const { return width_; }
  int height() const { return height_; }

 private:
  bool ensureBoxTexture(const PicturePlacement& placement);
  void destroyTextures();

  SDL_Renderer* renderer_;
  int width_;
  int height_;
  SDL_Texture* frame_ = nullptr;  // picture-sized
  SDL_Texture* box_ = nullptr;    // box-sized, sharply scaled
  Rect boxShape_;                 // the box that box_ and the taps were made for
  int boxFactor_ = 0;
  std::vector<ScaleRun> columns_;
  std::vector<ScaleTap> rows_;
  std::vector<std::uint32_t> rowScratch_;
  SDL_Texture* locked_ = nullptr;
  SDL_Texture* drawn_ = nullptr;  // what the last conversion filled
};

}  // namespace platform
