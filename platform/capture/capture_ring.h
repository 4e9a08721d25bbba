#pragma once
// The capture ring: a looping buffer of a fixed size that a capture source
// fills from its own thread through feed(). It keeps the capture and read
// positions, signals each notification position as it is passed, and hands
// out up to two regions for reading. Both the real device and the scripted
// test source are this ring with a different stream behind it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/api/capture.h"

namespace platform {

// What starts and stops the flow of bytes into the ring.
class CaptureStream {
 public:
  virtual ~CaptureStream() = default;
  virtual HResult startStream() = 0;
  virtual void stopStream() = 0;
};

// What a capture device takes: 8- or 16-bit PCM, one or two channels.
HResult checkCaptureDesc(const CaptureBufferDesc& desc);

class CaptureRing : public CaptureBuffer,
                    public CaptureNotifier,
                    public std::enable_shared_from_this<CaptureRing> {
 public:
  CaptureRing(std::uint32_t bytes, const WaveFormatEx& format);
  ~CaptureRing() override;

  // The stream is kept and stopped when the ring goes away.
  void attachStream(std::unique_ptr<CaptureStream> stream);

  // Called by the source; bytes are dropped while the ring is not capturing.
  void feed(const std::uint8_t* bytes, std::size_t count);

  HResult getCurrentPosition(std::uint32_t* capturePosition,
                             std::uint32_t* readPosition) override;
  HResult lock(std::uint32_t offset, std::uint32_t bytes, void** region1, std::uint32_t* bytes1,
               void** region2, std::uint32_t* bytes2, std::uint32_t flags) override;
  HResult unlock(void* region1, std::uint32_t bytes1, void* region2,
                 std::uint32_t bytes2) override;
  HResult start(std::uint32_t flags) override;
  HResult stop() override;
  HResult getStatus(std::uint32_t* status) override;
  HResult getFormat(WaveFormatEx* format, std::uint32_t sizeAllocated,
                    std::uint32_t* sizeWritten) override;
  HResult queryNotifier(std::shared_ptr<CaptureNotifier>* notifier) override;
  HResult setNotificationPositions(std::uint32_t count, const NotifyPosition* positions) override;

  std::uint32_t size() const { return static_cast<std::uint32_t>(data_.size()); }

 private:
  std::mutex mutex_;
  std::vector<std::uint8_t> data_;
  WaveFormatEx format_;
  std::uint32_t position_ = 0;  // capture and read position are the same here
  bool capturing_ = false;
  bool looping_ = false;
  std::vector<NotifyPosition> positions_;
  std::unique_ptr<CaptureStream> stream_;
};

}  // namespace platform
