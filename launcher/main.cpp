// The launcher's entry: FLTK dialogs, SDL sound capture, POSIX program start,
// in the working directory that it shares with the main program.
#include <FL/Fl.H>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "launcher/launcher_main.h"
#include "platform/fltk/fltk_dialog.h"
#include "platform/fltk/fltk_message_boxes.h"
#include "platform/fltk/fltk_message_loop.h"
#include "platform/fltk/fltk_save_file_chooser.h"
#include "platform/fltk/fltk_wait_cursor.h"
#include "platform/fltk/x11_display_check.h"
#include "platform/posix/program_starter.h"
#include "platform/posix/steady_clock.h"
#include "platform/posix/termination_signals.h"
#include "platform/posix/user_folders.h"
#include "platform/posix/working_directory.h"
#include "platform/sdl/sdl_capture.h"
#include "resources/resources.h"

namespace {

constexpr const char* kProgram = "tidewell-launcher";

const char* kUsage =
    "Usage: tidewell-launcher [--help] [--version]\n"
    "Shows the \"Tidewell Setup\" dialog. Pick the parameters and a way to run\n"
    "(a sample folder, sound capture or a demo); the launcher writes\n"
    "data/settings.txt and starts tidewell, installed beside it. In a capture\n"
    "run it records autoaudio/0.wav .. 10.wav for the music to pick up.\n"
    "\n"
    "Both programs work in the same folder: $TIDEWELL_HOME when set; for an\n"
    "installed copy $XDG_DATA_HOME/tidewell (~/.local/share/tidewell), made\n"
    "and filled with the demos on first start; in a build, its run/ folder.\n";

// The exit code when an option ends the program before the dialog.
std::optional<int> handleArguments(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("%s %s\n", kProgram, TIDEWELL_VERSION);
      return 0;
    }
    std::fprintf(stderr, "%s: unknown option '%s'\nTry '%s --help'.\n", kProgram, argv[i], kProgram);
    return 2;
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<int> exitCode = handleArguments(argc, argv)) return *exitCode;
  std::string problem;
  if (!platform::x11DisplayAvailable(&problem) || !platform::posix::enterWorkingDirectory(&problem)) {
    std::fprintf(stderr, "%s: %s\n", kProgram, problem.c_str());
    return 1;
  }
  // A kill, Ctrl+C or logout finishes the take in progress before the end.
  platform::posix::catchTerminationSignals();
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
  loop.quitWhen(platform::posix::terminationRequested);
  const std::string programFolder = platform::posix::executablePath();
  platform::PosixProgramStarter starter(programFolder.substr(0, programFolder.find_last_of('/')));
  platform::posix::SteadyClock clock;
  platform::FltkSaveFileChooser chooser;
  platform::FltkWaitCursor waitCursor;
  platform::SdlCaptureSystem capture;

  launcher::LauncherServices services;
  services.dialogs = &dialogs;
  services.messageBoxes = &messageBoxes;
  services.loop = &loop;
  services.starter = &starter;
  services.clock = &clock;
  services.chooser = &chooser;
  services.capture = &capture;
  services.waitCursor = &waitCursor;
  services.initialSaveFolder = platform::posix::musicFolder([](const char* name) { return std::getenv(name); });
  return launcher::launcherMain(services);
}
