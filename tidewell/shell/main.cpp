// The main program's entry: the real platform layers, then start-up and the
// frame loop. No command line and no environment of our own: the settings
// file is the only input.
#include "platform/posix/posix_file_finder.h"
#include "platform/posix/steady_clock.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_sound.h"
#include "platform/sdl/sdl_window_system.h"
#include "tidewell/sequencer/sequencer.h"
#include "tidewell/shell/app_state.h"
#include "tidewell/shell/main_loop.h"
#include "tidewell/shell/shell_platform.h"

int main() {
  platform::SdlWindowSystem windows;
  platform::SdlDisplaySystem display;
  platform::SdlSoundSystem sound;
  platform::SteadyClock clock;
  platform::PosixFileFinder files;

  // The sound is heard only while the window has the focus.
  windows.setFocusListener([&sound](bool focused) { sound.setFocused(focused); });

  tidewell::shellPlatform = {&windows, &display, &sound, &clock, &files};
  const int exitCode = tidewell::winMain(platform::SW_SHOWNORMAL);

  // Tracks and their buffers go before the sound layer they play on.
  delete tidewell::sequencer;
  tidewell::sequencer = nullptr;
  return exitCode;
}
