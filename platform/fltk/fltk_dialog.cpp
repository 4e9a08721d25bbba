#include "platform/fltk/fltk_dialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Toggle_Button.H>

namespace platform {

namespace {

// A little wider and taller than the classic 8 pt dialog font, because
// FLTK's Helvetica and its drop-down arrows need the room.
constexpr int kBaseUnitX = 7;
constexpr int kBaseUnitY = 14;
constexpr int kFontSize = 10;  // FLTK's Helvetica at the width of an 8 pt dialog font
constexpr int kDropDownHeight = 21;
constexpr int kListSelectionChanged = 1;

// Statics show their text as it is: FLTK's normal labels would take a
// leading or trailing "@..." for a symbol (a file name such as "me@home.wav").
constexpr Fl_Labeltype kPlainLabel = FL_FREE_LABELTYPE;

void drawPlainLabel(const Fl_Label* label, int x, int y, int w, int h, Fl_Align align) {
  fl_font(label->font, label->size);
  fl_color(label->color);
  fl_draw(label->value, x, y, w, h, align, label->image, 0);
}

void measurePlainLabel(const Fl_Label* label, int& w, int& h) {
  fl_font(label->font, label->size);
  fl_measure(label->value, w, h, 0);
}

}  // namespace

int dialogUnitsToPixelsX(int units) { return (units * kBaseUnitX + 2) / 4; }
int dialogUnitsToPixelsY(int units) { return (units * kBaseUnitY + 4) / 8; }

FltkDialog::FltkDialog(const DialogTemplate& t, std::function<const IconPixels*(int)> icons)
    : icons_(std::move(icons)) {
  Fl::set_labeltype(kPlainLabel, drawPlainLabel, measurePlainLabel);
  const int width = dialogUnitsToPixelsX(t.width);
  const int height = dialogUnitsToPixelsY(t.height);
  window_ = std::make_unique<Fl_Double_Window>((Fl::w() - width) / 2, (Fl::h() - height) / 2, width,
                                               height, t.caption);
  window_->callback(&FltkDialog::onWindow, this);
  for (const ControlTemplate& c : t.controls) {
    const int x = dialogUnitsToPixelsX(c.x);
    const int y = dialogUnitsToPixelsY(c.y);
    const int w = dialogUnitsToPixelsX(c.width);
    const int h = dialogUnitsToPixelsY(c.height);
    Fl_Widget* widget = nullptr;
    switch (c.kind) {
      case ControlKind::kDefPushButton:
      case ControlKind::kPushButton:
        widget = new Fl_Button(x, y, w, h);
        break;
      case ControlKind::kToggleButton:
        widget = new Fl_Toggle_Button(x, y, w, h);
        break;
      case ControlKind::kListBox: {
        auto* list = new Fl_Hold_Browser(x, y, w, h);
        list->textsize(kFontSize);
        list->when(FL_WHEN_CHANGED);
        widget = list;
        break;
      }
      case ControlKind::kDropDownList: {
        auto* choice = new Fl_Choice(x, y, w, kDropDownHeight);
        choice->textsize(kFontSize);
        widget = choice;
        break;
      }
      case ControlKind::kEdit: {
        auto* edit = new Fl_Input(x, y, w, h);
        edit->textsize(kFontSize);
        widget = edit;
        break;
      }
      case ControlKind::kStatic:
      case ControlKind::kStaticSunken: {
        auto* box = new Fl_Box(x, y, w, h);
        box->box(c.kind == ControlKind::kStaticSunken ? FL_THIN_DOWN_BOX : FL_NO_BOX);
        box->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
        box->labeltype(kPlainLabel);
        widget = box;
        break;
      }
      case ControlKind::kGroupBox: {
        // The frame runs through the middle of the caption line; the caption
        // sits on it over a patch of the window's colour.
        const int half = kFontSize / 2 + 1;
        new Fl_Box(FL_ENGRAVED_FRAME, x, y + half, w, h - half, nullptr);
        fl_open_display();  // text is measured on the display's fonts
        fl_font(FL_HELVETICA, kFontSize);
        const int captionWidth = static_cast<int>(fl_width(c.caption)) + 6;
        auto* caption = new Fl_Box(FL_FLAT_BOX, x + 6, y, captionWidth, kFontSize + 2, nullptr);
        caption->align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE);
        widget = caption;
        break;
      }
    }
    widget->copy_label(c.caption);
    widget->labelsize(kFontSize);
    if (c.id >= 0) {
      widget->callback(&FltkDialog::onWidget, this);
      controls_[c.id] = Control{c.kind, widget, {}};
    }
  }
  window_->end();
}

FltkDialog::~FltkDialog() = default;

void FltkDialog::onWidget(Fl_Widget* widget, void* self) {
  auto* dialog = static_cast<FltkDialog*>(self);
  for (const auto& [id, control] : dialog->controls_) {
    if (control.widget != widget) continue;
    dialog->command(id, control.kind == ControlKind::kListBox ? kListSelectionChanged : 0);
    return;
  }
}

