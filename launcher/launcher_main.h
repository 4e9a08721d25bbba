#pragma once
#include "launcher/launcher_state.h"

namespace launcher {

// The launcher's entry: setup dialog, then for a capture run the capture
// window and the recording loop until the window closes. Returns 1.
int launcherMain(const LauncherServices& services);

}  // namespace launcher
