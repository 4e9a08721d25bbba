#include "tidewell/shell/app_state.h"

namespace tidewell {

platform::WindowHandle mainWindow = nullptr;
Sequencer* sequencer = nullptr;
int windowActive = 0;
int windowMinimised = 0;
int soundsReady = 0;
int showSequencerInfo = 1;
int showHelp = 0;
int showWavNames = 0;
RecordingControl* recordingControl = nullptr;

}  // namespace tidewell
