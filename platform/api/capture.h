#pragma once
// Sound capture shaped like a capture device with a looping ring buffer whose
// notification positions signal events. The ring is filled by the device on
// its own thread; everything else runs on the caller's thread.
#include <cstdint>
#include <memory>

#include "platform/api/event.h"
#include "platform/api/result_codes.h"
#include "platform/api/wave_format.h"

namespace platform {

constexpr std::uint32_t DSCBSTART_LOOPING = 0x1;
constexpr std::uint32_t DSBPN_OFFSETSTOP = 0xFFFFFFFFu;
constexpr std::uint32_t DSCBSTATUS_CAPTURING = 0x1;
constexpr std::uint32_t DSCBSTATUS_LOOPING = 0x2;

struct CaptureBufferDesc {
  std::uint32_t size = 20;  // the description record's size, kept for fidelity
  std::uint32_t flags = 0;
  std::uint32_t bufferBytes = 0;
  std::uint32_t reserved = 0;
  const WaveFormatEx* format = nullptr;
};

struct NotifyPosition {
  std::uint32_t offset = 0;  // the event fires once this byte has been captured
  Event* event = nullptr;
};

class CaptureNotifier {
 public:
  virtual ~CaptureNotifier() = default;
  virtual HResult setNotificationPositions(std::uint32_t count,
                                           const NotifyPosition* positions) = 0;
};

class CaptureBuffer {
 public:
  virtual ~CaptureBuffer() = default;
  // capturePosition: where the device writes next; readPosition: everything
  // before it is safe to read.
  virtual HResult getCurrentPosition(std::uint32_t* capturePosition,
                                     std::uint32_t* readPosition) = 0;
  virtual HResult lock(std::uint32_t offset, std::uint32_t bytes, void** region1,
                       std::uint32_t* bytes1, void** region2, std::uint32_t* bytes2,
                       std::uint32_t flags) = 0;
  virtual HResult unlock(void* region1, std::uint32_t bytes1, void* region2,
                         std::uint32_t bytes2) = 0;
  virtual HResult start(std::uint32_t flags) = 0;
  virtual HResult stop() = 0;
  virtual HResult getStatus(std::uint32_t* status) = 0;
  // Copies at most sizeAllocated bytes of the ring's format record.
  virtual HResult getFormat(WaveFormatEx* format, std::uint32_t sizeAllocated,
                            std::uint32_t* sizeWritten) = 0;
  virtual HResult queryNotifier(std::shared_ptr<CaptureNotifier>* notifier) = 0;
};

using CaptureBufferRef = std::shared_ptr<CaptureBuffer>;

class CaptureDevice {
 public:
  virtual ~CaptureDevice() = default;
  // Fails (and makes nothing) when the device does not accept the format.
  virtual HResult createCaptureBuffer(const CaptureBufferDesc& desc, CaptureBufferRef* buffer) = 0;
};

// Opens the default capture device.
class CaptureSystem {
 public:
  virtual ~CaptureSystem() = default;
  virtual HResult directSoundCaptureCreate(std::shared_ptr<CaptureDevice>* device) = 0;
};

}  // namespace platform
