#pragma once
// What the X server shows: the root window read back as 8-bit RGB through
// ImageMagick's import, the same way a person's screenshot would see it.
#include <cstdint>
#include <vector>

namespace display_test {

struct Screen {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // rows top-down, three bytes a pixel

  std::uint32_t at(int x, int y) const {
    const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
    return (std::uint32_t{rgb[i]} << 16) | (std::uint32_t{rgb[i + 1]} << 8) | rgb[i + 2];
  }
};

// An empty screen (width 0) when the grab failed.
Screen grabScreen(int width, int height);

}  // namespace display_test
