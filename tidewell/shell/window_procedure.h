#pragma once
// The main window's procedure: activation, the cursor, the end of the window
// and the keyboard commands. Every message goes on to the default handling.
#include "platform/api/window_system.h"

namespace tidewell {

platform::LResult mainWindowProc(platform::WindowHandle window, std::uint32_t message,
                                 platform::WParam wParam, platform::LParam lParam);

// The command of one key press (auto-repeats included).
void handleKey(platform::WindowHandle window, std::uint32_t virtualKey);

}  // namespace tidewell
