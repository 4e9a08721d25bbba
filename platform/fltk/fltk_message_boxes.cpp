#include "platform/fltk/fltk_message_boxes.h"

#include <FL/Fl.H>
#include <FL/Fl_Widget.H>
#include <FL/fl_ask.H>

namespace platform {

void FltkMessageBoxes::showError(const char* text, const char* caption) {
  Fl_Widget* icon = fl_message_icon();
  icon->label("X");
  icon->labelcolor(FL_WHITE);
  icon->color(FL_RED);
  icon->box(FL_ROUND_UP_BOX);
  fl_message_title(caption);
  fl_alert("%s", text);
}

}  // namespace platform
