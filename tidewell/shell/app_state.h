#pragma once
// Process-wide state of the main program's shell: the window, the one
// sequencer and the switches of the text overlay.
#include "platform/api/window_handle.h"
#include "tidewell/recording/recording_control.h"

namespace tidewell {

class Sequencer;

extern platform::WindowHandle mainWindow;
extern Sequencer* sequencer;  // created at start-up, deleted by the entry after the loop
extern int windowActive;      // frames run only while non-zero (never while minimised)
extern int windowMinimised;   // 1 while the window is minimised
extern int soundsReady;       // 1 once start-up has finished
extern int showSequencerInfo;
extern int showHelp;
extern int showWavNames;
extern RecordingControl* recordingControl;  // null when nothing records

// Sets a switch to 1 from 0 and to 0 from anything else.
inline void toggle(int& flag) { flag = flag == 0 ? 1 : 0; }

}  // namespace tidewell
