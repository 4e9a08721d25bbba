#include "platform/sound/software_sound.h"

#include "platform/sound/software_buffer.h"

namespace platform::sound {

SoftwareSoundDevice::SoftwareSoundDevice(std::shared_ptr<Mixer> mixer) : mixer_(std::move(mixer)) {}

HResult SoftwareSoundDevice::setCooperativeLevel(WindowHandle, std::uint32_t level) {
  if (level < DSSCL_NORMAL || level > DSSCL_EXCLUSIVE) return DSERR_INVALIDPARAM;
  return kOk;
}

HResult SoftwareSoundDevice::createSoundBuffer(const SoundBufferDesc& desc, SoundBufferRef* buffer) {
  if (buffer == nullptr) return DSERR_INVALIDPARAM;
  if (desc.flags & DSBCAPS_PRIMARYBUFFER) {
    if (desc.bufferBytes != 0 || desc.format != nullptr) return DSERR_INVALIDPARAM;
    *buffer = std::make_shared<PrimarySoundBuffer>(desc.flags);
    return kOk;
  }
  if (desc.format == nullptr || desc.bufferBytes == 0 || desc.bufferBytes > DSBSIZE_MAX)
    return DSERR_INVALIDPARAM;
  SampleLayout layout;
  if (!describeFormat(desc.format, &layout)) return DSERR_BADFORMAT;
  if (desc.bufferBytes % layout.bytesPerFrame != 0) return DSERR_INVALIDPARAM;

  auto store = std::make_shared<SampleStore>();
  store->layout = layout;
  store->raw.assign(desc.bufferBytes, layout.encoding == SampleEncoding::kUnsigned8 ? 0x80 : 0);
  store->decoded = decodeSample(store->raw.data(), desc.bufferBytes, layout);
  auto created = std::make_shared<SecondarySoundBuffer>(mixer_, std::move(store), desc.flags, layout.rate);
  if (!created->valid()) return DSERR_ALLOCATED;
  *buffer = std::move(created);
  return kOk;
}

HResult SoftwareSoundDevice::duplicateSoundBuffer(const SoundBufferRef& original, SoundBufferRef* duplicate) {
  auto* source = dynamic_cast<SecondarySoundBuffer*>(original.get());
  if (source == nullptr || duplicate == nullptr) return DSERR_INVALIDPARAM;
  auto copy = source->duplicate();
  if (!copy) return DSERR_ALLOCATED;
  *duplicate = std::move(copy);
  return kOk;
}

HResult SoftwareSoundSystem::directSoundCreate(SoundDeviceRef* device) {
  if (device == nullptr) return DSERR_INVALIDPARAM;
  *device = std::make_shared<SoftwareSoundDevice>(mixer_);
  return kOk;
}

}  // namespace platform::sound
