#pragma once
// Dialogs from templates over FLTK. Dialog units are scaled for the dialog
// font: a dialog unit is a quarter of the font's base width and an eighth of
// its base height (7 x 14 pixels here, a little roomier than a classic 8 pt
// dialog font's 6 x 13, for FLTK's Helvetica and drop-down arrows).
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/api/dialog.h"

class Fl_Double_Window;
class Fl_Widget;
class Fl_RGB_Image;

namespace platform {

struct IconPixels {
  int width;
  int height;
  const unsigned char* rgba;
};

int dialogUnitsToPixelsX(int units);
int dialogUnitsToPixelsY(int units);

class FltkDialog : public Dialog {
 public:
  FltkDialog(const DialogTemplate& dialogTemplate, std::function<const IconPixels*(int)> icons);
  ~FltkDialog() override;

  void setCommandHandler(std::function<void(int, int)> handler) override { handler_ = std::move(handler); }
  void resetContent(int id) override;
  int addString(int id, const std::string& text, std::intptr_t itemData) override;
  int getCurSel(int id) override;
  void setCurSel(int id, int index) override;
  std::intptr_t getItemData(int id, int index) override;
  void setText(int id, const std::string& text) override;
  std::string getText(int id) override;
  void enable(int id, bool enabled) override;
  bool isEnabled(int id) override;
  void setChecked(int id, bool checked) override;
  bool isChecked(int id) override;
  void loadIcon(int resourceId) override;
  void show() override;
  int runModal() override;
  void end(int code) override;
  bool ended() const override { return ended_; }
  int endCode() const override { return endCode_; }

 private:
  struct Control {
    ControlKind kind;
    Fl_Widget* widget;
    std::vector<std::intptr_t> itemData;  // drop-down lists keep their item data here
  };
  static void onWidget(Fl_Widget* widget, void* self);
  static void onWindow(Fl_Widget* widget, void* self);
  void command(int id, int code);
  Control* find(int id);

  std::unique_ptr<Fl_Double_Window> window_;
  std::map<int, Control> controls_;
  std::function<void(int, int)> handler_;
  std::function<const IconPixels*(int)> icons_;
  std::unique_ptr<Fl_RGB_Image> icon_;
  bool ended_ = false;
  int endCode_ = 0;
};

class FltkDialogFactory : public DialogFactory {
 public:
  explicit FltkDialogFactory(std::function<const IconPixels*(int)> icons) : icons_(std::move(icons)) {}
  std::unique_ptr<Dialog> createDialog(const DialogTemplate& dialogTemplate) override;

 private:
  std::function<const IconPixels*(int)> icons_;
};

}  // namespace platform
