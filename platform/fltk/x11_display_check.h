#pragma once
#include <string>

namespace platform {

// true when the X display named by DISPLAY can be opened; otherwise false
// with a sentence for stderr. (FLTK would end the program with a bare
// "Can't open display".)
bool x11DisplayAvailable(std::string* reason);

}  // namespace platform
