#include "tidewell/shell/recording_control.h"

namespace tidewell {

RecordingControl* recordingControl = nullptr;

RecorderState currentRecorderState() {
  return recordingControl != nullptr ? recordingControl->recorderState() : RecorderState::kOff;
}

}  // namespace tidewell