void FltkDialog::onWindow(Fl_Widget*, void* self) {
  // Esc and the close box are the dialog's cancel, command 2.
  static_cast<FltkDialog*>(self)->command(2, 0);
}

void FltkDialog::command(int id, int code) {
  if (handler_) handler_(id, code);
}

FltkDialog::Control* FltkDialog::find(int id) {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : &it->second;
}

void FltkDialog::resetContent(int id) {
  Control* c = find(id);
  if (!c) return;
  c->itemData.clear();
  if (c->kind == ControlKind::kListBox) static_cast<Fl_Hold_Browser*>(c->widget)->clear();
  if (c->kind == ControlKind::kDropDownList) static_cast<Fl_Choice*>(c->widget)->clear();
}

int FltkDialog::addString(int id, const std::string& text, std::intptr_t itemData) {
  Control* c = find(id);
  if (!c) return -1;
  if (c->kind == ControlKind::kListBox) {
    auto* list = static_cast<Fl_Hold_Browser*>(c->widget);
    list->add(text.c_str(), reinterpret_cast<void*>(itemData));
    return list->size() - 1;
  }
  if (c->kind == ControlKind::kDropDownList) {
    auto* choice = static_cast<Fl_Choice*>(c->widget);
    // Inserted at the end: the menu is never sorted; "/" and "&" taken literally.
    std::string literal;
    for (char ch : text) {
      if (ch == '/' || ch == '&' || ch == '\\' || ch == '_') literal += '\\';
      literal += ch;
    }
    choice->add(literal.c_str());
    c->itemData.push_back(itemData);
    return static_cast<int>(c->itemData.size()) - 1;
  }
  return -1;
}

int FltkDialog::getCurSel(int id) {
  Control* c = find(id);
  if (!c) return -1;
  if (c->kind == ControlKind::kListBox) return static_cast<Fl_Hold_Browser*>(c->widget)->value() - 1;
  if (c->kind == ControlKind::kDropDownList) return static_cast<Fl_Choice*>(c->widget)->value();
  return -1;
}

void FltkDialog::setCurSel(int id, int index) {
  Control* c = find(id);
  if (!c) return;
  if (c->kind == ControlKind::kListBox) static_cast<Fl_Hold_Browser*>(c->widget)->value(index + 1);
  if (c->kind == ControlKind::kDropDownList) static_cast<Fl_Choice*>(c->widget)->value(index);
}

std::intptr_t FltkDialog::getItemData(int id, int index) {
  Control* c = find(id);
  if (!c || index < 0) return -1;
  if (c->kind == ControlKind::kListBox) {
    auto* list = static_cast<Fl_Hold_Browser*>(c->widget);
    if (index >= list->size()) return -1;
    return reinterpret_cast<std::intptr_t>(list->data(index + 1));
  }
  if (index >= static_cast<int>(c->itemData.size())) return -1;
  return c->itemData[index];
}

void FltkDialog::setText(int id, const std::string& text) {
  Control* c = find(id);
  if (!c) return;
  if (c->kind == ControlKind::kEdit) {
    static_cast<Fl_Input*>(c->widget)->value(text.c_str());
  } else {
    c->widget->copy_label(text.c_str());
    window_->redraw();
  }
}

std::string FltkDialog::getText(int id) {
  Control* c = find(id);
  if (!c) return {};
  if (c->kind == ControlKind::kEdit) return static_cast<Fl_Input*>(c->widget)->value();
  return c->widget->label() ? c->widget->label() : "";
}

void FltkDialog::enable(int id, bool enabled) {
  Control* c = find(id);
  if (!c) return;
  if (enabled) c->widget->activate();
  else c->widget->deactivate();
}

bool FltkDialog::isEnabled(int id) {
  Control* c = find(id);
  return c && c->widget->active();
}

void FltkDialog::setChecked(int id, bool checked) {
  Control* c = find(id);
  if (c && c->kind == ControlKind::kToggleButton) static_cast<Fl_Button*>(c->widget)->value(checked ? 1 : 0);
}

bool FltkDialog::isChecked(int id) {
  Control* c = find(id);
  return c && c->kind == ControlKind::kToggleButton && static_cast<Fl_Button*>(c->widget)->value() != 0;
}

void FltkDialog::loadIcon(int resourceId) {
  const IconPixels* pixels = icons_ ? icons_(resourceId) : nullptr;
  if (!pixels) return;
  icon_ = std::make_unique<Fl_RGB_Image>(pixels->rgba, pixels->width, pixels->height, 4);
  window_->icon(icon_.get());
}

void FltkDialog::show() { window_->show(); }

int FltkDialog::runModal() {
  window_->set_modal();
  window_->show();
  while (!ended_ && window_->shown()) Fl::wait();
  return endCode_;
}

void FltkDialog::end(int code) {
  ended_ = true;
  endCode_ = code;
  window_->hide();
}

std::unique_ptr<Dialog> FltkDialogFactory::createDialog(const DialogTemplate& dialogTemplate) {
  return std::make_unique<FltkDialog>(dialogTemplate, icons_);
}

}  // namespace platform
