#include "platform/sdl/video_presence.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

namespace platform::sdl {

bool videoHasDisplay(std::string* reason) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    if (reason) *reason = std::string("cannot open the display: ") + SDL_GetError();
    return false;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* chosen = std::getenv("SDL_VIDEODRIVER");
  const bool fallback = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
  const bool asked = chosen && *chosen;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  if (fallback && !asked) {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (reason && ((display && *display) || (wayland && *wayland))) {
      // Set but not answering: a display server that went away or refused us.
      *reason = std::string("cannot open the display ") + (display && *display ? display : wayland) +
                ": no display server answered there; the picture needs a graphical session";
    } else if (reason) {
      *reason = "no display: DISPLAY and WAYLAND_DISPLAY are not set; the picture needs a graphical session";
    }
    return false;
  }
  return true;
}

}  // namespace platform::sdl
