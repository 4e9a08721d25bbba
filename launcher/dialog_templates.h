#pragma once
#include "platform/api/dialog_template.h"

namespace launcher {

const platform::DialogTemplate& setupDialogTemplate();
const platform::DialogTemplate& captureWindowTemplate();

}  // namespace launcher
