#pragma once
// The launcher-wide state: the platform services it runs on, the two capture
// events, the capture window, the capture engine and the recording cycle.
#include <cstdint>
#include <memory>
#include <string>

#include "launcher/capture_engine.h"
#include "platform/api/capture.h"
#include "platform/api/clock.h"
#include "platform/api/dialog.h"
#include "platform/api/message_box.h"
#include "platform/api/program_starter.h"
#include "platform/api/save_file_chooser.h"
#include "platform/api/wait_cursor.h"
#include "platform/capture/auto_reset_event.h"

namespace launcher {

struct LauncherServices {
  platform::DialogFactory* dialogs = nullptr;
  platform::MessageBoxes* messageBoxes = nullptr;
  platform::MessageLoop* loop = nullptr;
  platform::ProgramStarter* starter = nullptr;
  platform::Clock* clock = nullptr;
  platform::SaveFileChooser* chooser = nullptr;
  platform::CaptureSystem* capture = nullptr;
  platform::WaitCursor* waitCursor = nullptr;
  // Where the save chooser starts when nothing was chosen yet: the user's
  // music folder, or home.
  std::string initialSaveFolder;
};

constexpr const char* kMainProgram = "tidewell";

struct Launcher {
  explicit Launcher(const LauncherServices& s)
      : services(s),
        notifyEvent([loop = s.loop] { if (loop) loop->wake(); }),
        stopEvent([loop = s.loop] { if (loop) loop->wake(); }),
        engine(s.capture, &notifyEvent, &stopEvent) {}

  LauncherServices services;
  platform::AutoResetEvent notifyEvent;
  platform::AutoResetEvent stopEvent;
  std::unique_ptr<platform::Dialog> captureWindow;
  CaptureEngine engine;
  // false when there is no capture device: the dialog then offers folder
  // and demo runs only.
  bool captureAvailable = true;

  // Recording cycle: 1 = pause half, 0 = recording half.
  int cycleFlag = 0;
  int captureFileNumber = -1;
  bool secondLaunchDone = false;
  std::uint32_t cycleElapsed = 0;
  std::uint32_t previousTime = 0;
  // From a confirmed "Sound &file..." until "&Record" finishes the chosen
  // file, the cycle stands still: the player's take is not cut short or
  // replaced by a numbered one.
  bool chosenFileTake = false;

  // The save chooser offers the last chosen file and folder.
  std::string saveFileName;
  std::string saveFolder;

  bool done = false;
};

// Shows an error box captioned "DirectSound Sample".
void showError(Launcher& launcher, const char* text);

}  // namespace launcher
