#include "launcher/setup_dialog.h"

#include <initializer_list>

#include "launcher/capture_formats.h"
#include "launcher/control_ids.h"
#include "shared/settings_path.h"

namespace launcher {

namespace {

constexpr const char* kScanError = "Error scanning DirectSound formats.Sample will now exit.";

void fillList(platform::Dialog& dialog, int id, std::initializer_list<const char*> items,
              int selected) {
  dialog.resetContent(id);
  int index = 0;
  for (const char* item : items) dialog.addString(id, item, index++);
  dialog.setCurSel(id, selected);
}

}  // namespace

void fillFormatList(platform::Dialog& dialog, int listId, const std::array<int, 16>& formatSupported) {
  dialog.resetContent(listId);
  platform::WaveFormatEx format{};
  for (int index = 0; index < kCaptureFormatCount; ++index) {
    if (formatSupported[index] != 1) continue;
    formatFromIndex(index, &format);
    dialog.addString(listId, describeFormat(format), index);
  }
}

platform::HResult initSetupDialog(Launcher& launcher, platform::Dialog& dialog) {
  if (launcher.captureAvailable) {
    platform::WaitCursor* cursor = launcher.services.waitCursor;
    if (cursor) cursor->show();
    const platform::HResult scanned = launcher.engine.scanCaptureFormats();
    if (cursor) cursor->restore();
    if (scanned < 0) return scanned;
  }
  // Without a device nothing was accepted: the list stays empty, so the
  // capture way cannot be confirmed.
  fillFormatList(dialog, IDC_FORMAT_LIST, launcher.engine.formatSupported());
  if (!launcher.captureAvailable) {
    dialog.enable(IDC_FORMAT_LIST, false);
    dialog.setText(IDC_FORMAT_NOTE, kNoCaptureDeviceNote);
  }

  const std::initializer_list<const char*> mutation = {"none", "low", "medium", "high", "very high"};
  fillList(dialog, IDC_TIME_SIGNATURE, {"4", "5", "6", "7", "8"}, 0);
  fillList(dialog, IDC_TIME_SIGNATURE_MUTATION, mutation, 0);
  fillList(dialog, IDC_BEHAVIOUR, {"Random", "Sliding", "Tonal"}, 0);
  fillList(dialog, IDC_BEHAVIOUR_MUTATION, mutation, 0);
  fillList(dialog, IDC_WAVEFORM, {"Saw Down", "Saw Up", "Sine"}, 0);
  fillList(dialog, IDC_WAVEFORM_MUTATION, mutation, 0);
  fillList(dialog, IDC_CHANNELS, {"1", "2", "3", "4", "5", "6", "7", "8"}, 2);
  fillList(dialog, IDC_TEMPO, {"v slow", "slow", "medium", "fast", "v fast"}, 2);
  fillList(dialog, IDC_DEMO, {"Percussive", "Ambient", "L-Piano", "Instagib"}, 0);

  dialog.setText(IDC_SEARCH_KEYWORD, "currently disabled");
  dialog.setText(IDC_FOLDER_NAME, "demo1");
  // Nothing is selected in the format list yet, and the web way never runs.
  dialog.enable(IDC_CAPTURE_OK, false);
  dialog.enable(IDC_WEB_OK, false);
  return platform::kOk;
}

void updateCaptureOkButton(platform::Dialog& dialog) {
  dialog.enable(IDC_CAPTURE_OK, dialog.getCurSel(IDC_FORMAT_LIST) >= 0);
}

SetupChoices readChoices(platform::Dialog& dialog) {
  SetupChoices c;
  c.timeSignature = dialog.getCurSel(IDC_TIME_SIGNATURE);
  c.timeSignatureMutation = dialog.getCurSel(IDC_TIME_SIGNATURE_MUTATION);
  c.behaviour = dialog.getCurSel(IDC_BEHAVIOUR);
  c.behaviourMutation = dialog.getCurSel(IDC_BEHAVIOUR_MUTATION);
  c.waveform = dialog.getCurSel(IDC_WAVEFORM);
  c.waveformMutation = dialog.getCurSel(IDC_WAVEFORM_MUTATION);
  c.channels = dialog.getCurSel(IDC_CHANNELS);
  c.tempo = dialog.getCurSel(IDC_TEMPO);
  c.folder = dialog.getText(IDC_FOLDER_NAME);
  c.keyword = dialog.getText(IDC_SEARCH_KEYWORD);
  c.demo = dialog.getCurSel(IDC_DEMO);
  return c;
}

bool writeSettingsAndLaunch(Launcher& launcher, platform::Dialog& dialog, int request) {
  std::string error;
  if (!writeSettingsFile(tidewell::kSettingsPath, composeSettingsLine(request, readChoices(dialog)), &error) ||
      !launcher.services.starter->startProgram(kMainProgram, &error)) {
    showError(launcher, error.c_str());
    return false;
  }
  return true;
}

platform::HResult confirmCapture(Launcher& launcher, platform::Dialog& dialog) {
  // Nothing is recorded for a main program that never started.
  if (!writeSettingsAndLaunch(launcher, dialog, kRequestSoundCapture)) return platform::kFalse;
  platform::WaveFormatEx& format = launcher.engine.chosenFormat;
  format = platform::WaveFormatEx{};
  format.formatTag = platform::WAVE_FORMAT_PCM;
  const int selected = dialog.getCurSel(IDC_FORMAT_LIST);
  formatFromIndex(static_cast<int>(dialog.getItemData(IDC_FORMAT_LIST, selected)), &format);
  const platform::HResult created = launcher.engine.createCaptureBuffer(format);
  if (created < 0) return created;
  dialog.end(kEndCaptureReady);
  return platform::kOk;
}

void setupDialogInit(Launcher& launcher, platform::Dialog& dialog) {
  if (initSetupDialog(launcher, dialog) < 0) {
    showError(launcher, kScanError);
    dialog.end(kEndError);
  }
}

void setupDialogCommand(Launcher& launcher, platform::Dialog& dialog, int id) {
  switch (id) {
    case IDC_CAPTURE_OK:
      if (confirmCapture(launcher, dialog) < 0) {
        showError(launcher, kScanError);
        dialog.end(kEndError);
      }
      break;
    case IDC_QUIT:
      dialog.end(kEndQuit);
      break;
    case IDC_FOLDER_OK:
      writeSettingsAndLaunch(launcher, dialog, kRequestLocalFolder);
      break;
    case IDC_DEMO_OK:
      writeSettingsAndLaunch(launcher, dialog, kRequestDemo);
      break;
    case IDC_FORMAT_LIST:
      updateCaptureOkButton(dialog);
      break;
    default:
      break;
  }
}

}  // namespace launcher
