#include "launcher/launcher_main.h"

#include "launcher/capture_window.h"
#include "launcher/control_ids.h"
#include "launcher/dialog_templates.h"
#include "launcher/recording_cycle.h"
#include "launcher/setup_dialog.h"

namespace launcher {

namespace {

constexpr unsigned kLoopWaitMs = 100;

int runSetupDialog(Launcher& launcher) {
  std::unique_ptr<platform::Dialog> dialog =
      launcher.services.dialogs->createDialog(setupDialogTemplate());
  platform::Dialog& setup = *dialog;
  setup.setCommandHandler([&launcher, &setup](int id, int) { setupDialogCommand(launcher, setup, id); });
  // Shown first, so that the wait cursor of the format scan is seen.
  setup.show();
  setupDialogInit(launcher, setup);
  if (setup.ended()) return setup.endCode();
  return setup.runModal();
}

void runRecordingLoop(Launcher& launcher) {
  platform::MessageLoop& loop = *launcher.services.loop;
  while (!launcher.done) {
    recordingCycleStep(launcher);
    loop.waitAndDispatch(kLoopWaitMs);
    if (launcher.notifyEvent.take() && launcher.engine.drainCapture() < 0) {
      showError(launcher, "Error handling DirectSound notifications. Sample will now exit.");
      launcher.done = true;
    }
    launcher.stopEvent.take();  // nothing to do for a stop
    if (loop.takeQuit()) launcher.done = true;
  }
}

}  // namespace

int launcherMain(const LauncherServices& services) {
  Launcher launcher(services);

  launcher.captureWindow = services.dialogs->createDialog(captureWindowTemplate());
  launcher.captureWindow->setCommandHandler(
      [&launcher](int id, int) { captureWindowCommand(launcher, id); });
  initCaptureWindow(launcher);

  // Without a capture device the folder and demo runs still work; the
  // setup dialog says why capture is not offered.
  launcher.captureAvailable = launcher.engine.initCaptureEngine() >= 0;

  const int result = runSetupDialog(launcher);
  if (result == kEndCaptureReady) {
    showCaptureFormat(launcher);
    launcher.cycleFlag = 0;
    launcher.captureWindow->show();
  } else {
    services.loop->postQuit();
  }

  runRecordingLoop(launcher);

  launcher.engine.stopCapture();
  launcher.engine.releaseCaptureEngine();
  launcher.captureWindow.reset();
  return 1;
}

}  // namespace launcher
