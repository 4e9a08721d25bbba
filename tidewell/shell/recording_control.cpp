#include "tidewell/shell/recording_control.h"

namespace tidewell {

RecordingControl* recordingControl = nullptr;

RecordingState currentRecordingState() {
  return recordingControl != nullptr ? recordingControl->recordingState() : RecordingState::kOff;
}

}  // namespace tidewell
