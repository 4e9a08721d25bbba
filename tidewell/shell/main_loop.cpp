#include "tidewell/shell/main_loop.h"

#include "tidewell/picture/palette_animation.h"
#include "tidewell/picture/palettes.h"
#include "tidewell/picture/display_setup.h"
#include "tidewell/picture/ripple.h"
#include "tidewell/picture/text_hud.h"
#include "tidewell/common/random.h"
#include "tidewell/sequencer/sequencer.h"
#include "tidewell/shell/app_state.h"
#include "tidewell/shell/overlay_view.h"
#include "tidewell/shell/shell_platform.h"
#include "tidewell/shell/startup.h"

namespace tidewell {

void rollPaletteChange() {
  if (drawRandom() % 1000 < sequencer->paletteChangeChance) randomisePalette();
}

void runFrame() {
  sequencer->tick();
  renderPicture();
  rollPaletteChange();
  fadePalette();
  drawHud(currentPictureContext());
  present();
}

int winMain(int showCommand) {
  if (!initApplication(showCommand)) return 0;

  setUpPalette();
  present();

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
