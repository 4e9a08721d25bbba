// Loading a picture file as palette indices. 8-bit (and 1- and 4-bit) indexed
// BMPs give their indices as they stand; any other picture is taken by its
// brightness, which matches the start palette's grey-green ramp.
#include <SDL2/SDL.h>

#include "platform/sdl/sdl_display.h"

namespace platform {

std::unique_ptr<IndexedBitmap> loadIndexedBitmap(const char* path);

std::unique_ptr<IndexedBitmap> loadIndexedBitmap(const char* path) {
  SDL_Surface* loaded = SDL_LoadBMP(path);
  if (loaded == nullptr) return nullptr;
  auto bitmap = std::make_unique<IndexedBitmap>();
  bitmap->width = loaded->w;
  bitmap->height = loaded->h;
  if (loaded->w <= 0 || loaded->h <= 0 || loaded->w > 8192 || loaded->h > 8192) {
    SDL_FreeSurface(loaded);
    return nullptr;
  }
  bitmap->indices.resize(static_cast<std::size_t>(loaded->w) * loaded->h);
  SDL_Surface* source = loaded;
  const bool indexed = loaded->format->BitsPerPixel == 8 && loaded->format->palette != nullptr;
  if (!indexed) source = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
  if (source == nullptr || SDL_LockSurface(source) != 0) {
    if (source != nullptr && source != loaded) SDL_FreeSurface(source);
    SDL_FreeSurface(loaded);
    return nullptr;
  }
  for (int y = 0; y < source->h; ++y) {
    const auto* row = static_cast<const Uint8*>(source->pixels) + static_cast<std::ptrdiff_t>(y) * source->pitch;
    for (int x = 0; x < source->w; ++x) {
      std::uint8_t index;
      if (indexed) {
        index = row[x];
      } else {
        Uint32 argb;
        SDL_memcpy(&argb, row + 4 * x, 4);
        const unsigned r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
        index = static_cast<std::uint8_t>((r * 77 + g * 150 + b * 29) >> 8);
      }
      bitmap->indices[static_cast<std::size_t>(y) * source->w + x] = index;
    }
  }
  SDL_UnlockSurface(source);
  if (source != loaded) SDL_FreeSurface(source);
  SDL_FreeSurface(loaded);
  return bitmap;
}

}  // namespace platform
