#pragma once
#include "platform/api/message_box.h"

namespace platform {

// An alert with the caption as its title and a red error mark as its icon.
class FltkMessageBoxes : public MessageBoxes {
 public:
  void showError(const char* text, const char* caption) override;
};

}  // namespace platform
