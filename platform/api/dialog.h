#pragma once
// Dialogs laid out from a template: controls addressed by id, list and edit
// contents, enabling, and a command handler that sees every button press and
// list notification. A dialog ends with a code; a modal run returns it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/api/dialog_template.h"

namespace platform {

class Dialog {
 public:
  virtual ~Dialog() = default;
  // id of the control, notification code (0 for a click).
  virtual void setCommandHandler(std::function<void(int id, int code)> handler) = 0;
  // List boxes and drop-down lists, in insertion order (never sorted).
  virtual void resetContent(int id) = 0;
  virtual int addString(int id, const std::string& text, std::intptr_t itemData) = 0;
  virtual int getCurSel(int id) = 0;  // -1 when nothing is selected
  virtual void setCurSel(int id, int index) = 0;
  virtual std::intptr_t getItemData(int id, int index) = 0;
  // Edit controls and statics.
  virtual void setText(int id, const std::string& text) = 0;
  virtual std::string getText(int id) = 0;
  virtual void enable(int id, bool enabled) = 0;
  virtual bool isEnabled(int id) = 0;
  // Toggle buttons: shown pressed in (checked) or out.
  virtual void setChecked(int id, bool checked) = 0;
  virtual bool isChecked(int id) = 0;
  // Window icon (large and small) from the program's icon resource.
  virtual void loadIcon(int resourceId) = 0;
  virtual void show() = 0;
  // Shows the dialog and runs until it ends; returns the end code.
  virtual int runModal() = 0;
  virtual void end(int code) = 0;
  virtual bool ended() const = 0;
  virtual int endCode() const = 0;
};

class DialogFactory {
 public:
  virtual ~DialogFactory() = default;
  // The dialog is created hidden.
  virtual std::unique_ptr<Dialog> createDialog(const DialogTemplate& dialogTemplate) = 0;
};

// The launcher's message queue: wait for input, events or a time-out while
// handling whatever arrives, and a posted quit request.
class MessageLoop {
 public:
  virtual ~MessageLoop() = default;
  // Handles pending messages; returns after at most `milliseconds`, or
  // sooner when a message arrives or an event waker fires.
  virtual void waitAndDispatch(unsigned milliseconds) = 0;
  virtual void postQuit() = 0;
  // true once after a quit was posted.
  virtual bool takeQuit() = 0;
  // Wakes a waitAndDispatch from any thread.
  virtual void wake() = 0;
};

}  // namespace platform
