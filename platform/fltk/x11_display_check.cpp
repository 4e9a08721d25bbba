#include "platform/fltk/x11_display_check.h"

#include <X11/Xlib.h>

#include <cstdlib>

namespace platform {

bool x11DisplayAvailable(std::string* reason) {
  Display* display = XOpenDisplay(nullptr);
  if (display != nullptr) {
    XCloseDisplay(display);
    return true;
  }
  const char* name = std::getenv("DISPLAY");
  if (reason) {
    *reason = name && *name ? std::string("cannot open the display \"") + name + "\""
                            : std::string("no display: DISPLAY is not set");
    *reason += "; the setup dialog needs a graphical session";
  }
  return false;
}

}  // namespace platform
