#include "platform/fltk/fltk_wait_cursor.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

namespace platform {

namespace {

void setCursor(Fl_Cursor cursor) {
  for (Fl_Window* window = Fl::first_window(); window; window = Fl::next_window(window))
    window->cursor(cursor);
  Fl::flush();
}

}  // namespace

void FltkWaitCursor::show() { setCursor(FL_CURSOR_WAIT); }
void FltkWaitCursor::restore() { setCursor(FL_CURSOR_DEFAULT); }

}  // namespace platform
