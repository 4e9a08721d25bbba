#pragma once
// The "Capturing Sound" window: the captured format, the status line, the
// manual "&Record" toggle and "Sound &file..." chooser.
#include <string>

#include "launcher/launcher_state.h"

namespace launcher {

void initCaptureWindow(Launcher& launcher);
void setStatusText(Launcher& launcher, const std::string& text);
void showCaptureFormat(Launcher& launcher);
void chooseSaveFile(Launcher& launcher);
void captureWindowCommand(Launcher& launcher, int id);

// A failed ring creation or start: report, post quit, end the window with 3.
void failCapture(Launcher& launcher, const char* text);

// Enables or disables "&Record" and shows it released.
void showRecordButton(Launcher& launcher, bool enabled);
// The current half of the recording cycle starts again from now.
void restartCycleHalf(Launcher& launcher);

// Makes a fresh ring for the chosen format and starts it; reports failures.
void createAndStartCapture(Launcher& launcher);

}  // namespace launcher
