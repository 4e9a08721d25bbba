// The main program's single thread: start-up, then a message loop that runs
// one frame whenever no message waits and the window is active.
#include "tidewell/shell/main_program.h"

namespace tidewell {

void MainProgram::runFrame() {
  engine->step();
  picture->drawHud(currentPictureContext());
  picture->present();
}

int MainProgram::winMain(int showCommand) {
  if (!initApplication(showCommand)) return 0;

  picture->setUpPalette();
  picture->present();

  platform::WindowSystem& windows = *shellPlatform.windows;
  for (;;) {
    platform::Message message;
    if (windows.peekMessage(&message)) {
      if (windows.getMessage(&message) == 0) return static_cast<int>(message.wParam);
      windows.translateMessage(message);
      windows.dispatchMessage(message);
    } else if (windowActive != 0) {
      runFrame();
    } else {
      windows.waitMessage();
    }
  }
}

}  // namespace tidewell
