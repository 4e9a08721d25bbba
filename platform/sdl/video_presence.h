#pragma once
#include <string>

namespace platform::sdl {

// true when SDL's video reaches a real display. Without one SDL falls back
// to an off-screen driver and a program would run unseen for ever; then
// false with a sentence for stderr. A driver named in SDL_VIDEODRIVER is
// taken as the user's choice.
bool videoHasDisplay(std::string* reason);

}  // namespace platform::sdl
