#include "platform/fltk/fltk_message_loop.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

namespace platform {

// Fl::lock once turns on FLTK's thread support, so that Fl::awake from the
// capture thread wakes Fl::wait at once.
FltkMessageLoop::FltkMessageLoop() { Fl::lock(); }

void FltkMessageLoop::waitAndDispatch(unsigned milliseconds) { Fl::wait(milliseconds / 1000.0); }

void FltkMessageLoop::wake() { Fl::awake(static_cast<void*>(nullptr)); }

namespace {
constexpr double kQuitCheckSeconds = 0.1;
constexpr int kMostWindows = 64;  // a window that will not hide cannot hold the end
}  // namespace

void FltkMessageLoop::quitWhen(std::function<bool()> check) {
  quitCheck_ = std::move(check);
  Fl::add_timeout(kQuitCheckSeconds, &FltkMessageLoop::poll, this);
}

void FltkMessageLoop::poll(void* self) {
  auto* loop = static_cast<FltkMessageLoop*>(self);
  if (loop->quitCheck_ && loop->quitCheck_()) {
    loop->quit_ = true;
    for (int i = 0; i < kMostWindows && Fl::first_window(); ++i) Fl::first_window()->hide();
    return;
  }
  Fl::repeat_timeout(kQuitCheckSeconds, &FltkMessageLoop::poll, self);
}

}  // namespace platform
