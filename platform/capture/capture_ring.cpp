#include "platform/capture/capture_ring.h"

#include <algorithm>
#include <cstring>

namespace platform {

HResult checkCaptureDesc(const CaptureBufferDesc& desc) {
  if (!desc.format || desc.bufferBytes == 0) return DSERR_INVALIDPARAM;
  const WaveFormatEx& f = *desc.format;
  const bool pcm = f.formatTag == WAVE_FORMAT_PCM && (f.bitsPerSample == 8 || f.bitsPerSample == 16);
  return pcm && f.channels >= 1 && f.channels <= 2 && f.samplesPerSec != 0 ? kOk : DSERR_BADFORMAT;
}

CaptureRing::CaptureRing(std::uint32_t bytes, const WaveFormatEx& format)
    : data_(bytes, 0), format_(format) {}

CaptureRing::~CaptureRing() {
  if (stream_) stream_->stopStream();
}

void CaptureRing::attachStream(std::unique_ptr<CaptureStream> stream) {
  stream_ = std::move(stream);
}

void CaptureRing::feed(const std::uint8_t* bytes, std::size_t count) {
  std::vector<Event*> toSignal;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    if (!capturing_ || data_.empty()) return;
    const std::uint32_t ring = size();
    while (count > 0 && capturing_) {
      const std::uint32_t room = ring - position_;
      const std::uint32_t chunk = static_cast<std::uint32_t>(std::min<std::size_t>(count, room));
      std::memcpy(data_.data() + position_, bytes, chunk);
      // A position p fires when byte p has been written: p in [from, from + chunk).
      for (const NotifyPosition& p : positions_) {
        if (p.offset != DSBPN_OFFSETSTOP && p.offset >= position_ && p.offset < position_ + chunk)
          toSignal.push_back(p.event);
      }
      position_ = (position_ + chunk) % ring;
      bytes += chunk;
      count -= chunk;
      // A ring that does not loop stops at its end.
      if (position_ == 0 && !looping_) capturing_ = false;
    }
  }
  for (Event* event : toSignal)
    if (event) event->set();
}

HResult CaptureRing::getCurrentPosition(std::uint32_t* capturePosition,
                                        std::uint32_t* readPosition) {
  std::lock_guard<std::mutex> guard(mutex_);
  if (capturePosition) *capturePosition = position_;
  if (readPosition) *readPosition = position_;
  return kOk;
}

HResult CaptureRing::lock(std::uint32_t offset, std::uint32_t bytes, void** region1,
                          std::uint32_t* bytes1, void** region2, std::uint32_t* bytes2,
                          std::uint32_t /*flags*/) {
  const std::uint32_t ring = size();
  if (!region1 || !bytes1 || offset >= ring || bytes > ring) return DSERR_INVALIDPARAM;
  const std::uint32_t first = std::min(bytes, ring - offset);
  *region1 = data_.data() + offset;
  *bytes1 = first;
  const std::uint32_t second = bytes - first;
  if (region2) *region2 = second > 0 ? data_.data() : nullptr;
  if (bytes2) *bytes2 = second;
  if (second > 0 && (!region2 || !bytes2)) return DSERR_INVALIDPARAM;
  return kOk;
}

HResult CaptureRing::unlock(void*, std::uint32_t, void*, std::uint32_t) { return kOk; }

HResult CaptureRing::start(std::uint32_t flags) {
  {
    std::lock_guard<std::mutex> guard(mutex_);
    capturing_ = true;
    looping_ = (flags & DSCBSTART_LOOPING) != 0;
  }
  if (stream_) {
    const HResult result = stream_->startStream();
    if (failed(result)) {
      std::lock_guard<std::mutex> guard(mutex_);
      capturing_ = false;
      return result;
    }
  }
  return kOk;
}

HResult CaptureRing::stop() {
  if (stream_) stream_->stopStream();
  std::vector<Event*> toSignal;
  {
    std::lock_guard<std::mutex> guard(mutex_);
    const bool wasCapturing = capturing_;
    capturing_ = false;
    if (wasCapturing)
      for (const NotifyPosition& p : positions_)
        if (p.offset == DSBPN_OFFSETSTOP) toSignal.push_back(p.event);
  }
  for (Event* event : toSignal)
    if (event) event->set();
  return kOk;
}

HResult CaptureRing::getStatus(std::uint32_t* status) {
  if (!status) return DSERR_INVALIDPARAM;
  std::lock_guard<std::mutex> guard(mutex_);
  *status = (capturing_ ? DSCBSTATUS_CAPTURING : 0) | (capturing_ && looping_ ? DSCBSTATUS_LOOPING : 0);
  return kOk;
}

HResult CaptureRing::getFormat(WaveFormatEx* format, std::uint32_t sizeAllocated,
                               std::uint32_t* sizeWritten) {
  const std::uint32_t n = std::min<std::uint32_t>(sizeAllocated, sizeof(WaveFormatEx));
  if (format) std::memcpy(format, &format_, n);
  if (sizeWritten) *sizeWritten = format ? n : sizeof(WaveFormatEx);
  return kOk;
}

HResult CaptureRing::queryNotifier(std::shared_ptr<CaptureNotifier>* notifier) {
  if (!notifier) return DSERR_INVALIDPARAM;
  *notifier = std::static_pointer_cast<CaptureNotifier>(shared_from_this());
  return kOk;
}

HResult CaptureRing::setNotificationPositions(std::uint32_t count, const NotifyPosition* positions) {
  std::lock_guard<std::mutex> guard(mutex_);
  if (capturing_) return DSERR_INVALIDCALL;
  if (count > 0 && !positions) return DSERR_INVALIDPARAM;
  for (std::uint32_t i = 0; i < count; ++i)
    if (positions[i].offset != DSBPN_OFFSETSTOP && positions[i].offset >= size())
      return DSERR_INVALIDPARAM;
  positions_.assign(positions, positions + count);
  return kOk;
}

}  // namespace platform
