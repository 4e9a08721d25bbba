#include "tests/display_sdl/screen_grab.h"

#include <cstdio>
#include <string>

namespace display_test {

Screen grabScreen(int width, int height) {
  Screen screen;
  const std::string command = "import -silent -window root -depth 8 rgb:-";
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return screen;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * height * 3);
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), pipe);
  const bool ended = pclose(pipe) == 0;
  if (!ended || got != bytes.size()) return screen;
  screen.width = width;
  screen.height = height;
  screen.rgb = std::move(bytes);
  return screen;
}

}  // namespace display_test
