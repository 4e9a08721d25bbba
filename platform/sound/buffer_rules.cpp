#include "platform/sound/buffer_rules.h"

#include <algorithm>

namespace platform::sound {

HResult checkCooperativeLevel(std::uint32_t level) {
  return level < DSSCL_NORMAL || level > DSSCL_EXCLUSIVE ? DSERR_INVALIDPARAM : kOk;
}

HResult checkBufferDesc(const SoundBufferDesc& desc, SampleLayout* layout) {
  if (desc.flags & DSBCAPS_PRIMARYBUFFER) {
    // A primary buffer runs at the device's own format: no size, no format.
    return desc.bufferBytes != 0 || desc.format != nullptr ? DSERR_INVALIDPARAM : kOk;
  }
  if (desc.format == nullptr || desc.bufferBytes == 0 || desc.bufferBytes > DSBSIZE_MAX)
    return DSERR_INVALIDPARAM;
  SampleLayout described;
  if (!describeFormat(desc.format, &described)) return DSERR_BADFORMAT;
  if (desc.bufferBytes % described.bytesPerFrame != 0) return DSERR_INVALIDPARAM;
  if (layout != nullptr) *layout = described;
  return kOk;
}

HResult checkDuplicate(bool sourceKnown, bool sourceIsPrimary, bool destinationGiven) {
  if (!sourceKnown || !destinationGiven) return DSERR_INVALIDPARAM;
  if (sourceIsPrimary) return DSERR_INVALIDCALL;
  return kOk;
}

HResult checkVolume(std::uint32_t bufferFlags, std::int32_t volume) {
  if (!(bufferFlags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  return volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX ? DSERR_INVALIDPARAM : kOk;
}

HResult checkPan(std::uint32_t bufferFlags, std::int32_t pan) {
  if (!(bufferFlags & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
  return pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT ? DSERR_INVALIDPARAM : kOk;
}

HResult checkFrequency(std::uint32_t bufferFlags, std::uint32_t frequency) {
  if (!(bufferFlags & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
  return frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX ? DSERR_INVALIDPARAM : kOk;
}

HResult checkPlayFlags(std::uint32_t flags) { return flags & DSBPLAY_LOOPING ? DSERR_INVALIDPARAM : kOk; }

HResult lockRegions(std::uint8_t* data, std::uint32_t size, std::uint32_t offset, std::uint32_t bytes,
                    std::uint32_t flags, void** region1, std::uint32_t* bytes1, void** region2,
                    std::uint32_t* bytes2) {
  if (region1 == nullptr || bytes1 == nullptr) return DSERR_INVALIDPARAM;
  if (flags & DSBLOCK_ENTIREBUFFER) {
    offset = 0;
    bytes = size;
  }
  if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
  // A lock that runs past the end wraps to the start as a second region.
  const std::uint32_t first = std::min(bytes, size - offset);
  *region1 = data + offset;
  *bytes1 = first;
  if (region2 != nullptr) *region2 = bytes > first ? data : nullptr;
  if (bytes2 != nullptr) *bytes2 = bytes - first;
  return kOk;
}

HResult checkUnlock(const std::uint8_t* data, std::uint32_t size, const void* region1) {
  const auto* p = static_cast<const std::uint8_t*>(region1);
  return p == nullptr || p < data || p >= data + size ? DSERR_INVALIDPARAM : kOk;
}

}  // namespace platform::sound
