#include "platform/sound/software_buffer.h"

#include "platform/sound/gain.h"

namespace platform::sound {
namespace {
class HeldListener : public SoundListener3D {};
}  // namespace

HResult PrimarySoundBuffer::getStatus(std::uint32_t* status) {
  if (status == nullptr) return DSERR_INVALIDPARAM;
  *status = 0;
  return kOk;
}

HResult PrimarySoundBuffer::queryListener(std::shared_ptr<SoundListener3D>* listener) {
  if (listener == nullptr) return DSERR_INVALIDPARAM;
  if (!(flags_ & DSBCAPS_CTRL3D)) return E_NOINTERFACE;
  *listener = std::make_shared<HeldListener>();
  return kOk;
}

SecondarySoundBuffer::SecondarySoundBuffer(std::shared_ptr<Mixer> mixer, std::shared_ptr<SampleStore> store,
                                           std::uint32_t flags, std::uint32_t frequency)
    : mixer_(std::move(mixer)), store_(std::move(store)), flags_(flags), frequency_(frequency) {
  voice_ = mixer_->acquireVoice(store_.get(), frequency_);
}

SecondarySoundBuffer::~SecondarySoundBuffer() {
  // The slot lets go of the store under the mixer's lock before the store can go.
  if (voice_ >= 0) mixer_->releaseVoice(voice_);
}

std::shared_ptr<SecondarySoundBuffer> SecondarySoundBuffer::duplicate() const {
  auto copy = std::make_shared<SecondarySoundBuffer>(mixer_, store_, flags_, frequency_);
  if (!copy->valid()) return nullptr;
  copy->volume_ = volume_;
  copy->pan_ = pan_;
  copy->applyGains();
  return copy;
}

void SecondarySoundBuffer::applyGains() {
  float left, right;
  channelGains(volume_, pan_, &left, &right);
  mixer_->setGains(voice_, left, right);
}

HResult SecondarySoundBuffer::lock(std::uint32_t offset, std::uint32_t bytes, void** region1,
                                   std::uint32_t* bytes1, void** region2, std::uint32_t* bytes2,
                                   std::uint32_t flags) {
  if (region1 == nullptr || bytes1 == nullptr) return DSERR_INVALIDPARAM;
  auto& raw = store_->raw;
  const auto size = static_cast<std::uint32_t>(raw.size());
  if (flags & DSBLOCK_ENTIREBUFFER) {
    offset = 0;
    bytes = size;
  }
  if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
  const std::uint32_t first = std::min(bytes, size - offset);
  *region1 = raw.data() + offset;
  *bytes1 = first;
  if (region2 != nullptr) *region2 = bytes > first ? raw.data() : nullptr;
  if (bytes2 != nullptr) *bytes2 = bytes - first;
  return kOk;
}

HResult SecondarySoundBuffer::unlock(void* region1, std::uint32_t, void*, std::uint32_t) {
  auto& raw = store_->raw;
  const auto* p = static_cast<const std::uint8_t*>(region1);
  if (p < raw.data() || p >= raw.data() + raw.size()) return DSERR_INVALIDPARAM;
  // The voices (this one and every duplicate) play the new data from here on;
  // the old copy is freed here, on this thread, once the mixer has let go.
  auto next = decodeSample(raw.data(), static_cast<std::uint32_t>(raw.size()), store_->layout);
  auto old = mixer_->replaceSample(store_.get(), std::move(next));
  return kOk;
}

HResult SecondarySoundBuffer::play(std::uint32_t, std::uint32_t, std::uint32_t flags) {
  // Only play-once is offered: the sequencer never loops.
  if (flags & DSBPLAY_LOOPING) return DSERR_INVALIDPARAM;
  mixer_->play(voice_);
  return kOk;
}

HResult SecondarySoundBuffer::playAfter(double delayMs) {
  const double frames = delayMs > 0 ? delayMs * Mixer::kOutputRate / 1000.0 : 0.0;
  mixer_->play(voice_, mixer_->frameNow() + static_cast<std::uint64_t>(frames + 0.5));
  return kOk;
}

HResult SecondarySoundBuffer::stop() {
  mixer_->stop(voice_);
  return kOk;
}

HResult SecondarySoundBuffer::getStatus(std::uint32_t* status) {
  if (status == nullptr) return DSERR_INVALIDPARAM;
  *status = mixer_->isPlaying(voice_) ? DSBSTATUS_PLAYING : 0u;
  return kOk;
}

HResult SecondarySoundBuffer::setVolume(std::int32_t volume) {
  if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
  volume_ = volume;
  applyGains();
  return kOk;
}

HResult SecondarySoundBuffer::setPan(std::int32_t pan) {
  if (!(flags_ & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
  if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
  pan_ = pan;
  applyGains();
  return kOk;
}

HResult SecondarySoundBuffer::setFrequency(std::uint32_t frequency) {
  if (!(flags_ & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
  if (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX) return DSERR_INVALIDPARAM;
  frequency_ = frequency;
  mixer_->setFrequency(voice_, frequency);
  return kOk;
}

HResult SecondarySoundBuffer::queryListener(std::shared_ptr<SoundListener3D>*) { return E_NOINTERFACE; }

}  // namespace platform::sound
