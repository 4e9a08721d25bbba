#include "launcher/capture_window.h"

#include "launcher/control_ids.h"

namespace launcher {

void showError(Launcher& launcher, const char* text) {
  if (launcher.services.messageBoxes) launcher.services.messageBoxes->showError(text, kMessageCaption);
}

void initCaptureWindow(Launcher& launcher) {
  platform::Dialog* window = launcher.captureWindow.get();
  window->loadIcon(IDI_LAUNCHER);
  window->enable(IDC_RECORD, false);
  setStatusText(launcher, "No file loaded.");
  launcher.engine.setStatusSink([&launcher](const std::string& text) { setStatusText(launcher, text); });
}

void setStatusText(Launcher& launcher, const std::string& text) {
  if (launcher.captureWindow) launcher.captureWindow->setText(IDC_STATUS, text);
}

void showCaptureFormat(Launcher& launcher) {
  launcher.captureWindow->setText(IDC_FORMAT_TEXT, launcher.engine.capturedFormatText());
}

void failCapture(Launcher& launcher, const char* text) {
  showError(launcher, text);
  launcher.services.loop->postQuit();
  if (launcher.captureWindow) launcher.captureWindow->end(kEndError);
}

void createAndStartCapture(Launcher& launcher) {
  if (launcher.engine.createCaptureBuffer(launcher.engine.chosenFormat) < 0) {
    failCapture(launcher, "Error creating DirectSoundCapture buffer. Sample will now exit.");
    return;
  }
  if (launcher.engine.startCapture() < 0)
    failCapture(launcher, "Error starting DirectSound buffer. Sample will now exit.");
}

void chooseSaveFile(Launcher& launcher) {
  platform::SaveFileRequest request;
  request.filters = {{"Wave Files", "*.wav"}, {"All Files", "*.*"}};
  request.filterIndex = 1;
  request.title = "Save Sound File";
  request.flags = platform::OFN_HIDEREADONLY | platform::OFN_OVERWRITEPROMPT | platform::OFN_PATHMUSTEXIST;
  request.defaultExtension = "wav";
  if (launcher.saveFolder.empty()) {
    launcher.saveFolder = launcher.services.initialSaveFolder;
  }
  request.fileName = launcher.saveFileName;
  request.initialFolder = launcher.saveFolder;

  // The capture stops before the chooser opens, in either half: the take in
  // progress is finished with what it holds, and no ring runs undrained
  // while the user chooses.
  launcher.engine.stopCapture();
  launcher.cycleFlag = 0;
  launcher.chosenFileTake = false;
  showRecordButton(launcher, false);
  setStatusText(launcher, "Saving file...");

  const bool chosen = launcher.services.chooser && launcher.services.chooser->getSaveFileName(&request);
  restartCycleHalf(launcher);  // however long the chooser was open
  if (!chosen) {
    setStatusText(launcher, "Save aborted.");
    return;
  }
  launcher.saveFileName = request.fileName;
  setStatusText(launcher, "");
  launcher.engine.openCaptureFile(request.fileName);
  const std::size_t slash = request.fileName.find_last_of('/');
  if (slash != std::string::npos) launcher.saveFolder = request.fileName.substr(0, slash);
  // A file that could not be made offers no take: its first drain would
  // end the launcher.
  if (!launcher.engine.hasWriterFile()) return;
  // "&Record" starts the take; until then nothing is recorded.
  launcher.captureWindow->enable(IDC_RECORD, true);
  launcher.chosenFileTake = true;
}

void showRecordButton(Launcher& launcher, bool enabled) {
  if (!launcher.captureWindow) return;
  launcher.captureWindow->enable(IDC_RECORD, enabled);
  launcher.captureWindow->setChecked(IDC_RECORD, false);
}

void restartCycleHalf(Launcher& launcher) {
  launcher.cycleElapsed = 0;
  launcher.previousTime = launcher.services.clock->timeGetTime();
}

void captureWindowCommand(Launcher& launcher, int id) {
  switch (id) {
    case IDC_CANCEL:
      launcher.services.loop->postQuit();
      launcher.captureWindow->end(kEndQuit);
      break;
    case IDC_SOUND_FILE:
      chooseSaveFile(launcher);
      break;
    case IDC_RECORD:
      if (launcher.cycleFlag == 1) {
        launcher.engine.stopCapture();
        showRecordButton(launcher, false);
        // The cycle goes on from here, a whole half at a time.
        if (launcher.chosenFileTake) restartCycleHalf(launcher);
        launcher.chosenFileTake = false;
      } else {
        createAndStartCapture(launcher);
        launcher.captureWindow->setChecked(IDC_RECORD, true);
      }
      launcher.cycleFlag = launcher.cycleFlag == 1 ? 0 : 1;
      break;
    default:
      break;
  }
}

}  // namespace launcher
