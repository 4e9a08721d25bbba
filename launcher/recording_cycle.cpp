#include "launcher/recording_cycle.h"

#include <cstdio>

#include "launcher/capture_window.h"
#include "launcher/control_ids.h"

namespace launcher {

void recordingCycleStep(Launcher& launcher) {
  // The previous reading starts at 0, so the very first pass always fires.
  const std::uint32_t now = launcher.services.clock->timeGetTime();
  launcher.cycleElapsed += now - launcher.previousTime;
  launcher.previousTime = now;
  if (launcher.chosenFileTake) {
    launcher.cycleElapsed = 0;
    return;
  }
  if (launcher.cycleElapsed <= kCycleHalfMs) return;

  launcher.cycleFlag = launcher.cycleFlag == 0 ? 1 : 0;
  launcher.cycleElapsed = 0;

  if (!launcher.secondLaunchDone && launcher.captureFileNumber == kSecondLaunchAfterFile) {
    launcher.secondLaunchDone = true;
    // A box here would hold up the recording; the reason goes to stderr.
    std::string error;
    if (!launcher.services.starter->startProgram(kMainProgram, &error))
      std::fprintf(stderr, "%s\n", error.c_str());
  }

  if (launcher.cycleFlag == 1) {
    launcher.engine.stopCapture();
    showRecordButton(launcher, false);
    return;
  }

  launcher.captureFileNumber += 1;
  if (launcher.captureFileNumber > kLastCaptureFileNumber) launcher.captureFileNumber = 0;
  char fileName[32];
  std::snprintf(fileName, sizeof fileName, "autoaudio/%d.wav", launcher.captureFileNumber);
  // A manual recording still running ends here with everything it heard.
  launcher.engine.stopCapture();
  launcher.engine.openCaptureFile(fileName);
  createAndStartCapture(launcher);
}

}  // namespace launcher
