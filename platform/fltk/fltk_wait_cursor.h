#pragma once
#include "platform/api/wait_cursor.h"

namespace platform {

// The wait cursor over every shown window, drawn at once.
class FltkWaitCursor : public WaitCursor {
 public:
  void show() override;
  void restore() override;
};

}  // namespace platform
