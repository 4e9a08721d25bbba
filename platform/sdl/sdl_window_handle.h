#pragma once
// The platform's window handle is the SDL window itself.
#include <SDL2/SDL.h>

#include "platform/api/window_handle.h"

namespace platform {

inline SDL_Window* toSdlWindow(WindowHandle window) { return reinterpret_cast<SDL_Window*>(window); }
inline WindowHandle fromSdlWindow(SDL_Window* window) { return reinterpret_cast<WindowHandle>(window); }

}  // namespace platform
