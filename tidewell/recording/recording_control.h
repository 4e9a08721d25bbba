#pragma once
// The program's handle on the recording of what is heard: F10 toggles it
// and the overlay shows its state. Without a recorder (tests, renders) F10
// does nothing and the state stays off.

namespace tidewell {

enum class RecordingState { off, recording, failed };

class RecordingControl {
 public:
  virtual ~RecordingControl() = default;
  // Starts a recording, or stops the one running.
  virtual void toggleRecording() = 0;
  virtual RecordingState recordingState() const = 0;
};

}  // namespace tidewell
