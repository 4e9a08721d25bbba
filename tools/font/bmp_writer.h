#pragma once
// Writes an uncompressed 8-bit BMP with a 256-colour table, rows bottom-up.
#include <cstdint>
#include <vector>

namespace tools {

struct Colour {
  std::uint8_t red, green, blue;
};

inline void putLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// indices: width x height, rows top-down.
inline std::vector<std::uint8_t> encodeBmp8(int width, int height,
                                            const std::vector<std::uint8_t>& indices,
                                            const Colour (&table)[256]) {
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) + 3u) & ~3u;
  const std::uint32_t pixelOffset = 14 + 40 + 256 * 4;
  const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(height);
  std::vector<std::uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  putLe(out, pixelOffset + imageBytes, 4);
  putLe(out, 0, 4);
  putLe(out, pixelOffset, 4);
  putLe(out, 40, 4);
  putLe(out, static_cast<std::uint32_t>(width), 4);
  putLe(out, static_cast<std::uint32_t>(height), 4);
  putLe(out, 1, 2);
  putLe(out, 8, 2);
  putLe(out, 0, 4);  // no compression
  putLe(out, imageBytes, 4);
  putLe(out, 2835, 4);
  putLe(out, 2835, 4);
  putLe(out, 256, 4);
  putLe(out, 0, 4);
  for (const Colour& c : table) {
    out.push_back(c.blue);
    out.push_back(c.green);
    out.push_back(c.red);
    out.push_back(0);
  }
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) out.push_back(indices[static_cast<std::size_t>(y) * width + x]);
    for (std::uint32_t pad = static_cast<std::uint32_t>(width); pad < rowBytes; ++pad) out.push_back(0);
  }
  return out;
}

}  // namespace tools
