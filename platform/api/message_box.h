#pragma once
// Message boxes with a caption; the launcher shows only error boxes.
#include "platform/api/window_handle.h"

namespace platform {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows the text with an error icon and waits until it is dismissed.
  virtual void showError(const char* text, const char* caption) = 0;
};

}  // namespace platform
