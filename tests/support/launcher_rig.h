#pragma once
// The launcher over fakes in a scratch working directory: every service the
// launcher reaches, wired and ready for a test to script and inspect.
#include "launcher/launcher_main.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_dialog.h"
#include "platform/fake/launcher_fakes.h"
#include "platform/fake/scripted_capture.h"
#include "tests/support/scratch_folder.h"

namespace launcher {

struct LauncherRig {
  explicit LauncherRig(bool withAutoaudio = true)
      : dir(testing_support::kWorkInside,
            withAutoaudio ? std::vector<std::string>{"data", "autoaudio"} : std::vector<std::string>{"data"}) {
    services.messageBoxes = &boxes;
    services.loop = &loop;
    services.starter = &starter;
    services.clock = &clock;
    services.capture = &capture;
    services.dialogs = &factory;
    services.chooser = &chooser;
    services.waitCursor = &waitCursor;
  }

  testing_support::ScratchFolder dir;
  platform::fake::RecordingMessageBoxes boxes;
  platform::fake::FakeMessageLoop loop;
  platform::fake::CountingProgramStarter starter;
  platform::fake::FakeClock clock;
  platform::fake::ScriptedCaptureSystem capture;
  platform::fake::FakeDialogFactory factory;
  platform::fake::ScriptedSaveChooser chooser;
  platform::fake::CountingWaitCursor waitCursor;
  LauncherServices services;
};

}  // namespace launcher
