#include "launcher/capture_engine.h"

#include <cstdio>

#include "launcher/capture_formats.h"

namespace launcher {

using platform::HResult;

CaptureEngine::CaptureEngine(platform::CaptureSystem* system, platform::Event* notifyEvent,
                             platform::Event* stopEvent)
    : system_(system),
      notifyEvent_(notifyEvent),
      stopEvent_(stopEvent),
      debugOutput_([](const char* text) { std::fputs(text, stderr); }) {}

CaptureEngine::~CaptureEngine() { releaseCaptureEngine(); }

void CaptureEngine::setStatusText(const std::string& text) {
  if (statusSink_) statusSink_(text);
}

HResult CaptureEngine::initCaptureEngine() {
  notifyPositions_ = {};
  captureBufferSize_ = 0;
  notifySize_ = 0;
  writer_.reset();
  if (!system_) return platform::E_FAIL;
  const HResult created = system_->directSoundCaptureCreate(&captureDevice_);
  return created < 0 ? created : platform::kOk;
}

HResult CaptureEngine::releaseCaptureEngine() {
  capturedFormat_.reset();
  finishFile();
  notifier_.reset();
  captureBuffer_.reset();
  captureDevice_.reset();
  return platform::kOk;
}

HResult CaptureEngine::scanCaptureFormats() {
  platform::WaveFormatEx format{};
  format.formatTag = platform::WAVE_FORMAT_PCM;
  for (int index = 0; index < kCaptureFormatCount; ++index) {
    formatFromIndex(index, &format);
    platform::CaptureBufferDesc desc;
    desc.bufferBytes = format.avgBytesPerSec;  // one second of sound
    desc.format = &format;
    platform::CaptureBufferRef trial;
    const bool made = captureDevice_ && captureDevice_->createCaptureBuffer(desc, &trial) >= 0;
    formatSupported_[index] = made ? 1 : 0;
    trial.reset();
  }
  return platform::kOk;
}

HResult CaptureEngine::createCaptureBuffer(const platform::WaveFormatEx& format) {
  notifier_.reset();
  captureBuffer_.reset();
  notifySize_ = notifySizeFor(format);
  captureBufferSize_ = 16 * notifySize_;
  if (!captureDevice_) return platform::E_FAIL;
  platform::CaptureBufferDesc desc;
  desc.bufferBytes = captureBufferSize_;
  desc.format = &format;
  const HResult made = captureDevice_->createCaptureBuffer(desc, &captureBuffer_);
  if (made < 0) return made;
  nextCaptureOffset_ = 0;
  const HResult notifications = setUpNotifications();
  if (notifications < 0) return notifications;
  return platform::kOk;
}

HResult CaptureEngine::setUpNotifications() {
  if (!captureBuffer_) return platform::E_FAIL;
  const HResult queried = captureBuffer_->queryNotifier(&notifier_);
  if (queried < 0) return queried;
  for (int i = 0; i < 16; ++i)
    notifyPositions_[i] = {notifySize_ * static_cast<std::uint32_t>(i + 1) - 1, notifyEvent_};
  notifyPositions_[16] = {platform::DSBPN_OFFSETSTOP, stopEvent_};
  const HResult set = notifier_->setNotificationPositions(17, notifyPositions_.data());
  if (set < 0) return set;
  capturedFormat_ = std::make_unique<platform::WaveFormatEx>();
  captureBuffer_->getFormat(capturedFormat_.get(), sizeof(platform::WaveFormatEx), nullptr);
  return platform::kOk;
}

namespace {
std::string partialFileName(const std::string& fileName) { return fileName + ".part"; }
}  // namespace

void CaptureEngine::openCaptureFile(const std::string& fileName) {
  finishFile();
  writer_ = std::make_unique<RiffWaveWriter>();
  writerFileName_ = fileName;
  // Without a ring there is no captured format yet; nothing can be written then.
  const HResult opened = capturedFormat_
                             ? writer_->open(partialFileName(fileName).c_str(), capturedFormat_.get())
                             : platform::E_FAIL;
  setStatusText(opened < 0 ? std::string("Can not create wave file.") : fileName);
}

void CaptureEngine::finishFile() {
  if (!writer_) return;
  const bool hadFile = writer_->file != nullptr;
  const bool finished = writer_->finish(0) >= 0;
  writer_.reset();
  if (!hadFile) return;
  const std::string partial = partialFileName(writerFileName_);
  // Only a whole file replaces the previous take of that name.
  if (!finished || std::rename(partial.c_str(), writerFileName_.c_str()) != 0)
    std::remove(partial.c_str());
}

HResult CaptureEngine::startCapture() {
  if (!captureBuffer_) return platform::E_FAIL;
  const HResult started = captureBuffer_->start(platform::DSCBSTART_LOOPING);
  return started < 0 ? started : platform::kOk;
}

HResult CaptureEngine::stopCapture() {
  if (!captureBuffer_) return platform::kOk;
  captureBuffer_->stop();
  drainCapture();
  finishFile();
  return platform::kOk;
}

HResult CaptureEngine::drainCapture() {
  if (!captureBuffer_ || !writer_) return platform::kFalse;
  std::uint32_t capturePosition = 0;
  std::uint32_t readPosition = 0;
  const HResult position = captureBuffer_->getCurrentPosition(&capturePosition, &readPosition);
  if (position < 0) return position;

  std::int64_t length = static_cast<std::int64_t>(readPosition) - nextCaptureOffset_;
  if (length < 0) length += captureBufferSize_;
  length -= length % notifySize_;  // only whole blocks; the rest waits
  if (length == 0) return platform::kFalse;

  char line[128];
  std::snprintf(line, sizeof line,
                "Writing %5d bytes to file from capture buffer starting at offset %d\n",
                static_cast<int>(length), static_cast<int>(nextCaptureOffset_));
  if (debugOutput_) debugOutput_(line);

  void* region1 = nullptr;
  void* region2 = nullptr;
  std::uint32_t bytes1 = 0;
  std::uint32_t bytes2 = 0;
  const HResult locked = captureBuffer_->lock(nextCaptureOffset_, static_cast<std::uint32_t>(length),
                                              &region1, &bytes1, &region2, &bytes2, 0);
  if (locked < 0) return locked;

  std::uint32_t written = 0;
  HResult wrote = writer_->write(bytes1, static_cast<const std::uint8_t*>(region1), &written);
  if (wrote < 0) return wrote;
  captureBuffer_->unlock(region1, bytes1, nullptr, 0);
  nextCaptureOffset_ = (nextCaptureOffset_ + bytes1) % captureBufferSize_;

  if (region2) {
    wrote = writer_->write(bytes2, static_cast<const std::uint8_t*>(region2), &written);
    if (wrote < 0) return wrote;
    captureBuffer_->unlock(region2, bytes2, nullptr, 0);
    nextCaptureOffset_ = (nextCaptureOffset_ + bytes2) % captureBufferSize_;
  }
  return platform::kOk;
}

std::string CaptureEngine::capturedFormatText() {
  platform::WaveFormatEx format{};
  if (captureBuffer_) captureBuffer_->getFormat(&format, sizeof format, nullptr);
  return describeFormat(format);
}

}  // namespace launcher
