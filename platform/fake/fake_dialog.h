#pragma once
// Dialogs for tests: every control of the template keeps its list items,
// selection, text and enabled state in memory; click() and select() send the
// command a user's press or pick would send.
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/api/dialog.h"

namespace platform::fake {

class FakeDialog : public Dialog {
 public:
  explicit FakeDialog(const DialogTemplate& dialogTemplate);

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
  void setChecked(int id, bool checked) override { control(id).checked = checked; }
  bool isChecked(int id) override { return control(id).checked; }
  void loadIcon(int resourceId) override { iconId = resourceId; }
  void show() override { shown = true; }
  int runModal() override;  // the test drives the dialog beforehand; returns its end code
  void end(int code) override;
  bool ended() const override { return ended_; }
  int endCode() const override { return endCode_; }

  // A user's press: disabled controls send nothing.
  void click(int id);
  // A user's pick in a list, followed by the list's notification.
  void select(int id, int index);
  std::vector<std::string> items(int id);

  std::string caption;
  bool shown = false;
  int iconId = 0;

 private:
  struct Control {
    std::vector<std::pair<std::string, std::intptr_t>> items;
    int selection = -1;
    std::string text;
    bool enabled = true;
    bool checked = false;
  };
  Control& control(int id) { return controls_[id]; }

  std::map<int, Control> controls_;
  std::function<void(int, int)> handler_;
  bool ended_ = false;
  int endCode_ = 0;
};

// Creates FakeDialogs; a test may script what happens while one runs modally.
class FakeDialogFactory : public DialogFactory {
 public:
  std::unique_ptr<Dialog> createDialog(const DialogTemplate& dialogTemplate) override;
  // Called with each dialog when it runs modally, before its end code is taken.
  std::function<void(FakeDialog&)> onRunModal;
  std::vector<FakeDialog*> created;  // not owned; valid while the caller keeps them
};

}  // namespace platform::fake
