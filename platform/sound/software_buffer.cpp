#include "platform/sound/software_buffer.h"

#include "platform/sound/buffer_rules.h"
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
  // The mixer keeps the store's data until its audio thread has let go.
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
  auto& raw = store_->raw;
  return lockRegions(raw.data(), static_cast<std::uint32_t>(raw.size()), offset, bytes, flags, region1, bytes1,
                     region2, bytes2);
}

HResult SecondarySoundBuffer::unlock(void* region1, std::uint32_t, void*, std::uint32_t) {
  auto& raw = store_->raw;
  if (const HResult rule = checkUnlock(raw.data(), static_cast<std::uint32_t>(raw.size()), region1); failed(rule))
    return rule;
  // The voices (this one and every duplicate) play the new data from here on.
  auto next = decodeSample(raw.data(), static_cast<std::uint32_t>(raw.size()), store_->layout);
  if (!next) return DSERR_OUTOFMEMORY;
  mixer_->replaceSample(store_.get(), std::move(next));
  return kOk;
}

HResult SecondarySoundBuffer::play(std::uint32_t, std::uint32_t, std::uint32_t flags) {
  if (const HResult rule = checkPlayFlags(flags); failed(rule)) return rule;
  mixer_->play(voice_);
  return kOk;
}

std::uint64_t scheduledStartFrame(std::uint64_t frameNow, double delayMs) {
  const double frame = static_cast<double>(frameNow) + delayMs * Mixer::kOutputRate / 1000.0;
  return frame > 1.0 ? static_cast<std::uint64_t>(frame + 0.5) : 1u;
}

HResult SecondarySoundBuffer::playAfter(double delayMs) {
  mixer_->play(voice_, scheduledStartFrame(mixer_->frameNow(), delayMs));
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
  if (const HResult rule = checkVolume(flags_, volume); failed(rule)) return rule;
  volume_ = volume;
  applyGains();
  return kOk;
}

HResult SecondarySoundBuffer::setPan(std::int32_t pan) {
  if (const HResult rule = checkPan(flags_, pan); failed(rule)) return rule;
  pan_ = pan;
  applyGains();
  return kOk;
}

HResult SecondarySoundBuffer::setFrequency(std::uint32_t frequency) {
  if (const HResult rule = checkFrequency(flags_, frequency); failed(rule)) return rule;
  frequency_ = frequency;
  mixer_->setFrequency(voice_, frequency);
  return kOk;
}

HResult SecondarySoundBuffer::queryListener(std::shared_ptr<SoundListener3D>*) { return E_NOINTERFACE; }

}  // namespace platform::sound
