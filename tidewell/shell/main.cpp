// The main program's entry: the command line, the real platform layers, then
// start-up and the frame loop. The settings file is the music's only input.
#include <SDL2/SDL.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/link/link_session.h"
#include "platform/posix/posix_file_finder.h"
#include "platform/posix/steady_clock.h"
#include "platform/posix/working_directory.h"
#include "platform/rtmidi/rtmidi_port.h"
#include "platform/sdl/audio_thread_priority.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_sound.h"
#include "platform/sdl/sdl_window_system.h"
#include "platform/sdl/video_presence.h"
#include "resources/resources.h"
#include "tidewell/recording/recorder.h"
#include "tidewell/render/offline_render.h"
#include "tidewell/common/random.h"
#include "tidewell/shell/command_line.h"
#include "tidewell/shell/debug_log.h"
#include "tidewell/shell/live_midi.h"
#include "tidewell/shell/main_program.h"

namespace {

// The window icon from the program's embedded icons.
SDL_Surface* loadIcon(int resource) {
  const resources::IconImage* icon = resources::findIcon(resource);
  if (icon == nullptr) return nullptr;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, icon->width, icon->height, 32,
                                                        SDL_PIXELFORMAT_RGBA32);
  if (surface == nullptr) return nullptr;
  for (int y = 0; y < icon->height; ++y) {
    SDL_memcpy(static_cast<Uint8*>(surface->pixels) + y * surface->pitch,
               icon->rgba + static_cast<std::size_t>(y) * icon->width * 4,
               static_cast<std::size_t>(icon->width) * 4);
  }
  return surface;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string program = argc > 0 ? argv[0] : "tidewell";
  tidewell::CommandLine options;
  std::string problem;
  if (!tidewell::parseCommandLine(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc), &options,
                                  &problem)) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", program.c_str(), problem.c_str(), program.c_str());
    return 2;
  }
  if (options.showHelp) {
    std::fputs(tidewell::usageText(program).c_str(), stdout);
    return 0;
  }
  if (options.showVersion) {
    std::printf("tidewell %s\n", tidewell::versionText());
    return 0;
  }

  if (options.seed) tidewell::randomGenerator().seed(*options.seed);

  // A display to show on (an offline render needs none), and the working
  // directory shared with the launcher. A render's output stays where the
  // user named it from.
  std::error_code noDirectory;
  const std::filesystem::path startedIn = std::filesystem::current_path(noDirectory);
  if ((!options.render && !platform::sdl::videoHasDisplay(&problem)) ||
      !platform::posix::enterWorkingDirectory(&problem)) {
    std::fprintf(stderr, "%s: %s\n", program.c_str(), problem.c_str());
    return 1;
  }
  if (options.render && std::filesystem::current_path(noDirectory) != startedIn) {
    options.render->outputPath = (startedIn / options.render->outputPath).string();
    if (!options.render->midiPath.empty())
      options.render->midiPath = (startedIn / options.render->midiPath).string();
  }
  if (options.render) return tidewell::render::renderToFile(*options.render, stderr);

  // F10's recorder outlives the sound system whose audio thread feeds it.
  tidewell::recording::RecorderOptions recorderOptions;
  recorderOptions.log = [](const std::string& text) {
    tidewell::appendDebugLog(text.c_str());
    std::fprintf(stderr, "tidewell: %s\n", text.c_str());
  };
  tidewell::recording::Recorder recorder{recorderOptions};

  platform::SdlWindowSystem windows;
  platform::SdlDisplaySystem display({options.windowed, options.integerScale});
  platform::sdl::SdlSoundSystem sound;
  platform::posix::SteadyClock clock;
  platform::posix::PosixFileFinder files;
  platform::link::LinkSession session;  // outlives the program that shares it

  // The sound is heard only while the window has the focus.
  windows.setFocusListener([&sound](bool focused) { sound.setFocused(focused); });
  windows.setIconLoader(loadIcon);
  sound.mixer().setOutputTap(&recorder);

  // MIDI out keeps a thread of its own, at real-time priority where allowed
  // as the sound thread runs; every sounding hit goes to it as well.
  tidewell::LiveMidi liveMidi(platform::rtmidi::openVirtualPort, options.midiOut,
                              [] { platform::sdl::raiseToRealTime(); });

  // Tracks and their buffers go (with the program) before the sound layer they play on.
  auto mainProgram = std::make_unique<tidewell::MainProgram>(
      tidewell::ShellPlatform{&windows, &display, &sound, &clock, &files, &session}, &recorder);
  mainProgram->midiControl = &liveMidi;
  mainProgram->extraHitSinks = {&liveMidi};
  mainProgram->link.joinEarly(options.link);
  const int exitCode = mainProgram->winMain(platform::SW_SHOWNORMAL);
  // Escape, F12, closing the window and SIGTERM all come out here.
  recorder.stop();
  mainProgram.reset();  // its sequencer holds the MIDI sink
  return exitCode;
}
