#include "platform/fake/fake_dialog.h"

namespace platform::fake {

FakeDialog::FakeDialog(const DialogTemplate& dialogTemplate) : caption(dialogTemplate.caption) {
  for (const ControlTemplate& c : dialogTemplate.controls)
    if (c.id >= 0) controls_[c.id].text = c.caption;
}

void FakeDialog::resetContent(int id) {
  control(id).items.clear();
  control(id).selection = -1;
}

int FakeDialog::addString(int id, const std::string& text, std::intptr_t itemData) {
  control(id).items.emplace_back(text, itemData);
  return static_cast<int>(control(id).items.size()) - 1;
}

int FakeDialog::getCurSel(int id) { return control(id).selection; }

void FakeDialog::setCurSel(int id, int index) {
  Control& c = control(id);
  c.selection = (index >= 0 && index < static_cast<int>(c.items.size())) ? index : -1;
}

std::intptr_t FakeDialog::getItemData(int id, int index) {
  Control& c = control(id);
  if (index < 0 || index >= static_cast<int>(c.items.size())) return -1;
  return c.items[index].second;
}

void FakeDialog::setText(int id, const std::string& text) { control(id).text = text; }
std::string FakeDialog::getText(int id) { return control(id).text; }
void FakeDialog::enable(int id, bool enabled) { control(id).enabled = enabled; }
bool FakeDialog::isEnabled(int id) { return control(id).enabled; }

int FakeDialog::runModal() {
  shown = true;
  return endCode_;
}

void FakeDialog::end(int code) {
  ended_ = true;
  endCode_ = code;
  shown = false;
}

void FakeDialog::click(int id) {
  if (!control(id).enabled || !handler_) return;
  handler_(id, 0);
}

void FakeDialog::select(int id, int index) {
  setCurSel(id, index);
  if (handler_) handler_(id, 1);
}

std::vector<std::string> FakeDialog::items(int id) {
  std::vector<std::string> texts;
  for (const auto& item : control(id).items) texts.push_back(item.first);
  return texts;
}

namespace {

// Lets the factory's script act while the dialog "runs".
class ScriptedModalDialog : public FakeDialog {
 public:
  ScriptedModalDialog(const DialogTemplate& t, FakeDialogFactory* factory)
      : FakeDialog(t), factory_(factory) {}
  int runModal() override {
    show();
    if (factory_->onRunModal) factory_->onRunModal(*this);
    return endCode();
  }

 private:
  FakeDialogFactory* factory_;
};

}  // namespace

std::unique_ptr<Dialog> FakeDialogFactory::createDialog(const DialogTemplate& dialogTemplate) {
  auto dialog = std::make_unique<ScriptedModalDialog>(dialogTemplate, this);
  created.push_back(dialog.get());
  return dialog;
}

}  // namespace platform::fake
