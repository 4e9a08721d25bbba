#pragma once
// The capture engine: the capture device, its ring buffer with sixteen
// notification positions, and the copy of whole notification blocks from the
// ring into the file being recorded.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "launcher/riff_wave_writer.h"
#include "platform/api/capture.h"
#include "platform/api/event.h"

namespace launcher {

class CaptureEngine {
 public:
  CaptureEngine(platform::CaptureSystem* system, platform::Event* notifyEvent,
                platform::Event* stopEvent);
  ~CaptureEngine();

  // Where status texts go (the capture window's status line).
  void setStatusSink(std::function<void(const std::string&)> sink) { statusSink_ = std::move(sink); }
  // Where the one trace line per copied block goes; stderr unless replaced.
  void setDebugOutput(std::function<void(const char*)> output) { debugOutput_ = std::move(output); }

  platform::HResult initCaptureEngine();
  platform::HResult releaseCaptureEngine();
  platform::HResult scanCaptureFormats();
  platform::HResult createCaptureBuffer(const platform::WaveFormatEx& format);
  platform::HResult setUpNotifications();
  // The file is written as "<fileName>.part" beside its final name and
  // renamed over it when finished, so that a reader never meets a
  // half-written file and the previous take of that name stays whole until
  // its replacement is.
  void openCaptureFile(const std::string& fileName);
  platform::HResult startCapture();
  platform::HResult stopCapture();
  platform::HResult drainCapture();
  // The ring's actual format as "%u Hz, %u-bit %s".
  std::string capturedFormatText();

  // The format chosen in the setup dialog, used for every later ring.
  platform::WaveFormatEx chosenFormat{};

  const std::array<int, 16>& formatSupported() const { return formatSupported_; }
  std::uint32_t notifySize() const { return notifySize_; }
  std::uint32_t captureBufferSize() const { return captureBufferSize_; }
  std::uint32_t nextCaptureOffset() const { return nextCaptureOffset_; }
  const platform::NotifyPosition& notifyPosition(int i) const { return notifyPositions_[i]; }
  bool hasCaptureBuffer() const { return captureBuffer_ != nullptr; }
  bool hasWriter() const { return writer_ != nullptr; }
  bool hasWriterFile() const { return writer_ && writer_->file; }

 private:
  void setStatusText(const std::string& text);
  // Finishes the open file and gives it its final name.
  void finishFile();

  platform::CaptureSystem* system_;
  platform::Event* notifyEvent_;
  platform::Event* stopEvent_;
  std::shared_ptr<platform::CaptureDevice> captureDevice_;
  platform::CaptureBufferRef captureBuffer_;
  std::shared_ptr<platform::CaptureNotifier> notifier_;
  std::array<platform::NotifyPosition, 17> notifyPositions_{};
  std::uint32_t notifySize_ = 0;
  std::uint32_t captureBufferSize_ = 0;
  std::uint32_t nextCaptureOffset_ = 0;
  std::unique_ptr<platform::WaveFormatEx> capturedFormat_;
  std::array<int, 16> formatSupported_{};
  std::unique_ptr<RiffWaveWriter> writer_;
  std::string writerFileName_;  // the name the open file takes when finished
  std::function<void(const std::string&)> statusSink_;
  std::function<void(const char*)> debugOutput_;
};

}  // namespace launcher
