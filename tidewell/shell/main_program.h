#pragma once
// The main program's state in one place: the platform it runs on, the
// window, the picture, the engine and the overlay's switches. One object per
// run (and per test); the window procedure reaches it through the one
// pointer start-up sets.
#include <memory>

#include "platform/api/clock.h"
#include "platform/api/file_finder.h"
#include "platform/api/shared_timeline.h"
#include "platform/api/sound.h"
#include "platform/api/window_system.h"
#include "tidewell/engine/engine.h"
#include "tidewell/recording/recording_control.h"
#include "tidewell/shell/link_control.h"

namespace platform {
class DisplaySystem;
}

namespace tidewell {

constexpr const char* kWindowTitle = "Direct Draw Swirlgate Example";
constexpr const char* kWindowClassName = "Swirlgate";
constexpr int kMainIconResource = 101;

// The platform services the shell runs on: real ones in the program, fakes in tests.
struct ShellPlatform {
  platform::WindowSystem* windows = nullptr;
  platform::DisplaySystem* display = nullptr;
  platform::SoundSystem* sound = nullptr;
  platform::Clock* clock = nullptr;
  platform::FileFinder* files = nullptr;
  platform::SharedTimeline* timeline = nullptr;  // none: the tempo is never shared
};

// Sets a switch to 1 from 0 and to 0 from anything else.
inline void toggle(int& flag) { flag = flag == 0 ? 1 : 0; }

class MainProgram {
 public:
  // `recordingControl` may be null: F10 then does nothing.
  explicit MainProgram(const ShellPlatform& platform, RecordingControl* recordingControl = nullptr);
  ~MainProgram();
  MainProgram(const MainProgram&) = delete;
  MainProgram& operator=(const MainProgram&) = delete;

  // Start-up and the loop; returns the exit code of the quit message, or 0
  // when start-up fails.
  int winMain(int showCommand);
  // Window, display, font picture, debug log and engine; true when the
  // program may run its frame loop.
  bool initApplication(int showCommand);
  // One frame: the engine's step, the overlay, presentation.
  void runFrame();
  // Shows a start-up failure (printf rules, at most 127 characters) in a
  // message box after releasing the display, destroys the window and returns
  // the code passed in.
  platform::HResult reportStartupError(platform::WindowHandle window, platform::HResult code,
                                       const char* format, ...);

  // The main window's procedure: activation, the cursor, the end of the
  // window and the keyboard commands; every message goes on to the default
  // handling. It serves the program that started last.
  static platform::LResult mainWindowProc(platform::WindowHandle window, std::uint32_t message,
                                          platform::WParam wParam, platform::LParam lParam);
  // The command of one key press (auto-repeats included).
  void handleKey(platform::WindowHandle window, std::uint32_t virtualKey);
  // The overlay's view of the program: the switches, the sequencer's values
  // and the recorder's state.
  PictureContext currentPictureContext() const;

  // The sequencer, once start-up has built it.
  Sequencer* sequencer() const { return engine ? engine->sequencer.get() : nullptr; }

  ShellPlatform shellPlatform;
  RecordingControl* recordingControl;
  LinkControl link{shellPlatform.timeline};  // F11 and --link
  platform::WindowHandle mainWindow = nullptr;
  std::unique_ptr<Picture> picture = std::make_unique<Picture>();
  std::unique_ptr<Engine> engine;  // built at start-up
  int windowActive = 0;     // frames run only while non-zero (never while minimised)
  int windowMinimised = 0;  // 1 while the window is minimised
  int soundsReady = 0;      // 1 once start-up has finished
  int showSequencerInfo = 1;
  int showHelp = 0;
  int showWavNames = 0;

 private:
  bool openMainWindow(int showCommand);
  platform::LResult windowMessage(platform::WindowHandle window, std::uint32_t message,
                                  platform::WParam wParam, platform::LParam lParam);
};

}  // namespace tidewell
