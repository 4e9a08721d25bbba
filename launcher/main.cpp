// The launcher's entry: FLTK dialogs, SDL sound capture, POSIX program start.
#include <FL/Fl.H>

#include "launcher/launcher_main.h"
#include "platform/fltk/fltk_dialog.h"
#include "platform/fltk/fltk_message_boxes.h"
#include "platform/fltk/fltk_message_loop.h"
#include "platform/fltk/fltk_save_file_chooser.h"
#include "platform/posix/program_starter.h"
#include "platform/posix/steady_clock.h"
#include "platform/sdl/sdl_capture.h"
#include "resources/resources.h"

int main() {
  // FLTK's own chooser: the GTK one opens behind other windows without a
  // window manager.
  Fl::option(Fl::OPTION_FNFC_USES_GTK, false);
  Fl::scheme("gtk+");

  static platform::IconPixels iconPixels{};
  platform::FltkDialogFactory dialogs([](int id) -> const platform::IconPixels* {
    const resources::IconImage* icon = resources::findIcon(id);
    if (!icon) return nullptr;
    iconPixels = {icon->width, icon->height, icon->rgba};
    return &iconPixels;
  });
  platform::FltkMessageBoxes messageBoxes;
  platform::FltkMessageLoop loop;
  platform::PosixProgramStarter starter;
  platform::posix::SteadyClock clock;
  platform::FltkSaveFileChooser chooser;
  platform::SdlCaptureSystem capture;

  launcher::LauncherServices services;
  services.dialogs = &dialogs;
  services.messageBoxes = &messageBoxes;
  services.loop = &loop;
  services.starter = &starter;
  services.clock = &clock;
  services.chooser = &chooser;
  services.capture = &capture;
  return launcher::launcherMain(services);
}
