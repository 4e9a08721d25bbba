#pragma once
// The user's folders as the desktop names them (xdg-user-dirs).
#include <string>

#include "platform/posix/working_directory.h"

namespace platform::posix {

// The music folder of ~/.config/user-dirs.dirs (XDG_MUSIC_DIR) when it
// exists, otherwise the home folder.
std::string musicFolder(const EnvironmentLookup& environment);

}  // namespace platform::posix
