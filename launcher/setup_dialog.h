#pragma once
// The "Tidewell Setup" dialog: filling it, the enabling of the capture OK,
// and the three ways to confirm a run.
#include "launcher/launcher_state.h"
#include "launcher/settings_line.h"
#include "platform/api/dialog.h"

namespace launcher {

platform::HResult initSetupDialog(Launcher& launcher, platform::Dialog& dialog);
void updateCaptureOkButton(platform::Dialog& dialog);
platform::HResult confirmCapture(Launcher& launcher, platform::Dialog& dialog);
// false, after a message box, when the settings cannot be written or the
// main program cannot be started; the dialog stays open either way.
bool writeSettingsAndLaunch(Launcher& launcher, platform::Dialog& dialog, int request);

constexpr const char* kNoCaptureDeviceNote = "No sound capture device: folder and demo runs only";

// What the dialog's controls show now.
SetupChoices readChoices(platform::Dialog& dialog);

// The dialog procedure: initialisation, then every command.
void setupDialogInit(Launcher& launcher, platform::Dialog& dialog);
void setupDialogCommand(Launcher& launcher, platform::Dialog& dialog, int id);

// Fills the capture format list with one line per accepted format.
void fillFormatList(platform::Dialog& dialog, int listId, const std::array<int, 16>& formatSupported);

}  // namespace launcher
