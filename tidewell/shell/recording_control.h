#pragma once
// The shell's handle on the recording of what is heard: F10 toggles it and
// the HUD shows its state. The program's entry plugs a recorder in; without
// one (tests, renders) F10 does nothing and the state stays off.

namespace tidewell {

enum class RecorderState { kOff, kRecording, kFailed };

class RecordingControl {
 public:
  virtual ~RecordingControl() = default;
  // Starts a recording, or stops the one running.
  virtual void toggleRecording() = 0;
  virtual RecorderState recorderState() const = 0;
};

// Set once by the program's entry; null when nothing records.
extern RecordingControl* recordingControl;

// The state for the HUD's mark: off when nothing records.
RecorderState currentRecorderState();

}  // namespace tidewell
