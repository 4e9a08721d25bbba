#include "platform/sdl/palette_conversion.h"

#include <cstring>

namespace platform {

void buildArgbLookup(const PaletteEntry* entries, std::uint32_t lookup[256]) {
  for (int i = 0; i < 256; ++i) {
    lookup[i] = 0xFF000000u | (std::uint32_t{entries[i].red} << 16) |
                (std::uint32_t{entries[i].green} << 8) | entries[i].blue;
  }
}

void convertIndexedToArgb(const std::uint8_t* source, int sourcePitch, int width, int height,
                          const std::uint32_t lookup[256], std::uint32_t* dest, int destPitch) {
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* in = source + static_cast<std::ptrdiff_t>(y) * sourcePitch;
    auto* out = reinterpret_cast<std::uint32_t*>(reinterpret_cast<std::uint8_t*>(dest) +
                                                 static_cast<std::ptrdiff_t>(y) * destPitch);
    int x = 0;
    // Eight indices per load; the lookups themselves cannot be vectorised on
    // the baseline, but one wide load saves seven narrow ones.
    for (; x + 8 <= width; x += 8) {
      std::uint64_t eight;
      std::memcpy(&eight, in + x, sizeof eight);
      out[x + 0] = lookup[eight & 0xFF];
      out[x + 1] = lookup[(eight >> 8) & 0xFF];
      out[x + 2] = lookup[(eight >> 16) & 0xFF];
      out[x + 3] = lookup[(eight >> 24) & 0xFF];
      out[x + 4] = lookup[(eight >> 32) & 0xFF];
      out[x + 5] = lookup[(eight >> 40) & 0xFF];
      out[x + 6] = lookup[(eight >> 48) & 0xFF];
      out[x + 7] = lookup[eight >> 56];
    }
    for (; x < width; ++x) out[x] = lookup[in[x]];
  }
}

}  // namespace platform
