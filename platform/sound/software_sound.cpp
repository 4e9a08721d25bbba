#include "platform/sound/software_sound.h"

#include <new>

#include "platform/sound/buffer_rules.h"
#include "platform/sound/software_buffer.h"

namespace platform::sound {

SoftwareSoundDevice::SoftwareSoundDevice(std::shared_ptr<Mixer> mixer) : mixer_(std::move(mixer)) {}

HResult SoftwareSoundDevice::setCooperativeLevel(WindowHandle, std::uint32_t level) {
  return checkCooperativeLevel(level);
}

// A sample too large for the memory left is refused with a code, like any
// other buffer the device cannot make.
HResult SoftwareSoundDevice::createSoundBuffer(const SoundBufferDesc& desc, SoundBufferRef* buffer) try {
  if (buffer == nullptr) return DSERR_INVALIDPARAM;
  SampleLayout layout;
  if (const HResult rule = checkBufferDesc(desc, &layout); failed(rule)) return rule;
  if (desc.flags & DSBCAPS_PRIMARYBUFFER) {
    *buffer = std::make_shared<PrimarySoundBuffer>(desc.flags);
    return kOk;
  }
  auto store = std::make_shared<SampleStore>();
  store->layout = layout;
  store->raw.assign(desc.bufferBytes, layout.encoding == SampleEncoding::kUnsigned8 ? 0x80 : 0);
  store->decoded = decodeSample(store->raw.data(), desc.bufferBytes, layout);
  if (!store->decoded) return DSERR_OUTOFMEMORY;
  auto created = std::make_shared<SecondarySoundBuffer>(mixer_, std::move(store), desc.flags, layout.rate);
  if (!created->valid()) return DSERR_ALLOCATED;
  *buffer = std::move(created);
  return kOk;
} catch (const std::bad_alloc&) {
  return DSERR_OUTOFMEMORY;
}

HResult SoftwareSoundDevice::duplicateSoundBuffer(const SoundBufferRef& original, SoundBufferRef* duplicate) try {
  auto* source = dynamic_cast<SecondarySoundBuffer*>(original.get());
  const bool primary = dynamic_cast<PrimarySoundBuffer*>(original.get()) != nullptr;
  if (const HResult rule = checkDuplicate(source != nullptr || primary, primary, duplicate != nullptr); failed(rule))
    return rule;
  auto copy = source->duplicate();
  if (!copy) return DSERR_ALLOCATED;
  *duplicate = std::move(copy);
  return kOk;
} catch (const std::bad_alloc&) {
  return DSERR_OUTOFMEMORY;
}

HResult SoftwareSoundSystem::directSoundCreate(SoundDeviceRef* device) {
  if (device == nullptr) return DSERR_INVALIDPARAM;
  *device = std::make_shared<SoftwareSoundDevice>(mixer_);
  return kOk;
}

}  // namespace platform::sound
