#pragma once
// The main program's state in one object per run (and per test); the window
// procedure reaches it through the one pointer its constructor sets.
#include <memory>
#include <vector>

#include "platform/api/shared_timeline.h"
#include "platform/api/window_system.h"
#include "tidewell/engine/engine.h"
#include "tidewell/recording/recording_control.h"
#include "tidewell/shell/midi_control.h"
#include "tidewell/shell/link_control.h"

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
  explicit MainProgram(const ShellPlatform& platform, RecordingControl* recordingControl = nullptr);
  ~MainProgram();
  MainProgram(const MainProgram&) = delete;
  MainProgram& operator=(const MainProgram&) = delete;

  // Start-up and the loop; the quit message's exit code, or 0 when start-up fails.
  int winMain(int showCommand);
  // Window, display, font picture, debug log and engine; true when frames may run.
  bool initApplication(int showCommand);
  void runFrame();  // the engine's step, the overlay, presentation
  // Shows a start-up failure (printf rules, at most 127 characters) in a
  // message box after releasing the display, destroys the window and returns
  // the code passed in.
  platform::HResult reportStartupError(platform::WindowHandle window, platform::HResult code,
                                       const char* format, ...);

  // Activation, the cursor, the end of the window and the keys; every message
  // goes on to the default handling. It serves the program made last.
  static platform::LResult mainWindowProc(platform::WindowHandle window, std::uint32_t message,
                                          platform::WParam wParam, platform::LParam lParam);
  void handleKey(platform::WindowHandle window, std::uint32_t virtualKey);  // repeats included
  // The overlay's view: the switches, the sequencer's values, the recorder's state.
  PictureContext currentPictureContext() const;
  Sequencer* sequencer() const { return engine ? engine->sequencer.get() : nullptr; }

  ShellPlatform shellPlatform;
  RecordingControl* recordingControl;  // null: F10 does nothing
  // MIDI out, plugged in by the program's entry; null: M does nothing.
  MidiControl* midiControl = nullptr;
  // Sinks attached to the engine's sequencer beside the voices and the
  // picture when start-up builds it (MIDI out).
  std::vector<HitSink*> extraHitSinks;
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
