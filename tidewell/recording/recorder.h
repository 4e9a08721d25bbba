#pragma once
// Records the mix as heard into recordings/tidewell-YYYYMMDD-HHMMSS.wav.
//
// The audio thread hands every finished block to onOutput(), which only
// copies it into a lock-free ring (a block that does not fit is dropped and
// counted, never waited for). A writer thread empties the ring into the file
// and brings the header's sizes up to date twice a second, so a file cut off
// by a crash is still a valid WAV. A write that fails (unwritable folder,
// full disk) ends the recording in the failed state; the music goes on.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "platform/sound/output_tap.h"
#include "tidewell/recording/float_wave_file.h"
#include "tidewell/recording/sample_ring.h"
#include "tidewell/recording/recording_control.h"

namespace tidewell::recording {

struct RecorderOptions {
  std::string folder = "recordings";
  // The ring holds this much sound while the writer is away.
  double ringSeconds = 2.5;
  std::chrono::milliseconds headerRefresh{500};
  std::chrono::milliseconds writerPause{20};
  // "YYYYMMDD-HHMMSS" of the moment a recording starts.
  std::function<std::string()> timeStamp;
  // Where starts, stops, failures and dropped sound are reported; nowhere
  // when not given.
  std::function<void(const std::string&)> log;
};

// The local time as "YYYYMMDD-HHMMSS".
std::string localTimeStamp();

class Recorder : public platform::sound::OutputTap, public RecordingControl {
 public:
  explicit Recorder(RecorderOptions options);
  ~Recorder() override;  // finishes a running recording
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;

  // Main thread.
  void toggleRecording() override;
  RecordingState recordingState() const override { return state_.load(); }
  bool start();
  void stop();
  // The file of the current or last recording; empty before the first.
  const std::string& path() const { return path_; }

  // Audio thread.
  void onOutput(const float* stereo, int frames) noexcept override;

  std::uint64_t droppedFrames() const { return ring_.droppedSamples() / kWaveChannels; }

 private:
  void writerLoop();
  bool drain(float* scratch, std::size_t scratchSamples);
  void fail(const std::string& why);
  void failWriting();
  void disarm();
  void report(const std::string& text) const;
  std::string freshPath() const;

  RecorderOptions options_;
  SampleRing ring_;
  FloatWaveFile file_;  // the writer thread's while it runs
  std::string path_;
  std::thread writer_;
  std::atomic<RecordingState> state_{RecordingState::off};
  std::atomic<bool> armed_{false};    // the audio thread copies blocks while set
  std::atomic<bool> inTap_{false};    // the audio thread is inside onOutput
  std::atomic<bool> stopRequested_{false};
  std::uint64_t droppedReported_ = 0;
};

}  // namespace tidewell::recording
