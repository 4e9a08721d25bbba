#include "platform/fltk/fltk_message_loop.h"

#include <FL/Fl.H>

namespace platform {

// Fl::lock once turns on FLTK's thread support, so that Fl::awake from the
// capture thread wakes Fl::wait at once.
FltkMessageLoop::FltkMessageLoop() { Fl::lock(); }

void FltkMessageLoop::waitAndDispatch(unsigned milliseconds) { Fl::wait(milliseconds / 1000.0); }

void FltkMessageLoop::wake() { Fl::awake(static_cast<void*>(nullptr)); }

}  // namespace platform
